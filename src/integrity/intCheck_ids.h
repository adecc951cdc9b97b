// Control and timer ids of the check run window, numbered from its own base
// with the number of the control they belong to.
#pragma once
#include <windows.h>

namespace kv::intcheck_ids {

inline constexpr int kBase = 100;
inline constexpr int kList1 = kBase + 1;     // the findings
inline constexpr int kLabel2 = kBase + 2;    // "Repair and Update Failed Files..."
inline constexpr int kImage9 = kBase + 9;    // Pause
inline constexpr int kImage11 = kBase + 10;  // Close / Cancel
inline constexpr int kLabel11 = kBase + 11;  // "Resume"
inline constexpr int kLabel12 = kBase + 12;  // "Scan Failing Files..."
inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimerPublisher = 2;  // the findings' publishers, one a tick

}  // namespace kv::intcheck_ids
