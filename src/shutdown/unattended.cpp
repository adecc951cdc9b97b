#include "shutdown/unattended.h"

#include "context/app.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"

namespace kv {

void ShowSecureShutDown(App& app) { app.LogoffWindow().Open(); }

void RunScheduledScan(App& app) { app.LogoffWindow().preShut0(); }

void ContinueSecureShutDown(App& app) { app.LogoffWindow().PreShut2(); }

void SetShutDownProgress(App& app, int percent) { app.ShutDownProgress().SetProgress(percent); }

}  // namespace kv
