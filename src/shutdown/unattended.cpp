#include "shutdown/unattended.h"

#include "context/app.h"
#include "shutdown/sProg.h"

namespace kv {

// The secure shut down itself is not part of this release yet: both modes
// end the program once the start-up checks have passed, and a file check run
// for them ends it when the check is done.
void ShowSecureShutDown(App& app) { app.EndProgram(); }
void RunScheduledScan(App& app) { app.EndProgram(); }
void ContinueSecureShutDown(App& app) { app.EndProgram(); }

void SetShutDownProgress(App& app, int percent) { app.ShutDownProgress().SetProgress(percent); }

}  // namespace kv
