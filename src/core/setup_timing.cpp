#include "core/setup_timing.h"

namespace kv {

long SecondsSinceMidnight(int hour, int minute, int second) {
  return long(hour) * 3600 + long(minute) * 60 + second;
}

long ElapsedSeconds(long start, long now) {
  const long elapsed = now - start;
  return elapsed < 0 ? elapsed + kSecondsPerDay : elapsed;
}

long RoundedMinutes(long seconds) {
  // Whole arithmetic: doubles would make the halves a matter of luck.
  long minutes = seconds / 60;
  const long rest = seconds % 60;
  if (rest > 30 || (rest == 30 && minutes % 2 != 0)) ++minutes;
  return minutes;
}

}  // namespace kv
