#include "customfolders/folder_scan.h"

#include "context/app.h"
#include "core/baseline.h"
#include "integrity/baseline_files.h"
#include "integrity/check_request.h"
#include "integrity/intCheck.h"
#include "platform/files.h"

namespace kv {

std::string FirstScanQuestion(const std::string& folder) {
  return "This Custom Folder " + folder +
         " has not been fully scanned yet. The scan is required by the Integrity Checker.\r\n\r\n"
         "Perform scan now?";
}

std::string FolderNotListedMessage(const std::string& folder) {
  return "The folder " + folder +
         " could not be read, so it was not scanned.  Make sure it is there (a removable drive "
         "must be inserted) and try again.";
}

bool FirstCustomFolderScan(App& app, std::string folder, const std::string& baselineFile, int slot) {
  // Nobody may be there to answer in a logon check or a secure shut down.
  const bool unattended = app.Start().Unattended();
  if (!unattended &&
      app.Ask(FirstScanQuestion(folder), MsgButtons::YesNo) != MsgAnswer::Yes) {
    if (!app.ended) app.Ask(kFirstScanDeclined);
    return false;
  }
  if (app.ended) return false;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';

  // The skeleton is written only once the whole listing is in, so a folder
  // that cannot be read (a drive not ready) leaves no baseline that would
  // later pass for a scanned, empty folder.
  auto names = ListNames(folder);
  if (!names) {
    if (!unattended) app.Ask(FolderNotListedMessage(folder));
    return false;
  }
  // The names are in memory: the skeleton takes a moment even for a large
  // folder, and nothing can change under it meanwhile.
  BaselineSkeleton skeleton;
  for (const std::string_view name : *names) skeleton.Add(name);
  if (!app.seals.Replace(baselineFile, skeleton.Text())) return false;
  // The run in progress loads this file and finds every file new.
  if (unattended) return true;

  intCheck& window = CheckWindow(app);
  window.StopForManualRun(false);
  if (app.ended) return false;
  LoadFolderBaseline(app, baselineFile);
  const CategorySet all{true, true, true, true, true, true};
  window.lUp(UserCheck(CheckReason::FirstFolderScan, {folder, slot, all}));
  return true;
}

}  // namespace kv
