// What a check that ran unwatched says once it ends with findings: the
// balloon of a notification-area icon and the title of its window. The
// scheduled scan hands the counts to a notice of its own ("/n" and five
// numbers), which outlives the scan.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct FindingCounts {
  long newFiles = 0, changed = 0, unreadable = 0, missing = 0, registry = 0;
  long Files() const { return newFiles + changed + unreadable + missing; }
  bool Any() const { return Files() + registry > 0; }
};

// "Korvanel found 5 changed files" (or "... 2 changed registry entries"
// when no file is among the findings)
std::wstring FindingsNoticeTitle(const FindingCounts& counts);
// "3 new, 2 changed, 1 missing — click to review"
std::wstring FindingsNoticeText(const FindingCounts& counts);
// "Korvanel — 5 changed files"
std::wstring FindingsWindowTitle(const FindingCounts& counts);

// "/n 3 2 0 0 1": the arguments of the notice for these counts, and back.
// Anything but "/n" and five whole numbers is no notice.
std::string NoticeArguments(const FindingCounts& counts);
std::optional<FindingCounts> ParseNoticeArguments(std::string_view arguments);

}  // namespace kv
