#include "integrity/failed_files.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "logs/WriteLog.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

constexpr char kNoScanner[] =
    "You do not have any Anti-Virus program setup with Korvanel.  For your conveniance, these "
    "files will be added to the log, and will be updated in your Integrity File (so that you can "
    "scan them for viruses later).";
constexpr char kNoScannerForOne[] = "You do not have any Anti-Virus program setup with Korvanel.";
constexpr char kScannedHeader[] =
    "Integrity Checker - These files were either New or Failed the Integrity Check,";
constexpr char kLogNotWritten[] =
    "These files could not be written to the log (the folder Data\\Log may be full, read-only "
    "or missing).  They were not updated in your Integrity File and stay in the list, so that you "
    "can try again.";
constexpr char kLoggedHeader[] =
    "Integrity Checker - These files were logged because you didn't setup an Anti-Virus Scanner,";
constexpr char kUnreadableHeader[] = "Integrity Checker - These files were Unreadable,";
constexpr char kMissingHeader[] = "Integrity Checker - These files were Missing,";

// A file the scanners can be given: one that is there and was read.
bool Scannable(const FileVerdict& v) {
  return v.kind != VerdictKind::Unreadable && v.kind != VerdictKind::Missing;
}

// Files of one kind, as the log lists them; empty when there are none.
std::string ItemsOfKind(const App& app, const std::vector<FileVerdict>& findings, VerdictKind kind) {
  std::string items;
  for (const FileVerdict& v : findings)
    if (v.kind == kind) items += FileItem(v.path(), app.quoteChar, false, {});
  return items;
}

bool AnyToAccept(const std::vector<FileVerdict>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const FileVerdict& v) { return v.kind != VerdictKind::Unreadable; });
}

// The files nothing settles: the scanners never saw them and no checksum of
// them exists, so they stay listed (and reported by every check) until they
// can be read.
std::vector<FileVerdict> Unsettled(const std::vector<FileVerdict>& findings) {
  std::vector<FileVerdict> left;
  for (const FileVerdict& v : findings)
    if (v.kind == VerdictKind::Unreadable) left.push_back(v);
  return left;
}

std::string NotUpdatedMessage(const std::vector<std::string>& files) {
  std::string text = "These Integrity Files could not be updated:\r\n";
  for (const std::string& f : files) text += f + "\r\n";
  return text +
         "\r\nThey were left as they were.  The files stay in the list, so that you can try "
         "again.";
}

// The key of a listed file is its own name within its folder, never part of
// a name nor a text that climbs out of the folder.
// Both are views of the path itself.
std::string_view FileNameOf(std::string_view path) { return path.substr(path.size() - NameInFolder(path).size()); }

// Sections are matched without letter case.
std::string_view SectionOf(const FileVerdict& v) {
  return v.path().substr(v.path().size() < 3 ? 0 : v.path().size() - 3);
}

// A missing file is accepted by forgetting it; any other by its checksum,
// but for one that could not be read, which has none.
// In order; each run of new and changed files, and each run of missing
// ones, goes into the baseline in one pass over its sections, so that
// thousands of them stay linear.
void Accept(Baseline& baseline, const std::vector<const FileVerdict*>& verdicts) {
  std::vector<Baseline::EntryWrite> writes;
  std::vector<Baseline::EntryRemoval> removals;
  writes.reserve(verdicts.size());
  const auto flush = [&] {
    baseline.WriteEntries(writes);
    writes.clear();
    baseline.RemoveEntries(removals);
    removals.clear();
  };
  for (const FileVerdict* v : verdicts) {
    if (v->kind == VerdictKind::Unreadable) continue;
    if (v->kind == VerdictKind::Missing) {
      if (!writes.empty()) flush();
      removals.push_back({FileNameOf(v->path()), SectionOf(*v)});
    } else {
      if (!removals.empty()) flush();
      writes.push_back({FileNameOf(v->path()), v->checksum(), SectionOf(*v)});
    }
  }
  flush();
}

