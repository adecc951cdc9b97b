// Control ids of the main window, numbered from its own base.
#pragma once

namespace kv::mform1_ids {

inline constexpr int kBase = 1300;
inline constexpr int kRwClick = kBase + 1;       // "Brackwater Online"
inline constexpr int kLblDLUpdates = kBase + 2;  // "Updates Available"
inline constexpr int kCButton6 = kBase + 101;    // Help
inline constexpr int kCButton7 = kBase + 102;    // About
inline constexpr int kCButton9 = kBase + 103;    // Exit

}  // namespace kv::mform1_ids
