#pragma once

namespace kv::settings_ids {
inline constexpr int kBase = 3400;
// Options page
inline constexpr int kCSettings = kBase + 1, kCButton2 = kBase + 2, kCSetW = kBase + 3,
                     kCCreateSS = kBase + 4, kCDetect = kBase + 5, kCUpdates = kBase + 6,
                     kCAbout = kBase + 7, kChkAutoCheckUpdates = kBase + 8;
// main settings page
inline constexpr int kCheck1 = kBase + 20;  // Check1 .. Check9 follow in number order
inline constexpr int kCheck12 = kBase + 32;  // Check12 .. Check17 follow in number order
inline constexpr int kCButton10 = kBase + 40, kCSave = kBase + 41, kCCancelSett = kBase + 42;
// advanced settings page
inline constexpr int kOption1 = kBase + 50;  // Option1 .. Option15 follow in number order
inline constexpr int kCheck10 = kBase + 70, kCheck11 = kBase + 71, kAvfocus = kBase + 72,
                     kWsh = kBase + 73, kChlp = kBase + 74, kCSpeeds = kBase + 75,
                     kCSave2 = kBase + 76, kAdvCButton1 = kBase + 77, kList1 = kBase + 78;
}  // namespace kv::settings_ids