// Hundreds of thousands of entries take a noticeable time to merge: the
// merge is made apart from the baseline in memory while the window
// answers. With `fromText`, `into` is first read from that text (a
// baseline without sections is left as it is).
void AcceptApart(Baseline& into, const std::vector<const FileVerdict*>& verdicts,
                 std::optional<std::string>* fromText = nullptr) {
  WorkWhilePumping([&] {
    if (fromText) {
      into = Baseline::FromOwnedText(std::move(**fromText));
      fromText->reset();
      if (into.SectionCount() == 0) return;
    }
    Accept(into, verdicts);
  });
}

void LogNotWritten(App& app, FailedFilesView& view, CheckReason why) {
  view.ShowStatus("Results");
  // A run that would have ended after accepting them has nobody there to
  // read a message: it says so by how it ends.
  app.report.couldNotRun = kLogNotWritten;
  app.NoteExit(kExitCouldNotRun);
  const bool shutDown = InSecureShutDown(why);
  if (shutDown || (!app.Start().Interactive() && app.autoScanFailed)) {
    if (!shutDown) app.EndProgram();
    return;
  }
  app.Ask(kLogNotWritten);
}

// A scanner that did not pass the files: the log says which and what it
// returned; the files stay listed, unaccepted.
void ScannerObjected(App& app, FailedFilesView& view, const ScanVerdict& verdict,
                     const std::string& items, CheckReason why) {
  (void)TryWriteLog(app, VerdictLogHeader(verdict) + items, 1);
  view.ShowStatus("Results");
  app.report.scannerFailure = VerdictMessage(verdict) + " Anti-virus program: " + verdict.program;
  app.NoteExit(kExitCouldNotRun);
  if (InSecureShutDown(why)) return;
  // At logon too someone is there: what the scanner found is theirs to see.
  app.Ask(VerdictMessage(verdict), MsgButtons::Ok, {}, MsgIcon::Warning);
}

}  // namespace

