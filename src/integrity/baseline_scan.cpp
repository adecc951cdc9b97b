#include "integrity/baseline_scan.h"

#include "context/app.h"
#include "context/seals.h"
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

// Tells why a file that is there cannot be used (a box, or the log of a
// scheduled scan).
void ReportUnreadable(App& app, const std::string& path, FileProbe why) {
  app.Tell(UnreadableFileMessage(path, why), MsgIcon::Error);
}

}  // namespace

std::string UnreadableFileMessage(const std::string& path, FileProbe why) {
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  if (why == FileProbe::InUse)
    return name + " is in use by another program and cannot be read.  Close that program and "
                  "start Korvanel again.";
  return "Korvanel is not allowed to read " + name + ".  Check the permissions of the file and "
         "start Korvanel again.";
}

FileProbe EnsureBaseline(App& app, FirstScanCheck check) {
  const FileProbe found = ProbeFile(app.baselineFile);
  if (found == FileProbe::Readable) {
    app.SetMainCaption("Welcome to Korvanel");
    return found;
  }
  if (Unreadable(found)) {
    ReportUnreadable(app, app.baselineFile, found);
    return found;
  }
  const std::string backup = BackupFileOf(app.baselineFile);
  FileProbe saved = ProbeFile(backup);
  if (Unreadable(saved)) {
    // Neither a restore nor a new build: the backup may be all that is left.
    ReportUnreadable(app, backup, saved);
    return found;
  }
  if (saved == FileProbe::Readable) {
    // A backup changed behind the program's back is no backup.
    const SealGuard guard = GuardDataFile(app, backup);
    if (guard == SealGuard::Refused || app.ended) return found;
    if (guard == SealGuard::Rebuild) saved = FileProbe::Missing;
  }
  if (saved == FileProbe::Readable) {
    // A scheduled scan has nobody to ask: the backup is the best there is.
    if (app.Start().Scheduled() ||
        app.Ask(kRestoreQuestion, MsgButtons::YesNo, "Missing Integrity.dat file") == MsgAnswer::Yes) {
      app.seals.Copy(backup, app.baselineFile);
      return found;
    }
    app.Ask("Korvanel needs to be re-started");
    DeleteFileAt(backup);
    app.host.StartProcess("\"" + app.appDir + app.edition.ownFileName + "\"", kShowMinimized);
    app.EndProgram();
    return found;
  }
  // The first full scan needs someone to agree to it; a scheduled scan ends
  // for want of a baseline instead.
  if (app.Start().Scheduled()) return found;
  if (app.Ask(kFirstRunQuestion, MsgButtons::YesNo) == MsgAnswer::No) {
    app.Ask("You have chosen not to do a full scan at this time.  You need to run the full scan "
            "before using the Integrity Checker.");
    return found;
  }
  StartFullScan(app, check);
  return found;
}

}  // namespace kv
