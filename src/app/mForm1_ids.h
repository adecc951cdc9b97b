// Control ids of the main window and its own pages, numbered from the
// window's base: the navigation first, then one hundred per page.
#pragma once

namespace kv::mform1_ids {

inline constexpr int kBase = 1000;

// Navigation rail: picture pair i (0 Home .. 4 Options), the normal
// picture and its lit twin; the low edition's plain buttons.
constexpr int NavPicture(int i, bool lit) { return kBase + 1 + 2 * i + (lit ? 1 : 0); }
inline constexpr int kImage5 = kBase + 3;   // Integrity Scan
inline constexpr int kImage7 = kBase + 5;   // RegWatch
inline constexpr int kImage9 = kBase + 7;   // AppWatch
inline constexpr int kImage11 = kBase + 9;  // Options

// Home page (mainF).
inline constexpr int kLblegg = kBase + 101;
inline constexpr int kWatchDrivers = kBase + 102;  // "Watch the Drivers Folder"

// About panel (Frame2).
inline constexpr int kLabel37 = kBase + 201;   // the maker's mail link
inline constexpr int kCButton4 = kBase + 202;  // View Help Files
inline constexpr int kCButton5 = kBase + 203;  // Visit Brackwater Online

// The frame's status line and its buttons.
inline constexpr int kRwClick = kBase + 301;       // "Brackwater Online"
inline constexpr int kLblDLUpdates = kBase + 302;  // "Updates Available"
inline constexpr int kCButton6 = kBase + 401;      // Help
inline constexpr int kCButton7 = kBase + 402;      // About
inline constexpr int kCButton9 = kBase + 403;      // Exit

}  // namespace kv::mform1_ids