void ScanFailingFiles(App& app, FailedFilesView& view,
                      std::shared_ptr<const std::vector<FileVerdict>> shared,
                      const FailedFilesScanners& scanners, CheckReason why,
                      bool endingBaselineRun) {
  if (!shared) return;
  const std::vector<FileVerdict>& findings = *shared;
  const bool shutDown = InSecureShutDown(why);
  const bool firstFolderScan = why == CheckReason::FirstFolderScan;
  if (!firstFolderScan) {
    const bool haveScanner = FileExists(scanners.first.program);
    // An unattended shut down has nobody to read it; the forced log says it.
    if (!haveScanner && !shutDown) app.Ask(kNoScanner);

    // A file that could not be read, or is gone, is never handed over as
    // one the scanner can open: it is logged under its own word instead.
    // Views of the findings' own paths, which stay held until the scan ends.
    std::vector<std::string_view> entries;
    entries.reserve(findings.size() + 1);
    for (const FileVerdict& v : findings)
      if (Scannable(v)) entries.emplace_back(v.path());
    const std::string unreadable = ItemsOfKind(app, findings, VerdictKind::Unreadable);
    const std::string missing = ItemsOfKind(app, findings, VerdictKind::Missing);
    // The extra empty position makes the last batch close on it, so a list
    // of exactly one batch gives one start.
    entries.emplace_back();
    // Every scanner is heard out before anything is trusted.
    ScanVerdict verdict;
    std::optional<StepClock::Timer> handOver(std::in_place, app.steps, Step::HandOver);
    const BatchedScanResult scan =
        ScanFileList(app, entries, scanners.first, scanners.second, haveScanner, true, &verdict);
    handOver.reset();
    if (app.ended) return;
    if (scan.startFailed) {
      app.report.scannerFailure = ScannerNotExecutedMessage(scanners.first.program);
      app.NoteExit(kExitCouldNotRun);
      // The list stays, so the scanner can be corrected and the scan repeated.
      if (!shutDown) ShowScannerNotExecuted(app, scanners.first.program);
      return;
    }
    if (haveScanner && !shutDown) {
      if (endingBaselineRun) return;
      if (scan.items.empty() && unreadable.empty() && missing.empty()) {
        app.EndProgram();
        return;
      }
    }
    view.ShowStatus("Logging Action...");
    if (!verdict.clean) {
      ScannerObjected(app, view, verdict, scan.items, why);
      return;
    }
    LogResult log;
    std::optional<StepClock::Timer> logging(std::in_place, app.steps, Step::Log);
    if (haveScanner)
      log = TryWriteLog(app, kScannedHeader + scan.items);
    else if (!scan.items.empty())  // a forced log of no files would record nothing
      log = TryWriteLog(app, kLoggedHeader + scan.items, 1);
    for (const auto& [header, items] : {std::pair{kUnreadableHeader, &unreadable},
                                        std::pair{kMissingHeader, &missing}}) {
      if (items->empty() || log.failed()) continue;
      log = TryWriteLog(app, header + *items, haveScanner ? 0 : 1);
    }
    logging.reset();
    // Accepted without their log, the files would pass every later check
    // with nothing left that names them: they stay listed instead.
    if (log.failed()) {
      LogNotWritten(app, view, why);
      return;
    }
    // Unattended, nobody was told the files would be taken in unscanned:
    // they are on record and stay reported until a scanner has seen them.
    if (!haveScanner && shutDown) {
      view.ShowStatus("Results");
      return;
    }
  }

  if (AnyToAccept(findings)) {
    view.ShowStatus("Updating Integrity File...");
    const bool updated = AcceptFindings(app, view, findings, why);
    // What was accepted is on the run's record as such; a file that cannot
    // be read is never accepted and stays kept.
    if (updated) {
      for (Finding& f : app.report.findings)
        if (f.kind == FindingKind::New || f.kind == FindingKind::Changed || f.kind == FindingKind::Missing)
          f.action = FindingAction::Accepted;
    }
    if (app.ended || !updated) return;
  } else {
    view.ShowStatus("Results");
  }

  if (firstFolderScan) {
    view.HideWindow();
    view.KeepFindings(Unsettled(findings));
    app.Ask("Initial Custom Folder Scan Completed Successfully!");
    return;
  }
  if (!app.Start().Interactive() && app.autoScanFailed && !shutDown) {
    app.EndProgram();
    return;
  }
  view.KeepFindings(Unsettled(findings));
}

void ScanOneFile(App& app, FileVerdict file, const FailedFilesScanners& scanners) {
  if (!Scannable(file)) return;
  if (!FileExists(scanners.first.program)) {
    app.Ask(kNoScannerForOne);
    return;
  }
  ScanVerdict verdict;
  // The empty position closes the batch, as for the whole list.
  const BatchedScanResult scan =
      ScanFileList(app, {file.path(), std::string_view()}, scanners.first, scanners.second, true, true,
                   &verdict);
  if (app.ended) return;
  if (scan.startFailed) {
    ShowScannerNotExecuted(app, scanners.first.program);
    return;
  }
  if (!verdict.clean) app.Ask(VerdictProblem(verdict), MsgButtons::Ok, {}, MsgIcon::Warning);
}

