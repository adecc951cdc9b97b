#include "integrity/check_modes.h"

#include <windows.h>

#include "context/app.h"
#include "context/scan_document.h"
#include "integrity/baseline_files.h"
#include "integrity/check_run.h"
#include "integrity/intCheck.h"

namespace kv {

void StartAutoLoadCheck(App& app) {
  intCheck& window = CheckWindow(app);
  window.Show();
  window.lUp();
  if (!app.ended) window.Minimize();
}

void EndCheckRun(App& app, intCheck& window, const CheckTally& tally) {
  RunState& run = app.run;
  const bool baselineRun = run.baselineScanActive;
  if (baselineRun) {
    run.baselineScanActive = false;
    FinishScanDocument(app);
    LoadSystemBaseline(app, app.baselineFile);
    window.Hide();
    app.windows.ShowMainWindow(app);
  }
  if (!run.noAutoScanFailing && (run.InSecureShutDown() || app.autoScanFailed)) {
    window.ScanFailing(baselineRun);
    if (app.ended) return;
  }
  const bool clean = !tally.stopped && tally.Clean();
  if (clean) {
    window.ShowClean();
    if (!run.InSecureShutDown() && run.autoLoadRun) {
      app.EndProgram();
      return;
    }
  }
  if (run.customFolderFirstScan) {
    window.ScanFailing(false);
    if (app.ended) return;
  }
  window.ShowResults(clean, tally.stopped);
  // Findings left in a window nobody looks at (the minimised one of a logon
  // check) ask for attention; the window stays as it is.
  if (!clean && !tally.stopped && !run.InSecureShutDown() && IsIconic(window.hwnd())) {
    app.host.RequestAttention(window.hwnd());
    if (run.autoLoadRun) window.NotifyFindings(tally);
  }
  if (run.InSecureShutDown()) app.windows.ContinueSecureShutDown(app);
}

}  // namespace kv
