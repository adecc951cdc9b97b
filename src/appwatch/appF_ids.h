// Control ids of the AppWatch page.
#pragma once

namespace kv::appwatch_ids {

inline constexpr int kBase = 4000;
inline constexpr int kLstOpenWindows = kBase + 1;
inline constexpr int kTxtTitle = kBase + 2;
inline constexpr int kAct = kBase + 3;  // Activate Window
inline constexpr int kCl = kBase + 4;   // Close Window
inline constexpr int kRef = kBase + 5;  // Refresh

}  // namespace kv::appwatch_ids