bool AcceptFindings(App& app, FailedFilesView& view, const std::vector<FileVerdict>& findings,
                    CheckReason why) {
  if (!AnyToAccept(findings)) return true;
  view.ShowUpdating();
  std::optional<StepClock::Timer> accepting(std::in_place, app.steps, Step::Acceptance);

  std::vector<const FileVerdict*> systemAccepted;
  std::vector<const FileVerdict*> folderFindings[21];
  for (const FileVerdict& v : findings) {
    if (v.slot == 0)
      systemAccepted.push_back(&v);
    else if (v.slot >= 1 && v.slot <= 20)
      folderFindings[v.slot].push_back(&v);
  }
  std::vector<std::string> notUpdated;
  // With nothing of the system directory to accept, the system baseline
  // ends this as its file now is, saved and read in again: the copy in
  // memory need not wait beside the folders' merges, tens of megabytes
  // each. Only a file its seal vouches for may stand in for it.
  const bool systemFromFile = systemAccepted.empty() && app.systemBaseline.SectionCount() > 0 &&
                              FileExists(app.baselineFile) &&
                              app.seals.Check(app.baselineFile).verdict != SealVerdict::Differs;
  if (systemFromFile) app.systemBaseline = Baseline();
  bool folderSaved = false;
  for (int slot = 1; slot <= 20; ++slot) {
    if (folderFindings[slot].empty()) continue;
    if (!SaveFolderFindings(app, slot, folderFindings[slot]))
      notUpdated.push_back(FolderBaselineFile(app, slot));
    folderSaved = true;
    if (app.ended) return false;
  }
  // A check that finds no folder baseline in memory reads its own in: the
  // one just saved need not stay beside the system baseline's merge.
  if (folderSaved) app.folderBaseline = Baseline();

  // The baseline in memory is the one this check ran against; since then
  // another run of the program (a logon check) may have accepted files into
  // the file and saved it. The accepted entries go into the file as it is
  // now, so that saving never undoes that run's work.
  // A file changed behind the program's back is not merged: saving would
  // seal what nobody accepted.
  std::optional<std::string> onDisk = app.seals.ReadVouched(app.baselineFile);
  Baseline merged;
  if (onDisk) {
    AcceptApart(merged, systemAccepted, &onDisk);
    if (app.ended) return false;
  }
  // Moved into, a string hands its old buffer to the one it came from: the
  // old baseline is freed here, not held by `merged` through the save.
  if (merged.SectionCount() > 0)
    app.systemBaseline = std::exchange(merged, Baseline());
  else if (app.systemBaseline.SectionCount() > 0)
    // Handlers may reach the baseline in memory: this merge waits for no
    // window.
    Accept(app.systemBaseline, systemAccepted);
  // A system baseline that never loaded holds no sections: saving it would
  // replace the file (and, one update later, its backup) with an empty one.
  if (app.systemBaseline.SectionCount() > 0) {
    accepting.reset();
    const StepClock::Timer saving(app.steps, Step::Save);
    if (SaveBaselineFile(app, app.systemBaseline, app.baselineFile))
      LoadSystemBaseline(app, app.baselineFile);
    else
      notUpdated.push_back(app.baselineFile);
  } else if (!systemAccepted.empty() || systemFromFile) {
    notUpdated.push_back(app.baselineFile);
    // Changed behind the program's back since it was let go: read in as
    // any baseline is, its seal's finding reported.
    if (systemFromFile && !app.ended) LoadSystemBaseline(app, app.baselineFile);
  }
  if (!notUpdated.empty()) {
    view.ShowNotUpdated();
    if (!InSecureShutDown(why)) app.Ask(NotUpdatedMessage(notUpdated));
    return false;
  }
  view.ShowUpdated();
  return true;
}

bool SaveFolderFindings(App& app, int slot, const std::vector<const FileVerdict*>& findings) {
  if (slot < 1 || slot > 20) return true;
  const std::string file = FolderBaselineFile(app, slot);
  // Without this folder's own baseline in memory, the one there belongs to
  // another folder and must not be saved under this name.
  if (!LoadFolderBaseline(app, file) || app.ended) return false;
  // Merged apart while the window answers, as the system baseline is.
  // Taken, not copied: tens of megabytes for a large folder.
  Baseline baseline = std::exchange(app.folderBaseline, Baseline());
  AcceptApart(baseline, findings);
  if (app.ended) return false;
  app.folderBaseline = std::exchange(baseline, Baseline());
  return SaveBaselineFile(app, app.folderBaseline, file);
}

}  // namespace kv
