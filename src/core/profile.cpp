#include "core/profile.h"

#include <optional>

#include "core/text.h"

namespace kv {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool IsBlank(std::string_view s) { return TrimBlanks(s).empty(); }

struct LineSpan {
  size_t start = 0, bodyEnd = 0, end = 0;  // end is past the line end
};

// The line starting at `pos` (pos < text.size()).
LineSpan LineAt(std::string_view text, size_t pos) {
  LineSpan l;
  l.start = pos;
  const auto brk = text.find_first_of("\r\n", pos);
  if (brk == std::string_view::npos) {
    l.bodyEnd = l.end = text.size();
  } else {
    l.bodyEnd = brk;
    l.end = brk + 1;
    if (text[brk] == '\r' && l.end < text.size() && text[l.end] == '\n') ++l.end;
  }
  return l;
}

// "[name]" with blanks allowed around it and inside the brackets. The last
// "]" closes the name, because folder paths used as section names may hold
// brackets themselves. "[name" without "]" is an ordinary line.
std::optional<std::string_view> SectionNameOf(std::string_view body) {
  const auto t = TrimBlanks(body);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(1, close - 1));
}

std::optional<std::string_view> KeyOf(std::string_view body) {
  const auto eq = body.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return TrimBlanks(body.substr(0, eq));
}

std::string ValueOf(std::string_view body) {
  const auto v = TrimBlanks(body.substr(body.find('=') + 1));
  return std::string(v.substr(0, kProfileValueMax));
}

std::string_view StorableValue(std::string_view value) {
  return value.substr(0, value.find_first_of("\r\n"));
}

// A key line keeps everything up to its "=" (the key as the file spells it);
// only the value changes.
std::string WithValue(std::string_view body, std::string_view value) {
  std::string out(body.substr(0, body.find('=') + 1));
  out += value;
  return out;
}

std::string EntryLine(std::string_view key, std::string_view value) {
  std::string out(TrimBlanks(key));
  out += '=';
  out += value;
  out += CRLF;
  return out;
}

std::string SectionLine(std::string_view section) {
  std::string out = "[";
  out += TrimBlanks(section);
  out += ']';
  out += CRLF;
  return out;
}

std::string Fold(std::string_view s) { return LCase(TrimBlanks(s)); }

}  // namespace

std::string ProfileGet(std::string_view text, std::string_view section, std::string_view key) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  bool inSection = false;
  for (size_t pos = 0; pos < text.size();) {
    const auto l = LineAt(text, pos);
    pos = l.end;
    const auto body = text.substr(l.start, l.bodyEnd - l.start);
    if (const auto name = SectionNameOf(body)) {
      if (inSection) return {};  // only the first matching section counts
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    const auto k = KeyOf(body);
    if (k && EqualsNoCase(*k, key)) return ValueOf(body);
  }
  return {};
}

bool ProfileNamesUsable(std::string_view section, std::string_view key) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  // A key line that starts with "[" would read back as a section line.
  return !section.empty() && !key.empty() && section.find_first_of("\r\n") == std::string_view::npos &&
         key.find_first_of("\r\n=") == std::string_view::npos && key.front() != '[';
}

bool ProfileHasSection(std::string_view text, std::string_view section) {
  for (size_t pos = 0; pos < text.size();) {
    const auto l = LineAt(text, pos);
    pos = l.end;
    const auto name = SectionNameOf(text.substr(l.start, l.bodyEnd - l.start));
    if (name && EqualsNoCase(*name, TrimBlanks(section))) return true;
  }
  return false;
}

std::string ProfileSet(std::string_view text, bool fileExists, std::string_view section,
                       std::string_view key, std::string_view value) {
  if (!ProfileNamesUsable(section, key)) return std::string(text);
  value = StorableValue(value);
  if (!fileExists) return SectionLine(section) + EntryLine(key, value);

  bool inSection = false, found = false;
  LineSpan lastNonBlank;
  for (size_t pos = 0; pos < text.size();) {
    const auto l = LineAt(text, pos);
    pos = l.end;
    const auto body = text.substr(l.start, l.bodyEnd - l.start);
    if (const auto name = SectionNameOf(body)) {
      if (inSection) break;
      if (!found && EqualsNoCase(*name, TrimBlanks(section))) {
        inSection = found = true;
        lastNonBlank = l;
      }
      continue;
    }
    if (!inSection) continue;
    const auto k = KeyOf(body);
    if (k && EqualsNoCase(*k, TrimBlanks(key))) {
      std::string out(text.substr(0, l.start));
      out += WithValue(body, value);
      out += text.substr(l.bodyEnd);
      return out;
    }
    if (!IsBlank(body)) lastNonBlank = l;
  }

  std::string out;
  if (found) {
    // The new entry goes below the section's last non-empty line, ahead of
    // the empty lines that separate it from the next section.
    out = text.substr(0, lastNonBlank.end);
    if (lastNonBlank.end == lastNonBlank.bodyEnd) out += CRLF;
    out += EntryLine(key, value);
    out += text.substr(lastNonBlank.end);
    return out;
  }
  out = text;
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += CRLF;
  out += SectionLine(section);
  out += EntryLine(key, value);
  return out;
}

// ---------------------------------------------------------------------------

