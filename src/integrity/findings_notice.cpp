#include "integrity/findings_notice.h"

namespace kv {

namespace {

std::wstring Files(long n) {
  return std::to_wstring(n) + (n == 1 ? L" changed file" : L" changed files");
}

long Findings(const CheckTally& tally) {
  return tally.newFiles + tally.changed + tally.unreadable + tally.missing;
}

}  // namespace

std::wstring FindingsNoticeTitle(const CheckTally& tally) { return L"Korvanel found " + Files(Findings(tally)); }

std::wstring FindingsNoticeText(const CheckTally& tally) {
  std::wstring counts;
  const auto add = [&counts](long n, const wchar_t* kind) {
    if (n == 0) return;
    if (!counts.empty()) counts += L", ";
    counts += std::to_wstring(n) + L" " + kind;
  };
  add(tally.newFiles, L"new");
  add(tally.changed, L"changed");
  add(tally.unreadable, L"unreadable");
  add(tally.missing, L"missing");
  return counts + L" \u2014 click to review";
}

std::wstring FindingsWindowTitle(const CheckTally& tally) { return L"Korvanel \u2014 " + Files(Findings(tally)); }

}  // namespace kv
