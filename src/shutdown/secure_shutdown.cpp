// The sequence of the secure shut down and the scheduled scan: pending
// reboot files, the file check (which runs in the check window's timer and
// comes back through PreShut2), the registry, then the action.
#include <algorithm>
#include <unordered_set>

#include "antivirus/s_avir.h"
#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "core/findings_notice.h"
#include "core/regwatch_rules.h"
#include "core/text.h"
#include "integrity/intCheck.h"
#include "logs/WriteLog.h"
#include "logs/run_end.h"
#include "platform/files.h"
#include "regwatch/actions.h"
#include "regwatch/pending_reboot.h"
#include "regwatch/snapshot.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/frmLogoff_ids.h"
#include "shutdown/sProg.h"

namespace kv {

namespace {

constexpr char kWininitHeader[] =
    "The following Files were scanned as a precaution (being renamed or deleted from Wininit),";
constexpr char kRegistryHeader[] =
    "The following Files were scanned as a precaution (being renamed or deleted from the Registry),";

std::string RegistryPlace(const RegWarning& w) {
  const auto& places = RegistryPassPlaces();
  if (w.place < 0 || size_t(w.place) >= places.size()) return {};
  const PassPlace& p = places[size_t(w.place)];
  return p.rootText + "\\" + p.place->keyPath;
}

void RecordRegistryWarnings(App& app, const std::vector<RegWarning>& warnings) {
  for (const RegWarning& w : warnings) {
    if (w.result != 1 && w.result != 2) continue;
    app.report.findings.emplace_back(w.result == 1 ? FindingKind::RegistryNew : FindingKind::RegistryModified,
                                     RegistryPlace(w), w.valueName, "", "", w.valueText);
    app.NoteExit(kExitFindings);
  }
}

// Entries the pass after "Scan && Update Warnings" no longer warns about
// were taken into the snapshot.
void MarkAcceptedWarnings(App& app, size_t first, const RegistryPass& fresh) {
  for (size_t i = first; i < app.report.findings.size(); ++i) {
    Finding& f = app.report.findings[i];
    const bool still = std::any_of(fresh.warnings.begin(), fresh.warnings.end(), [&](const RegWarning& w) {
      return RegistryPlace(w) == f.path() && w.valueName == f.name();
    });
    if (!still) f.action = FindingAction::Accepted;
  }
}

}  // namespace

void PrecautionaryScan(App& app, const PendingOperations& ops) {
  sProg& progress = ShutDownProgress(app);
  progress.SetStatus("Status: Checking Startup/Delete/Replace Entries...");
  progress.SetRange(100);
  progress.SetProgress(0);
  const ScannerFields fields = AntivirusSetup(app).Fields();
  const bool secondSet = !TrimView(fields.Text1).empty();
  // Every file an operation names is on the run's record, whether or not a
  // scanner saw it.
  const FindingAction handled = TrimView(fields.Text5).empty() && !secondSet ? FindingAction::Kept
                                                                          : FindingAction::Scanned;
  const auto record = [&app, handled](const std::string& path) {
    if (path.empty()) return;
    app.report.findings.emplace_back(FindingKind::Pending, path, "", "", "", "", handled);
    app.NoteExit(kExitFindings);
  };
  const auto item = [&app](std::string path) -> std::string {
    if (app.useShortPaths) path = ShortPathOf(path);
    if (path.empty() || !FileExists(path)) return {};
    return app.quoteChar + path + app.quoteChar + " ";
  };
  // A failing start is passed over: nobody waits for a scanner here.
  const auto start = [&](const std::string& batch) {
    if (!batch.empty()) RunScanner(app, ScannerCommand(fields.Text5, fields.Text6, batch));
    if (secondSet) RunScanner(app, ScannerCommand(fields.Text1, fields.Text2, batch));
  };

  if (ops.wininitExists) {
    std::string batch;
    for (const WininitOperation& op : ops.wininit) {
      record(op.file);
      batch += item(op.file);
    }
    start(batch);
    if (!batch.empty()) WriteLog(app, kWininitHeader + batch);
    progress.SetProgress(50);
  }
  if (ops.registry.empty()) return;

  // A file named twice in a batch (the source of one rename and the
  // destination of another) is scanned once in it.
  std::string batch, all;
  std::unordered_set<std::string> inBatch;
  long counter = 0;
  for (size_t i = 0; i < ops.registry.size(); ++i) {
    const std::string& path = ops.registry[i];
    if (inBatch.insert(path).second) {
      record(path);
      batch += item(path);
      ++counter;
    }
    const bool last = i + 1 == ops.registry.size();
    if (last || (app.filesPerBatch > 0 && counter >= app.filesPerBatch)) {
      start(batch);
      all += batch;
      batch.clear();
      inBatch.clear();
      counter = 0;
    }
  }
  progress.SetProgress(100);
  if (!all.empty()) WriteLog(app, kRegistryHeader + all);
}

namespace {

// The scan ends now, whoever is there: what it found is announced by a
// notice of its own, which waits for the user.
void AnnounceFindings(App& app, const FindingCounts& counts) {
  if (!counts.Any()) return;
  app.host.StartProcess("\"" + app.appDir + app.edition.ownFileName + "\" " + NoticeArguments(counts),
                        SW_SHOWNORMAL);
}

}  // namespace

void frmLogoff::preShut0() {
  if (started_) return;
  started_ = true;
  if (app_.Start().Scheduled()) action_ = kScheduledScan;
  CheckWinInit();
}

void frmLogoff::CheckWinInit() {
  PrecautionaryScan(app_, ReadPendingOperations());
  if (app_.ended) return;
  PreShut1();
}

void frmLogoff::PreShut1() {
  ShowWindow(hwnd_, SW_HIDE);
  sProg& progress = ShutDownProgress(app_);
  progress.SetStatus("Status: Scanning Files...");
  const bool scheduled = app_.Start().Scheduled();
  CheckWindow(app_).lUp(
      CheckRequest{scheduled ? CheckReason::ScheduledScan : CheckReason::SecureShutDown});
  if (app_.ended) return;
  if (!scheduled) progress.Show();
}

void frmLogoff::PreShut2() {
  sProg& progress = ShutDownProgress(app_);
  progress.SetStatus("Status: Scanning Registry...");
  const RegistryPass pass = setReg(app_);
  if (app_.ended) return;
  const bool registryFindings = pass.list.size() > 1 && pass.list[1] != kNoWarnings;
  if (registryFindings) {
    ShutDownProgress(app_).SetStatus("Status: Found Modified Registry Entries...");
    std::vector<std::string> lines = pass.list;
    const size_t first = app_.report.findings.size();
    RecordRegistryWarnings(app_, pass.warnings);
    const auto fresh = ScanAndUpdateWarnings(app_, lines, pass.warnings);
    if (fresh) MarkAcceptedWarnings(app_, first, *fresh);
    if (app_.ended) return;
  }
  // The run is over here for both: a scheduled scan ends, a secure shut
  // down goes on to switch the machine off.
  FinishRun(app_);
  if (app_.Start().Scheduled()) {
    const CheckTally& files = CheckWindow(app_).Tally();
    AnnounceFindings(app_, {files.newFiles, files.changed, files.unreadable, files.missing,
                            registryFindings ? long(pass.list.size() - 1) : 0});
    app_.EndProgram();
    return;
  }
  startCountDown();
}

void frmLogoff::startCountDown() {
  sProg& progress = ShutDownProgress(app_);
  if (!app_.report.shutDownFindings) {
    progress.SetStatus("Status: All scans completed.  No suspicious files found!");
    ShutDown(action_);
    return;
  }
  progress.SetStatus("Status: Some files were scanned...Shutting Down in 2 minutes");
  progress.ShowShutDownNow();
  progress.SetRange(120);
  progress.SetProgress(0);
  seconds = minutes = 0;
  countdown_ = true;
  SetTimer(hwnd_, logoff_ids::kTimer1, 1000, nullptr);
}

void frmLogoff::StopCountdown() {
  countdown_ = false;
  KillTimer(hwnd_, logoff_ids::kTimer1);
}

void frmLogoff::Timer1_Timer() {
  // A tick already queued when the countdown stopped is not one of its own.
  if (!countdown_) return;
  sProg& progress = ShutDownProgress(app_);
  progress.SetProgress(progress.Progress() + 1);
  if (++seconds == 60) {
    seconds = 0;
    ++minutes;
  }
  if (minutes == 2) {
    StopCountdown();
    ShutDown(action_);
  }
}

void frmLogoff::Command1_Click() {
  // The countdown goes first: left running, it would carry the action out
  // again after the machine wakes from standby or hibernation.
  StopCountdown();
  ShutDown(action_);
}

void frmLogoff::ShutDown(int action) {
  // The privilege is the Host's to enable, with the request itself.
  handleShutOff(action);
}

void frmLogoff::handleShutOff(int action) {
  if (const auto request = ShutOffRequest(action, systemVersion)) app_.host.Power(*request);
}

}  // namespace kv
