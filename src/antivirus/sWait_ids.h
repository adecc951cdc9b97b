// Control ids of the window shown while a scanner is waited for.
#pragma once

namespace kv::swait_ids {

inline constexpr int kBase = 7700;
inline constexpr int kLabel1 = kBase + 1;
inline constexpr int kLabel2 = kBase + 2;
inline constexpr int kProgressBar1 = kBase + 3;
inline constexpr int kCommand1 = kBase + 4;  // Stop

}  // namespace kv::swait_ids
