#include "settingsui/vDct.h"

#include "context/app.h"

namespace kv {

// Placeholder until the wizard itself lands.
vDct::vDct(App& app) : app_(app) {}
vDct::~vDct() = default;
void vDct::LoadUp() { (void)app_; }
void vDct::SetScannerPath(const std::string&) {}
void vDct::SetScannerArguments(const std::string&) {}
void vDct::norms() {}

vDct& App::Wizard() {
  if (!wizard_) wizard_ = MakeOwned<vDct>(*this);
  return *wizard_;
}

}  // namespace kv
