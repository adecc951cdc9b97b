#include "platform/date_text.h"

#include <windows.h>

namespace kv {
namespace {

SYSTEMTIME SystemTimeOf(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = WORD(t.year);
  st.wMonth = WORD(t.month);
  st.wDay = WORD(t.day);
  st.wHour = WORD(t.hour);
  st.wMinute = WORD(t.minute);
  st.wSecond = WORD(t.second);
  // Sakamoto's rule; formats that name the weekday need it right.
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = t.year - (t.month < 3 ? 1 : 0);
  if (t.month >= 1 && t.month <= 12)
    st.wDayOfWeek = WORD((y + y / 4 - y / 100 + y / 400 + offsets[t.month - 1] + t.day) % 7);
  return st;
}

}  // namespace

std::string ShortDateText(const LocalTime& t) {
  const SYSTEMTIME st = SystemTimeOf(t);
  char buf[128] = "";
  const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf) : std::string();
}

std::string TimeText(const LocalTime& t) {
  const SYSTEMTIME st = SystemTimeOf(t);
  char buf[128] = "";
  const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf) : std::string();
}

}  // namespace kv
