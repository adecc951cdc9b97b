// The settings wizard: nine pages that walk a new user through the scanner,
// auto-load, the categories, auto-scan, logging and the shut-down shortcut.
#pragma once
#include <string>

#include "context/wiring.h"
#include "controls/window.h"

namespace kv {

class App;

class vDct : public controls::Window, public WizardFieldsPort {
 public:
  explicit vDct(App& app);  // made hidden
  ~vDct() override;

  // Shows and fills the wizard at its first page (after the settings load).
  void LoadUp();
  void SetScannerPath(const std::string& path) override;
  void SetScannerArguments(const std::string& args) override;
  void norms();

 private:
  App& app_;
};

}  // namespace kv
