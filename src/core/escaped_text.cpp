#include "core/escaped_text.h"

namespace kv {

namespace {

constexpr std::string_view kOpening = "<U+";

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of a well-formed escape at `at`, and its length.
std::optional<std::pair<char32_t, size_t>> EscapeAt(std::string_view text, size_t at) {
  if (text.substr(at, kOpening.size()) != kOpening) return std::nullopt;
  size_t i = at + kOpening.size();
  char32_t value = 0;
  size_t digits = 0;
  for (; i < text.size() && digits <= 6; ++i, ++digits) {
    const int h = HexValue(text[i]);
    if (h < 0) break;
    value = value * 16 + char32_t(h);
  }
  if (i >= text.size() || text[i] != '>' || digits < 4 || digits > 6) return std::nullopt;
  // Only the one way EscapeWide writes it, so that two texts never widen
  // to the same name.
  if (digits > 4 && text[at + kOpening.size()] == '0') return std::nullopt;
  if (value > 0x10FFFF) return std::nullopt;
  return std::make_pair(value, i + 1 - at);
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += char16_t(0xD800 + (cp >> 10));
    out += char16_t(0xDC00 + (cp & 0x3FF));
  } else {
    out += char16_t(cp);
  }
}

}  // namespace

std::string CodePointEscape(char32_t codePoint) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (char32_t v = codePoint; v != 0 || digits.size() < 4; v >>= 4)
    digits.insert(digits.begin(), kHex[v & 0xF]);
  return std::string(kOpening) + digits + ">";
}

bool HoldsNoEscapeOpening(std::string_view text) { return text.find(kOpening) == std::string_view::npos; }

bool HoldsNoEscapeOpening(std::u16string_view text) {
  return text.find(u"<U+") == std::u16string_view::npos;
}

std::string EscapeWide(std::u16string_view wide, const SpellFn& spell) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size();) {
    char32_t cp = wide[i];
    size_t units = 1;
    if (IsHigh(wide[i]) && i + 1 < wide.size() && IsLow(wide[i + 1])) {
      cp = 0x10000 + ((char32_t(wide[i]) - 0xD800) << 10) + (char32_t(wide[i + 1]) - 0xDC00);
      units = 2;
    }
    i += units;
    if (cp == '<' && wide.substr(i, 2) == u"U+") {
      out += CodePointEscape(cp);
      continue;
    }
    // A lone surrogate is no character any code page spells.
    const bool lone = units == 1 && (IsHigh(char16_t(cp)) || IsLow(char16_t(cp)));
    const std::optional<std::string> spelt = lone ? std::nullopt : spell(cp);
    out += spelt ? *spelt : CodePointEscape(cp);
  }
  return out;
}

std::u16string UnescapeToWide(std::string_view text, const WidenRunFn& widenRun,
                              const SpellFn& spell) {
  std::u16string out;
  out.reserve(text.size());
  size_t runStart = 0;
  for (size_t at = text.find(kOpening); at != std::string_view::npos;
       at = text.find(kOpening, at + 1)) {
    const auto escape = EscapeAt(text, at);
    if (!escape) continue;
    const char32_t cp = escape->first;
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    if (cp != '<' && !surrogate && spell && spell(cp)) continue;
    if (at > runStart) out += widenRun(text.substr(runStart, at - runStart));
    AppendCodePoint(out, escape->first);
    runStart = at + escape->second;
    at = runStart - 1;
  }
  if (runStart < text.size()) out += widenRun(text.substr(runStart));
  return out;
}

std::string_view LastPathPart(std::string_view path, const LeadByteFn& isLeadByte) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
      ++i;
    else if (path[i] == '\\')
      start = i + 1;
  }
  return path.substr(start);
}

}  // namespace kv
