// What a logon check that found something says once it ends, where nobody
// is watching its window: the balloon of a notification-area icon, and the
// window's title.
#pragma once
#include <string>

#include "integrity/check_run.h"

namespace kv {

// "Korvanel found 5 changed files"
std::wstring FindingsNoticeTitle(const CheckTally& tally);
// "3 new, 2 changed, 1 missing — click to review"
std::wstring FindingsNoticeText(const CheckTally& tally);
// "Korvanel — 5 changed files"
std::wstring FindingsWindowTitle(const CheckTally& tally);

}  // namespace kv
