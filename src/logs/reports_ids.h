// Control ids of the reports viewer: the log list of the Options page and
// the report page.
#pragma once

namespace kv::reports_ids {

inline constexpr int kBase = 3000;

// The log list (Options page).
inline constexpr int kTreeView2 = kBase + 1;
inline constexpr int kCReports = kBase + 2;     // Load Logs
inline constexpr int kCViewReport = kBase + 3;  // View Log
inline constexpr int kCButton3 = kBase + 4;     // Delete All Logs

// The report page (repF).
inline constexpr int kList4 = kBase + 101;
inline constexpr int kCDelLog = kBase + 102;  // Delete this Report
inline constexpr int kCScnLog = kBase + 103;  // Scan Files For Viruses
inline constexpr int kCX = kBase + 104;       // close the report

}  // namespace kv::reports_ids
