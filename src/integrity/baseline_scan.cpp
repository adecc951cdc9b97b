#include "integrity/baseline_scan.h"

#include "context/app.h"
#include "core/baseline.h"
#include "integrity/full_scan.h"
#include "platform/files.h"

namespace kv {

namespace {

constexpr char kRestoreQuestion[] =
    "Your Integrity.dat file cannot be found! But the backup file was located!\r\n"
    "Would you like to restore the backup?";
constexpr char kFirstRunQuestion[] =
    "This is your first time using Korvanel.  Korvanel is required to do a system file "
    "Integrity scan before proceeding.\r\nIf you are sure there are no viruses on your computer, "
    "it is safe to scan now. Otherwise, please do a full scan at a later time. The full scan "
    "should take no more than five minutes to complete.\r\n\r\nPerform scan now?";

}  // namespace

void EnsureBaseline(App& app) {
  if (FileExists(app.baselineFile)) {
    app.SetMainCaption("Welcome to Korvanel");
    return;
  }
  const std::string backup = BackupFileOf(app.baselineFile);
  if (FileExists(backup)) {
    if (app.Ask(kRestoreQuestion, MsgButtons::YesNo, "Missing Integrity.dat file") ==
        MsgAnswer::Yes) {
      CopyFileTo(backup, app.baselineFile);
      return;
    }
    app.Ask("Korvanel needs to be re-started");
    DeleteFileAt(backup);
    app.host.StartProcess("\"" + app.appDir + app.edition.ownFileName + "\"", kShowMinimized);
    app.EndProgram();
    return;
  }
  if (app.Ask(kFirstRunQuestion, MsgButtons::YesNo) == MsgAnswer::No) {
    app.Ask("You have chosen not to do a full scan at this time.  You need to run the full scan "
            "before using the Integrity Checker.");
    return;
  }
  StartFullScan(app);
}

}  // namespace kv
