#include "integrity/full_scan.h"

#include "app/app.h"

namespace kv {
void StartFullScan(App& app) { app.run.baselineScanGuard = true; }
}  // namespace kv
