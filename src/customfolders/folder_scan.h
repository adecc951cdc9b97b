// The first scan of a custom folder: a skeleton baseline of the folder, then
// a check run that fingerprints every file into it.
#pragma once
#include <string>

namespace kv {
class App;

// Builds the skeleton baseline of `folder` into `baselineFile` and, when a
// person is there, starts the check that fills it (all six categories) from
// the check window's timer. Unattended runs build the skeleton without
// asking and fill it with the check already running. False when the user
// declines or the folder cannot be listed; no baseline file is left then.
bool FirstCustomFolderScan(App& app, std::string folder, const std::string& baselineFile, int slot);

// The question's texts, shown before a first scan and when it is declined.
std::string FirstScanQuestion(const std::string& folder);
inline constexpr const char* kFirstScanDeclined =
    "You have chosen not to scan this Custom Folder.  You need to run the scan before using this "
    "Custom Folder Integrity Checker.";
std::string FolderNotListedMessage(const std::string& folder);
}  // namespace kv
