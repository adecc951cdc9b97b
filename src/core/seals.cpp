#include "core/seals.h"

#include "core/text.h"

namespace kv {

namespace {
constexpr std::string_view kHeader =
    "//Korvanel seals of the data files: written by the program, do not edit";
constexpr std::string_view kSecretKey = "secret=";
constexpr std::string_view kCheckKey = "check=";

bool IsHex(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}
}  // namespace

bool IsSealedDataName(std::string_view fileName) {
  if (fileName.find_first_of("\\/\r\n") != std::string_view::npos) return false;
  if (EqualsNoCase(fileName, "Registry.dat")) return true;
  if (!EndsWithNoCase(fileName, ".dat") && !EndsWithNoCase(fileName, ".bak")) return false;
  const std::string_view stem = fileName.substr(0, fileName.size() - 4);
  const std::string_view head = stem.substr(0, stem.find('-'));
  // "Integrity" or a custom folder's slot, then the algorithm after a "-".
  if (EqualsNoCase(head, "Integrity")) return true;
  return !head.empty() && head.size() <= 4 &&
         head.find_first_not_of("0123456789") == std::string_view::npos;
}

// ---- SealBook ---------------------------------------------------------------

SealBook::Entry* SealBook::Find(std::string_view name) {
  for (Entry& e : entries_)
    if (EqualsNoCase(e.name, name)) return &e;
  return nullptr;
}

const SealBook::Entry* SealBook::Find(std::string_view name) const {
  return const_cast<SealBook*>(this)->Find(name);
}

SealBook::Entry& SealBook::Make(std::string_view name) {
  if (Entry* e = Find(name)) return *e;
  entries_.push_back({std::string(name), {}});
  return entries_.back();
}

SealVerdict SealBook::Judge(std::string_view name, std::string_view seal) const {
  const Entry* e = Find(name);
  if (!e) return SealVerdict::Unsealed;
  for (const std::string& s : e->seals)
    if (SameSeal(s, seal)) return SealVerdict::Matches;
  return SealVerdict::Differs;
}

void SealBook::Begin(std::string_view name, const std::optional<std::string>& current,
                     const std::string& next) {
  Entry& e = Make(name);
  e.seals.clear();
  if (current && !SameSeal(*current, next)) e.seals.push_back(*current);
  e.seals.push_back(next);
}

void SealBook::Commit(std::string_view name, const std::string& seal) { Make(name).seals = {seal}; }

void SealBook::Distrust(std::string_view name) { Make(name).seals.clear(); }

std::optional<std::vector<std::string>> SealBook::SealsOf(std::string_view name) const {
  if (const Entry* e = Find(name)) return e->seals;
  return std::nullopt;
}

std::string SealBook::SignedText() const {
  std::string out(kHeader);
  out += "\r\n";
  out += kSecretKey;
  out += protectedSecret + "\r\n";
  for (const Entry& e : entries_) {
    out += e.name + "=";
    for (size_t i = 0; i < e.seals.size(); ++i) out += (i ? "," : "") + e.seals[i];
    out += "\r\n";
  }
  return out;
}

std::string SealBook::CheckLine(std::string_view check) {
  return std::string(kCheckKey) + std::string(check) + "\r\n";
}

std::optional<ParsedSeals> ParseSeals(std::string_view text) {
  ParsedSeals parsed;
  size_t at = 0;
  bool header = false, secret = false;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    const std::string_view line = text.substr(at, end - at);
    const size_t next = end + 2;
    if (!header) {
      if (line != kHeader) return std::nullopt;
      header = true;
    } else if (!secret) {
      if (line.substr(0, kSecretKey.size()) != kSecretKey) return std::nullopt;
      parsed.book.protectedSecret = std::string(line.substr(kSecretKey.size()));
      if (!IsHex(parsed.book.protectedSecret)) return std::nullopt;
      secret = true;
    } else if (line.substr(0, kCheckKey.size()) == kCheckKey) {
      // The check closes the file: nothing may follow it.
      parsed.check = std::string(line.substr(kCheckKey.size()));
      if (!IsHex(parsed.check) || next != text.size()) return std::nullopt;
      parsed.signedText = std::string(text.substr(0, at));
      return parsed;
    } else {
      const size_t eq = line.rfind('=');
      if (eq == std::string_view::npos || !IsSealedDataName(line.substr(0, eq))) return std::nullopt;
      const std::string_view name = line.substr(0, eq);
      if (parsed.book.SealsOf(name)) return std::nullopt;  // one line per file
      parsed.book.Distrust(name);
      const std::string_view list = line.substr(eq + 1);
      if (!list.empty()) {
        std::optional<std::string> first;
        std::string last;
        const auto seals = Split(list, ',');
        if (seals.size() > 2) return std::nullopt;
        for (const std::string& s : seals)
          if (!IsHex(s)) return std::nullopt;
        if (seals.size() == 2) first = seals[0];
        parsed.book.Begin(name, first, seals.back());
      }
    }
    at = next;
  }
  return std::nullopt;  // no check line
}

std::string HexOf(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::optional<std::string> BytesOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  const auto value = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = value(hex[i]), lo = value(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += char(hi * 16 + lo);
  }
  return out;
}

bool SameSeal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff |= (unsigned char)(a[i] ^ b[i]);
  return diff == 0;
}

}  // namespace kv
