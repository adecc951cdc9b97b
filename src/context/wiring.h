// What the subsystems need of the windows and subsystems above them, as
// narrow interfaces. The program's top layer fills them in (app/wiring.cpp);
// a subsystem never includes the main window or a subsystem above it.
#pragma once
#include <string>

namespace kv {

class App;

// The main window as the check and the first full scan use it: its caption
// is their progress line, and they hide and show it around a run.
class MainWindowPort {
 public:
  virtual void SetCaption(const std::string& text) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;

 protected:
  ~MainWindowPort() = default;
};

// The wizard's first-scanner fields, which the anti-virus windows fill in;
// the wizard is made hidden when it does not exist yet.
class WizardFieldsPort {
 public:
  virtual void SetScannerPath(const std::string& path) = 0;       // vpath
  virtual void SetScannerArguments(const std::string& args) = 0;  // varg

 protected:
  ~WizardFieldsPort() = default;
};

struct Wiring {
  // The main window, created on first use.
  MainWindowPort& (*mainWindow)(App& app) = nullptr;
  // The secure shut down after the file check, and its progress bar.
  void (*continueSecureShutDown)(App& app) = nullptr;
  void (*setShutDownProgress)(App& app, int percent) = nullptr;
  // The first scan of a custom folder whose baseline is missing.
  void (*buildFolderBaseline)(App& app, const std::string& folder, const std::string& file,
                              int slot) = nullptr;
  // The settings wizard's scanner fields.
  WizardFieldsPort& (*wizardFields)(App& app) = nullptr;
  // The settings load has put the stored scanners into App::scanners: an
  // existing anti-virus setup window shows them.
  void (*scannerFieldsLoaded)(App& app) = nullptr;
  // The main window's status line, which the update check writes.
  void (*setStatus)(App& app, const std::string& text) = nullptr;
  // The update check found (or no longer finds) a newer release: the main
  // window shows or hides "Updates Available", and the Options page's
  // update button takes its caption (UpdatesButtonCaption) again.
  void (*showUpdateIndicator)(App& app, bool show) = nullptr;
  // A message written to a dated log, where nobody is there to see a box.
  void (*logMessage)(App& app, const std::string& text) = nullptr;
  // A run is over: its event and its findings are written (once).
  void (*runEnded)(App& app) = nullptr;
};

}  // namespace kv
