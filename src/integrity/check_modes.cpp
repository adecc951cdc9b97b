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

// The record reads a file finding's texts from the check's list, which it
// keeps alive and which the window no longer changes once it is shared.
class VerdictTexts : public FindingTexts {
 public:
  VerdictTexts(std::shared_ptr<const std::vector<FileVerdict>> verdicts, std::string algorithm)
      : verdicts_(std::move(verdicts)), algorithm_(std::move(algorithm)) {}
  std::string_view Text(size_t index, size_t which) const override {
    const FileVerdict& v = (*verdicts_)[index];
    switch (which) {
      case 0: return v.path();
      case 2: return algorithm_;
      case 3: return v.previous();
      case 4: return v.checksum();
      default: return {};
    }
  }

 private:
  std::shared_ptr<const std::vector<FileVerdict>> verdicts_;
  std::string algorithm_;
};

// The check's findings go on the run's record as they stand before the
// scanners see them; accepting them later marks them so.
void RecordFindings(App& app, std::shared_ptr<const std::vector<FileVerdict>> shared, const CheckTally& tally) {
  RunReport& report = app.report;
  if (!report.Open()) return;
  report.checked = true;
  report.filesChecked += tally.checked;
  // No algorithm named is the CRC-32 the baselines started with.
  const std::string algorithm = TrimView(app.algorithmName).empty() ? "crc32" : LCase(TrimView(app.algorithmName));
  const std::vector<FileVerdict>& findings = *shared;
  const auto texts = std::make_shared<const VerdictTexts>(std::move(shared), algorithm);
  report.findings.reserve(report.findings.size() + findings.size());
  for (size_t i = 0; i < findings.size(); ++i) {
    const auto kind = FindingKindOf(findings[i].kind);
    if (!kind) continue;
    report.findings.emplace_back(*kind, texts, i);
    app.NoteExit(kExitFindings);
  }
}

}  // namespace

void EndCheckRun(App& app, intCheck& window, const CheckRequest& request, const CheckTally& tally) {
  const bool baselineRun = request.buildBaseline;
  const bool firstFolderScan = request.why == CheckReason::FirstFolderScan;
  const bool shutDown = InSecureShutDown(request.why);
  if (!baselineRun && !firstFolderScan) RecordFindings(app, window.SharedFindings(), tally);
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
