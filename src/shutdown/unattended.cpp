#include "shutdown/unattended.h"

#include "app/app.h"

namespace kv {
// The secure shut down is not part of this release yet: both modes end the
// program once the start-up checks have passed.
void ShowSecureShutDown(App& app) { app.EndProgram(); }
void RunScheduledScan(App& app) { app.EndProgram(); }
}  // namespace kv

namespace kv {
void ContinueSecureShutDown(App& app) { app.EndProgram(); }
void SetShutDownProgress(App&, int) {}
}  // namespace kv
