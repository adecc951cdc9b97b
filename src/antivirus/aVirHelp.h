// The anti-virus support list: configures a scanner from the list of known
// products, and hands path and arguments to the setup window and the wizard.
#pragma once
#include <string>

#include "controls/window.h"

namespace kv {

class App;

class aVirHelp : public controls::Window {
 public:
  explicit aVirHelp(App& app);
  ~aVirHelp() override;

  // Shown, not modal. The slot marker "1" sends Save Settings to the second
  // scanner; empty, to the first one and the wizard.
  void Open();
  std::string Tag;
  void norms();

 private:
  App& app_;
};

}  // namespace kv
