#include "antivirus/aVirHelp.h"

#include "context/app.h"

namespace kv {

// Placeholder until the window itself lands.
aVirHelp::aVirHelp(App& app) : app_(app) {}
aVirHelp::~aVirHelp() = default;
void aVirHelp::Open() { (void)app_; }
void aVirHelp::norms() {}

aVirHelp& App::SupportList() {
  if (!supportList_) supportList_ = MakeOwned<aVirHelp>(*this);
  return *supportList_;
}

}  // namespace kv
