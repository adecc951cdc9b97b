// Control ids of the settings wizard, numbered from its own base.
#pragma once

namespace kv::vdct_ids {

inline constexpr int kBase = 5000;
inline constexpr int kVpath = kBase + 1;
inline constexpr int kVarg = kBase + 2;
inline constexpr int kLocate = kBase + 10;
inline constexpr int kHelpme = kBase + 11;
inline constexpr int kCommand1 = kBase + 12;  // "Test It!"
inline constexpr int kCButton1 = kBase + 13;  // "Create Shutdown/Scan shortcut"
inline constexpr int kCommand2 = kBase + 14;  // "Save"
inline constexpr int kDrivers = kBase + 15;   // "Also Watch the Drivers Folder"
inline constexpr int kAload = kBase + 20;
inline constexpr int kCheck1 = kBase + 21;    // Check1 .. Check8 follow in order
inline constexpr int kLabel1 = kBase + 40;    // "Next >>>"
inline constexpr int kLabel2 = kBase + 41;    // "<<< Back"
inline constexpr int kLabel3 = kBase + 42;    // "Cancel"
inline constexpr int kImage13 = kBase + 50;

}  // namespace kv::vdct_ids
