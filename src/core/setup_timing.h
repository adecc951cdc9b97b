// How long the settings wizard took, as its last page tells it: whole
// seconds between the first page and the last, in minutes rounded half to
// even.
#pragma once

namespace kv {

inline constexpr long kSecondsPerDay = 24L * 60 * 60;

// Seconds since midnight of a clock reading.
long SecondsSinceMidnight(int hour, int minute, int second);

// Seconds from `start` to `now`, both since midnight. A run that passes
// midnight counts on into the next day instead of going negative.
long ElapsedSeconds(long start, long now);

// Elapsed seconds in whole minutes; a half minute rounds to the even
// neighbour (90 s gives 2, 150 s gives 2, 30 s gives 0).
long RoundedMinutes(long seconds);

}  // namespace kv
