#include "update/update_check.h"

namespace kv {
// Placeholders until the update check lands.
void StartupUpdateCheck(App&) {}
void UpdatesButtonClick(App&) {}
std::string UpdatesButtonCaption(const App&) { return "Check for Updates"; }
}  // namespace kv