namespace {

std::string_view EndText(uint8_t end) {
  static constexpr std::string_view kEnds[] = {"", "\r\n", "\n", "\r"};
  return kEnds[end];
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text, bool fileExists, bool exactKeys)
    : exists_(fileExists), exactKeys_(exactKeys) {
  Load(fileExists ? text : std::string_view{});
}

void ProfileDocument::Load(std::string_view text) {
  text_.assign(text);
  blocks_.assign(1, Block{});
  sections_.clear();
  for (size_t pos = 0; pos < text.size();) {
    const auto l = LineAt(text, pos);
    pos = l.end;
    const size_t endSize = l.end - l.bodyEnd;
    const End end = endSize == 2 ? End::CrLf : endSize == 0 ? End::None : text[l.bodyEnd] == '\n' ? End::Lf : End::Cr;
    const Line line{l.start, uint32_t(l.bodyEnd - l.start), end};
    if (const auto name = SectionNameOf(Body(line))) {
      sections_.emplace(LCase(*name), blocks_.size());
      blocks_.emplace_back();
    }
    blocks_.back().lines.push_back(line);
    IndexLine(blocks_.size() - 1, blocks_.back().lines.size() - 1);
  }
}

ProfileDocument::Line ProfileDocument::Append(std::string_view body, End end) {
  const Line line{text_.size(), uint32_t(body.size()), end};
  text_.append(body);
  return line;
}

std::string_view ProfileDocument::KeyPart(std::string_view key) const {
  return exactKeys_ ? key : TrimBlanks(key);
}

std::string_view ProfileDocument::LineKey(const Block& b, size_t line) const {
  const std::string_view body = Body(b.lines[line]);
  return KeyPart(body.substr(0, body.find('=')));
}

size_t ProfileDocument::FindKey(const Block& b, std::string_view key) const {
  const size_t line = b.keys.Find(KeyPart(key), [&](size_t l) { return LineKey(b, l); });
  return line == KeyIndex::npos ? std::string::npos : line;
}

void ProfileDocument::IndexLine(size_t block, size_t line) {
  auto& b = blocks_[block];
  const std::string_view body = Body(b.lines[line]);
  if (IsBlank(body)) return;
  b.lastNonBlank = line;
  if (line == 0 && block != 0) return;  // the section line itself
  if (body.find('=') != std::string_view::npos) b.keys.Insert(line, [&](size_t l) { return LineKey(b, l); });
}

// The entry line without its line end.
std::string ProfileDocument::Entry(std::string_view key, std::string_view value) const {
  std::string entry = exactKeys_ ? std::string(key) + "=" + std::string(value) + std::string(CRLF)
                                 : EntryLine(key, value);
  entry.resize(entry.size() - CRLF.size());
  return entry;
}

ProfileDocument::Line* ProfileDocument::LastLine() {
  for (auto b = blocks_.rbegin(); b != blocks_.rend(); ++b)
    if (!b->lines.empty()) return &b->lines.back();
  return nullptr;
}

std::string ProfileDocument::Get(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(Fold(section));
  if (s == sections_.end()) return {};
  const auto& b = blocks_[s->second];
  const size_t line = FindKey(b, key);
  if (line == std::string::npos) return {};
  return ValueOf(Body(b.lines[line]));
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ProfileNamesUsable(section, key)) return false;
  value = StorableValue(value);
  if (!exists_) {
    Load({});
    exists_ = true;
  }

  const auto s = sections_.find(Fold(section));
  if (s == sections_.end()) {
    if (Line* last = LastLine(); last && last->end == End::None) last->end = End::CrLf;
    std::string header = SectionLine(section);
    header.resize(header.size() - CRLF.size());
    const Line headerLine = Append(header, End::CrLf), entryLine = Append(Entry(key, value), End::CrLf);
    sections_.emplace(Fold(section), blocks_.size());
    blocks_.emplace_back();
    blocks_.back().lines = {headerLine, entryLine};
    IndexLine(blocks_.size() - 1, 0);
    IndexLine(blocks_.size() - 1, 1);
    return true;
  }

  auto& b = blocks_[s->second];
  if (const size_t k = FindKey(b, key); k != std::string::npos) {
    const std::string body = WithValue(Body(b.lines[k]), value);
    const End end = b.lines[k].end;
    b.lines[k] = Append(body, end);
    return true;
  }
  // Only empty lines follow lastNonBlank inside the block, so shifting them
  // leaves every indexed key line where it was.
  auto& anchor = b.lines[b.lastNonBlank];
  if (anchor.end == End::None) anchor.end = End::CrLf;
  const size_t at = b.lastNonBlank + 1;
  const Line entry = Append(Entry(key, value), End::CrLf);
  b.lines.insert(b.lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
  IndexLine(s->second, at);
  return true;
}

std::string ProfileDocument::Text() const {
  size_t size = 0;
  for (const auto& b : blocks_)
    for (const auto& l : b.lines) size += l.size + EndText(uint8_t(l.end)).size();
  std::string text;
  text.reserve(size);
  for (const auto& b : blocks_)
    for (const auto& l : b.lines) text.append(Body(l)).append(EndText(uint8_t(l.end)));
  return text;
}

}  // namespace kv
