// Control ids of the custom-folders window, numbered from its own base.
#pragma once

namespace kv::icust_ids {

inline constexpr int kBase = 300;
inline constexpr int kList1 = kBase + 1;   // the folders
inline constexpr int kList2 = kBase + 2;   // auto-load categories
inline constexpr int kList4 = kBase + 4;   // secure shut down categories
inline constexpr int kCheck1 = kBase + 11;  // "Scan this Folder at Startup (AutoLoad)"
inline constexpr int kCheck2 = kBase + 12;  // "Scan this folder at Secure Shut Down"
inline constexpr int kCButton2 = kBase + 20;  // "Add Folder..."
inline constexpr int kCommand2 = kBase + 22;  // "Remove Folder"
inline constexpr int kCommand3 = kBase + 23;  // "Save All Settings and Exit"

}  // namespace kv::icust_ids
