#include "integrity/check_modes.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "context/app.h"
#include "context/scan_document.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/check_request.h"
#include "integrity/check_run.h"
#include "integrity/intCheck.h"
#include "logs/run_end.h"

namespace kv {

void StartAutoLoadCheck(App& app) {
  // The files are read while the window that shows the check is made and
  // shown, and the check is counted.
  StartHeadStart(app, PrepareRequest(app, CheckRequest{CheckReason::Logon}));
  intCheck& window = CheckWindow(app);
  window.Show();
  window.lUp(CheckRequest{CheckReason::Logon});
  if (!app.ended) window.Minimize();
}

namespace {

std::optional<FindingKind> FindingKindOf(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::New: return FindingKind::New;
    case VerdictKind::Changed: return FindingKind::Changed;
    case VerdictKind::Unreadable: return FindingKind::Unreadable;
    case VerdictKind::Missing: return FindingKind::Missing;
    case VerdictKind::Same: break;
  }
  return std::nullopt;
}

// The check's findings go on the run's record as they stand before the
// scanners see them; accepting them later marks them so.
void RecordFindings(App& app, const std::vector<FileVerdict>& findings, const CheckTally& tally) {
  RunReport& report = app.report;
  if (!report.Open()) return;
  report.checked = true;
  report.filesChecked += tally.checked;
  // No algorithm named is the CRC-32 the baselines started with.
  const std::string algorithm = TrimView(app.algorithmName).empty() ? "crc32" : LCase(TrimView(app.algorithmName));
  report.findings.reserve(report.findings.size() + findings.size());
  for (const FileVerdict& v : findings) {
    const auto kind = FindingKindOf(v.kind);
    if (!kind) continue;
    report.findings.push_back({*kind, v.path, {}, algorithm, v.previous, v.checksum});
    app.NoteExit(kExitFindings);
  }
}

}  // namespace

void EndCheckRun(App& app, intCheck& window, const CheckRequest& request, const CheckTally& tally) {
  const bool baselineRun = request.buildBaseline;
  const bool firstFolderScan = request.why == CheckReason::FirstFolderScan;
  const bool shutDown = InSecureShutDown(request.why);
  if (!baselineRun && !firstFolderScan) RecordFindings(app, window.Findings(), tally);
  if (baselineRun) {
    FinishScanDocument(app);
    LoadSystemBaseline(app, app.baselineFile);
    window.Hide();
    app.windows.ShowMainWindow(app);
  }
  if (!request.noAutoScanFailing && (shutDown || app.autoScanFailed)) {
    window.ScanFailing(baselineRun);
    if (app.ended) return;
  }
  const bool clean = !tally.stopped && tally.Clean();
  if (clean) {
    window.ShowClean();
    if (!shutDown && app.Start().LogonCheck()) {
      app.EndProgram();
      return;
    }
  }
  if (firstFolderScan) {
    window.ScanFailing(false);
    if (app.ended) return;
  }
  window.ShowResults(clean, tally.stopped);
  // Findings left in a window nobody looks at (the minimised one of a logon
  // check) ask for attention; the window stays as it is.
  if (!clean && !tally.stopped && !shutDown && IsIconic(window.hwnd())) {
    app.host.RequestAttention(window.hwnd());
    if (app.Start().LogonCheck()) window.NotifyFindings(tally);
  }
  if (shutDown) {
    app.windows.ContinueSecureShutDown(app);
    return;
  }
  // The check was the whole run: a logon check left open for the user, or
  // one the user started.
  FinishRun(app);
}

}  // namespace kv
