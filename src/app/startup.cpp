#include "app/startup.h"

#include "context/app.h"
#include "app/mForm1.h"
#include "context/settings.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/check_modes.h"
#include "platform/files.h"
#include "regwatch/snapshot.h"
#include "shutdown/unattended.h"
#include "update/update_check.h"

namespace kv {

RunMode ParseRunMode(const std::string& argument) {
  const std::string a = Trim(argument);
  if (a == "/r") return RunMode::AutoLoad;
  if (a == "/s") return RunMode::SecureShutDown;
  if (a == "/a") return RunMode::ScheduledScan;
  return RunMode::Interactive;
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
// and end.
bool RequireBaseline(App& app, const char* message) {
  if (FileExists(app.baselineFile)) return true;
  app.Ask(message);
  app.EndProgram();
  return false;
}

}  // namespace

bool RunStartup(App& app) {
  app.run.shutDownAction = -1;
  EnsureFolder(app.appDir + "Data\\");
  EnsureFolder(app.appDir + "Data\\Log\\");
  EnsureSettingsFile(app);
  EnsureBaseline(app);
  if (app.ended) return false;
  EnsureRegistrySnapshot(app);
  loadSettings(app);
  if (app.ended) return false;
  if (app.autoCheckUpdates && app.edition.hasUpdateCheck) StartupUpdateCheck(app);
  SelectBaselineFile(app);
  EnsureBaseline(app);
  if (app.ended) return false;
  if (FileExists(app.baselineFile)) LoadSystemBaseline(app, app.baselineFile);

  switch (ParseRunMode(app.commandLine)) {
    case RunMode::Interactive:
      // A first full scan started above keeps the main window hidden until
      // the check window has filled the baseline.
      return !app.run.baselineScanActive;
    case RunMode::AutoLoad:
      if (!RequireBaseline(app, "Cannot start Auto-Load.  Primary Full Scan has not yet been "
                                "completed.\r\nClosing"))
        return false;
      app.run.autoLoadRun = true;
      if (app.HasForm1()) app.Form1().Hide();
      StartAutoLoadCheck(app);
      return false;
    case RunMode::SecureShutDown:
      if (!RequireBaseline(app, "Cannot start Secure Shut Down.  Primary Full Scan has not yet "
                                "been completed.\r\nClosing."))
        return false;
      if (app.HasForm1()) app.Form1().Hide();
      ShowSecureShutDown(app);
      return false;
    case RunMode::ScheduledScan:
      if (!RequireBaseline(app, "Cannot run Scheduled Scan.  Primary Full Scan has not yet been "
                                "completed.\r\nClosing."))
        return false;
      if (app.HasForm1()) app.Form1().Hide();
      app.run.scheduledScan = true;
      RunScheduledScan(app);
      return false;
  }
  return false;
}

}  // namespace kv
