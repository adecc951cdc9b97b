// Control ids of the secure-shut-down window.
#pragma once

namespace kv::logoff_ids {

inline constexpr int kBase = 7500;
inline constexpr int kImage1 = kBase + 1;  // standby
inline constexpr int kImage3 = kBase + 3;  // turn off
inline constexpr int kImage5 = kBase + 5;  // restart
inline constexpr int kLabel1 = kBase + 11;  // Cancel
inline constexpr int kLabel2 = kBase + 12;  // Log Off...
inline constexpr int kLabel3 = kBase + 13;
inline constexpr int kLabel4 = kBase + 14;
inline constexpr int kLabel5 = kBase + 15;
inline constexpr int kLabel6 = kBase + 16;
inline constexpr UINT_PTR kTimer1 = 1;

}  // namespace kv::logoff_ids
