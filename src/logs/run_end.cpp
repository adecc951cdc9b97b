#include "logs/run_end.h"

#include "context/app.h"
#include "logs/event_report.h"
#include "logs/findings_json.h"

namespace kv {

void StartRunReport(App& app, bool manual) {
  RunKind kind = RunKind::Manual;
  if (!manual) {
    const StartMode& mode = app.Start();
    if (mode.Scheduled())
      kind = RunKind::Scheduled;
    else if (mode.InSecureShutDown())
      kind = RunKind::ShutDown;
    else if (mode.Unattended())
      kind = RunKind::Logon;
  }
  app.report.Start(kind, app.host.Now());
}

void FinishRun(App& app) {
  if (!app.report.Open()) return;
  app.report.written = true;
  if (!app.report.HasNews()) return;
  ReportRunEvents(app);
  // The event log is where a lost record would show; the file is kept as
  // well as the disk allows.
  (void)AppendFindingsJson(app);
}

}  // namespace kv
