// What the subsystems need of the windows and subsystems above them, in one
// interface. The program's top layer implements it (app/program_windows.h);
// a subsystem never includes the main window or a subsystem above it.
#pragma once
#include <string>

namespace kv {

class App;

class Windows {
 public:
  // The main window, made on first use by all but HasMainWindow: the check
  // and the first full scan write their progress into its caption, and hide
  // and show it around a run.
  virtual bool HasMainWindow(const App& app) = 0;
  virtual void SetMainCaption(App& app, const std::string& text) = 0;
  virtual void ShowMainWindow(App& app) = 0;
  virtual void HideMainWindow(App& app) = 0;
  // The main window's status line, which the update check writes; nothing
  // when the window is not made yet.
  virtual void SetStatus(App& app, const std::string& text) = 0;
  // The update check found (or no longer finds) a newer release: the main
  // window shows or hides "Updates Available", and the Options page's
  // update button takes its caption (UpdatesButtonCaption) again.
  virtual void ShowUpdateIndicator(App& app, bool show) = 0;

  // The secure shut down after the file check, and its progress bar.
  virtual void ContinueSecureShutDown(App& app) = 0;
  virtual void SetShutDownProgress(App& app, int percent) = 0;
  // The first scan of a custom folder whose baseline is missing.
  virtual void BuildFolderBaseline(App& app, const std::string& folder, const std::string& file,
                                   int slot) = 0;

  // The settings wizard's first-scanner fields, which the anti-virus windows
  // fill in; the wizard is made hidden when it does not exist yet.
  virtual void SetWizardScannerPath(App& app, const std::string& path) = 0;       // vpath
  virtual void SetWizardScannerArguments(App& app, const std::string& args) = 0;  // varg
  // The settings load has put the stored scanners into App::scanners: an
  // existing anti-virus setup window shows them.
  virtual void ScannerFieldsLoaded(App& app) = 0;

  // A message written to a dated log, where nobody is there to see a box.
  virtual void LogMessage(App& app, const std::string& text) = 0;
  // A run is over: its event and its findings are written (once).
  virtual void RunEnded(App& app) = 0;

 protected:
  ~Windows() = default;
};

}  // namespace kv
