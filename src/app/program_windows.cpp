#include "app/program_windows.h"

#include "app/mForm1.h"
#include "context/app.h"
#include "customfolders/folder_scan.h"
#include "logs/WriteLog.h"
#include "logs/run_end.h"
#include "antivirus/s_avir.h"
#include "settingsui/settings_pages.h"
#include "settingsui/vDct.h"
#include "update/update_check.h"
#include "shutdown/unattended.h"

namespace kv {

bool ProgramWindows::HasMainWindow(const App& app) { return HasForm1(app); }

void ProgramWindows::SetMainCaption(App& app, const std::string& text) {
  Form1(app).SetCaption(text);
}

void ProgramWindows::ShowMainWindow(App& app) { Form1(app).Show(); }

void ProgramWindows::HideMainWindow(App& app) { Form1(app).Hide(); }

// A main window not made yet takes both from the update check.
void ProgramWindows::SetStatus(App& app, const std::string& text) {
  if (HasForm1(app)) Form1(app).SetStatus(text);
}

void ProgramWindows::ShowUpdateIndicator(App& app, bool show) {
  if (!HasForm1(app)) return;
  mForm1& f = Form1(app);
  f.ShowUpdateIndicator(show);
  // A page not made yet takes the caption when it is made.
  if (auto* o = dynamic_cast<OptionsPage*>(f.setFq.MadeContent()))
    o->cUpdates.Caption(UpdatesButtonCaption(app));
}

// Named in full: unqualified, these names would call the members themselves.
void ProgramWindows::ContinueSecureShutDown(App& app) { kv::ContinueSecureShutDown(app); }

void ProgramWindows::SetShutDownProgress(App& app, int percent) {
  kv::SetShutDownProgress(app, percent);
}

void ProgramWindows::BuildFolderBaseline(App& app, const std::string& folder,
                                         const std::string& file, int slot) {
  FirstCustomFolderScan(app, folder, file, slot);
}

void ProgramWindows::SetWizardScannerPath(App& app, const std::string& path) {
  Wizard(app).SetScannerPath(path);
}

void ProgramWindows::SetWizardScannerArguments(App& app, const std::string& args) {
  Wizard(app).SetScannerArguments(args);
}

void ProgramWindows::ScannerFieldsLoaded(App& app) {
  if (HasAntivirusSetup(app)) AntivirusSetup(app).ShowFields();
}

void ProgramWindows::LogMessage(App& app, const std::string& text) { WriteMessageLog(app, text); }

void ProgramWindows::RunEnded(App& app) { FinishRun(app); }

ProgramWindows& StandardWindows() {
  static ProgramWindows windows;
  return windows;
}

}  // namespace kv
