// Dates and times as the user's regional settings write them.
#pragma once
#include <string>

#include "platform/host.h"

namespace kv {

// The date and time as the user's short date and time formats write them.
std::string ShortDateText(const LocalTime& t);
std::string TimeText(const LocalTime& t);

}  // namespace kv
