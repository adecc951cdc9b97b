#include "shutdown/unattended.h"

#include "context/app.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"

namespace kv {

void ShowSecureShutDown(App& app) { LogoffWindow(app).Open(); }

void RunScheduledScan(App& app) { LogoffWindow(app).preShut0(); }

void ContinueSecureShutDown(App& app) { LogoffWindow(app).PreShut2(); }

void SetShutDownProgress(App& app, int percent) { ShutDownProgress(app).SetProgress(percent); }

}  // namespace kv
