#include "update/update_check.h"

namespace kv {
void StartupUpdateCheck(App&) {}
}  // namespace kv
