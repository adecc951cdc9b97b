#include "integrity/check_modes.h"

#include "app/app.h"

namespace kv {
void StartAutoLoadCheck(App& app) { app.EndProgram(); }
}  // namespace kv
