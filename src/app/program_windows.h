// How the subsystems reach the main window and the subsystems above them in
// this program; both editions use it. Tests that stand in for one window
// derive from it and override what they record.
#pragma once
#include "context/upper_windows.h"

namespace kv {

class ProgramWindows : public Windows {
 public:
  bool HasMainWindow(const App& app) override;
  void SetMainCaption(App& app, const std::string& text) override;
  void ShowMainWindow(App& app) override;
  void HideMainWindow(App& app) override;
  void SetStatus(App& app, const std::string& text) override;
  void ShowUpdateIndicator(App& app, bool show) override;
  void ContinueSecureShutDown(App& app) override;
  void SetShutDownProgress(App& app, int percent) override;
  void BuildFolderBaseline(App& app, const std::string& folder, const std::string& file,
                           int slot) override;
  void SetWizardScannerPath(App& app, const std::string& path) override;
  void SetWizardScannerArguments(App& app, const std::string& args) override;
  void ScannerFieldsLoaded(App& app) override;
  void LogMessage(App& app, const std::string& text) override;
  void RunEnded(App& app) override;
};

// The one both editions hold.
ProgramWindows& StandardWindows();

}  // namespace kv
