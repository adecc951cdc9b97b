#include "core/findings_notice.h"

#include <array>
#include <cstdlib>
#include <sstream>

namespace kv {

namespace {

std::wstring Counted(long n, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

std::wstring Found(const FindingCounts& counts) {
  return counts.Files() > 0 || counts.registry == 0
             ? Counted(counts.Files(), L"changed file", L"changed files")
             : Counted(counts.registry, L"changed registry entry", L"changed registry entries");
}

}  // namespace

std::wstring FindingsNoticeTitle(const FindingCounts& counts) { return L"Korvanel found " + Found(counts); }

std::wstring FindingsNoticeText(const FindingCounts& counts) {
  std::wstring text;
  const auto add = [&text](long n, const std::wstring& kind) {
    if (n == 0) return;
    if (!text.empty()) text += L", ";
    text += std::to_wstring(n) + L" " + kind;
  };
  add(counts.newFiles, L"new");
  add(counts.changed, L"changed");
  add(counts.unreadable, L"unreadable");
  add(counts.missing, L"missing");
  add(counts.registry, counts.registry == 1 ? L"registry entry" : L"registry entries");
  return text + L" \u2014 click to review";
}

std::wstring FindingsWindowTitle(const FindingCounts& counts) { return L"Korvanel \u2014 " + Found(counts); }

std::string NoticeArguments(const FindingCounts& c) {
  std::ostringstream out;
  out << "/n " << c.newFiles << ' ' << c.changed << ' ' << c.unreadable << ' ' << c.missing << ' '
      << c.registry;
  return out.str();
}

std::optional<FindingCounts> ParseNoticeArguments(std::string_view arguments) {
  std::istringstream in{std::string(arguments)};
  std::string word;
  if (!(in >> word) || word != "/n") return std::nullopt;
  std::array<long, 5> n{};
  for (long& value : n) {
    if (!(in >> word) || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    value = std::strtol(word.c_str(), nullptr, 10);
  }
  if (in >> word) return std::nullopt;
  return FindingCounts{n[0], n[1], n[2], n[3], n[4]};
}

}  // namespace kv
