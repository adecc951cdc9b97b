// Control ids of the RegWatch page, numbered from the page's own base.
#pragma once

namespace kv::regf_ids {

inline constexpr int kBase = 6000;
inline constexpr int kTreeView1 = kBase + 1;
inline constexpr int kList5 = kBase + 2;
inline constexpr int kText4 = kBase + 3;
inline constexpr int kLabel19 = kBase + 4;
inline constexpr int kList6 = kBase + 5;   // pending reboot files
inline constexpr int kCommand1 = kBase + 11;   // Refresh
inline constexpr int kCommand11 = kBase + 12;  // Scan File for Viruses
inline constexpr int kCommand3 = kBase + 13;   // Delete Key
inline constexpr int kCScnUpd = kBase + 14;    // Scan & Update Warnings
inline constexpr int kCMod = kBase + 15;       // Check for modifications/deletions on reboot
inline constexpr int kHideMicrosoft = kBase + 16;  // Hide entries signed by Microsoft

}  // namespace kv::regf_ids
