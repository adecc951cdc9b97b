#include "core/text.h"

#include <cerrno>
#include <cstdlib>

namespace kv {
namespace {
char Up(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char Low(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
}  // namespace

std::string_view TrimView(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string UCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Up(c);
  return r;
}

std::string LCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Low(c);
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Up(a[i]) != Up(b[i])) return false;
  return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::string Right(std::string_view s, size_t n) {
  return std::string(n >= s.size() ? s : s.substr(s.size() - n));
}

size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from) {
  if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
  if (needle.size() > hay.size()) return std::string_view::npos;
  const char first = Up(needle[0]);
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (Up(hay[i]) != first) continue;
    size_t k = 1;
    while (k < needle.size() && Up(hay[i + k]) == Up(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

std::string ReplaceAll(std::string_view s, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(what, pos)) != std::string_view::npos; pos = hit + what.size()) {
    r.append(s.substr(pos, hit - pos));
    r.append(with);
  }
  r.append(s.substr(pos));
  return r;
}

std::string ReplaceAllNoCase(std::string_view s, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (size_t hit; (hit = FindNoCase(s, what, pos)) != std::string_view::npos;
       pos = hit + what.size()) {
    r.append(s.substr(pos, hit - pos));
    r.append(with);
  }
  r.append(s.substr(pos));
  return r;
}

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(sep, pos)) != std::string_view::npos; pos = hit + 1)
    out.emplace_back(s.substr(pos, hit - pos));
  out.emplace_back(s.substr(pos));
  return out;
}

std::string TextBetween(std::string_view text, long start, std::string_view opening,
                        std::string_view closing) {
  if (start < 1 || opening.empty() || closing.empty()) return {};
  size_t open = FindNoCase(text, opening, size_t(start - 1));
  if (open == std::string_view::npos) return {};
  size_t from = open + opening.size();
  size_t close = FindNoCase(text, closing, from);
  if (close == std::string_view::npos) return {};
  return std::string(text.substr(from, close - from));
}

std::string Dec(long long v) { return std::to_string(v); }

long long ParseLong(std::string_view s) {
  std::string t = Trim(s);
  return std::strtoll(t.c_str(), nullptr, 10);
}

std::optional<long long> ParseNumber(std::string_view s) {
  const std::string t = Trim(s);
  const size_t digits = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
  if (t.size() == digits || t.find_first_not_of("0123456789", digits) != std::string::npos)
    return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return v;
}

}  // namespace kv
