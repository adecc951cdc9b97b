// Control ids of the Integrity Checker page, numbered from its own base.
#pragma once

namespace kv::intf_ids {

inline constexpr int kBase = 400;
inline constexpr int kCombo1 = kBase + 1;    // the folder to check
inline constexpr int kAddRem = kBase + 2;    // "Add/Remove Custom Folders..."
inline constexpr int kCategory = kBase + 10;  // bDLL .. bEXE2: kCategory + mark number
inline constexpr int kBFull = kBase + 20;
inline constexpr int kBClear = kBase + 21;
inline constexpr int kBScan = kBase + 22;

}  // namespace kv::intf_ids
