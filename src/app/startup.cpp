#include "app/startup.h"

#include "context/app.h"
#include "app/mForm1.h"
#include "context/scan_document.h"
#include "context/settings.h"
#include "core/findings_notice.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/check_modes.h"
#include "logs/run_end.h"
#include "platform/files.h"
#include "regwatch/snapshot.h"
#include "shutdown/unattended.h"
#include "update/update_check.h"

namespace kv {

StartMode ParseStartMode(const std::string& arguments) {
  if (const auto counts = ParseNoticeArguments(arguments))
    return StartMode(StartKind::Notice, *counts);
  const std::string a = Trim(arguments);
  if (a.empty()) return StartMode(StartKind::ByHand);
  if (a == "/r") return StartMode(StartKind::Logon);
  if (a == "/s") return StartMode(StartKind::SecureShutDown);
  if (a == "/a") return StartMode(StartKind::ScheduledScan);
  return StartMode(StartKind::Unknown);
}

std::string ArgumentText(const std::string& full) {
  size_t i = 0;
  if (!full.empty() && full[0] == '"') {
    size_t close = full.find('"', 1);
    i = close == std::string::npos ? full.size() : close + 1;
  } else {
    while (i < full.size() && full[i] != ' ' && full[i] != '\t') ++i;
  }
  while (i < full.size() && (full[i] == ' ' || full[i] == '\t')) ++i;
  return full.substr(i);
}

namespace {

void EnsureFolder(const std::string& path) {
  auto names = ListDirectory(path);
  if (!names || names->empty()) CreateFolder(path);
}

// Unattended modes need a finished first full scan; without one they say so
// and end. A baseline that is there but cannot be read ends them as well,
// said once: the baseline check has usually told already.
bool RequireBaseline(App& app, const char* message, bool unreadableReported) {
  const FileProbe found = ProbeFile(app.baselineFile);
  if (found == FileProbe::Readable) return true;
  if (found == FileProbe::Missing) {
    app.report.couldNotRun = "The first full scan has not been made yet: there is no " +
                             app.baselineFile.substr(app.baselineFile.find_last_of('\\') + 1) +
                             " to check against.";
    app.Tell(message);
    app.EndProgram(kExitCouldNotRun);
    return false;
  }
  app.report.couldNotRun = UnreadableFileMessage(app.baselineFile, found);
  if (!unreadableReported) app.Tell(app.report.couldNotRun, MsgIcon::Error);
  app.EndProgram(kExitCouldNotRun);
  return false;
}

// An unattended run that met a data file whose seal does not match has
// reported it and ends without using it.
bool EndedForSeal(App& app) {
  if (app.ended) return true;
  if (app.report.changedDataFiles.empty()) return false;
  app.EndProgram(kExitCouldNotRun);
  return true;
}

}  // namespace

bool RunStartup(App& app) {
  // The start mode is known from the first step on: nothing a scheduled
  // scan meets on its way may wait for an answer.
  const StartMode& mode = app.Start();
  // An unattended run is on record from its first step: what stops it on
  // the way is written when it ends.
  if (mode.Unattended()) StartRunReport(app, false);
  EnsureFolder(app.dataRoot);
  EnsureFolder(app.dataRoot + "Data\\");
  EnsureFolder(app.dataRoot + "Data\\Log\\");
  EnsureSettingsFile(app);
  const std::string firstFile = app.baselineFile;
  const FileProbe first = EnsureBaseline(app);
  if (app.ended) return false;
  EnsureRegistrySnapshot(app);
  if (EndedForSeal(app)) return false;
  loadSettings(app);
  if (app.ended) return false;
  if (app.autoCheckUpdates && app.edition.hasUpdateCheck) StartupUpdateCheck(app);
  SelectBaselineFile(app);
  // The same file found unreadable a moment ago is not reported twice.
  bool reported = Unreadable(first) && app.baselineFile == firstFile;
  if (!reported) reported = Unreadable(EnsureBaseline(app));
  if (app.ended) return false;
  if (FileExists(app.baselineFile)) LoadSystemBaseline(app, app.baselineFile);
  if (EndedForSeal(app)) return false;

  switch (mode.Kind()) {
    case StartKind::ByHand:
    case StartKind::Unknown:
    case StartKind::Notice:
      // A first full scan started above keeps the main window hidden until
      // the check window has filled the baseline.
      return !app.scanDocument;
    case StartKind::Logon:
      if (!RequireBaseline(app, "Cannot start Auto-Load.  Primary Full Scan has not yet been "
                                "completed.\r\nClosing",
                           reported))
        return false;
      if (HasForm1(app)) Form1(app).Hide();
      StartAutoLoadCheck(app);
      return false;
    case StartKind::SecureShutDown:
      if (!RequireBaseline(app, "Cannot start Secure Shut Down.  Primary Full Scan has not yet "
                                "been completed.\r\nClosing.",
                           reported))
        return false;
      if (HasForm1(app)) Form1(app).Hide();
      ShowSecureShutDown(app);
      return false;
    case StartKind::ScheduledScan:
      if (!RequireBaseline(app, "Cannot run Scheduled Scan.  Primary Full Scan has not yet been "
                                "completed.\r\nClosing.",
                           reported))
        return false;
      if (HasForm1(app)) Form1(app).Hide();
      RunScheduledScan(app);
      return false;
  }
  return false;
}

}  // namespace kv
