// The scan of failing files: the files a check listed go to the scanners,
// into a log, and their current checksums into the baselines so that the
// next check passes them.
#include "integrity/failed_files.h"

#include <algorithm>
#include <unordered_map>

#include "core/busy_flag.h"
#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/intCheck.h"
#include "logs/WriteLog.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

constexpr char kNewMark[] = " *NEW*";
constexpr char kCloseCaption[] = "Close Integrity Window";
constexpr char kUpdatingTitle[] = "Updating - Please Wait...";
constexpr char kNoScanner[] =
    "You do not have any Anti-Virus program setup with Korvanel.  For your conveniance, these "
    "files will be added to the log, and will be updated in your Integrity File (so that you can "
    "scan them for viruses later).";
constexpr char kScannedHeader[] =
    "Integrity Checker - These files were either New or Failed the Integrity Check,";
constexpr char kLogNotWritten[] =
    "These files could not be written to the log (the folder Data\\Log may be full, read-only "
    "or missing).  They were not updated in your Integrity File and stay in the list, so that you "
    "can try again.";
constexpr char kLoggedHeader[] =
    "Integrity Checker - These files were logged because you didn't setup an Anti-Virus Scanner,";

bool IsPathStart(std::string_view text, size_t at) {
  if (at + 1 < text.size() && text[at] == '\\' && text[at + 1] == '\\') return true;
  if (at + 2 >= text.size()) return false;
  const char c = text[at];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && text[at + 1] == ':' &&
         text[at + 2] == '\\';
}

// The entries' texts without their closing ",".
std::vector<std::string_view> EntryTexts(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != ',') continue;
    if (i + 1 < text.size() && !IsPathStart(text, i + 1)) continue;
    out.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (start < text.size()) out.push_back(text.substr(start));
  return out;
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
std::string FileNameOf(std::string_view path) { return NameInFolder(path); }

}  // namespace

std::vector<ResultEntry> SystemResultEntries(std::string_view text) {
  std::vector<ResultEntry> out;
  for (std::string_view e : EntryTexts(text)) {
    const auto space = e.rfind(' ');
    if (space == std::string_view::npos || space == 0) continue;
    out.push_back({std::string(e.substr(0, space)), 0, std::string(e.substr(space + 1))});
  }
  return out;
}

std::vector<ResultEntry> FolderResultEntries(std::string_view text) {
  std::vector<ResultEntry> out;
  for (std::string_view e : EntryTexts(text)) {
    const auto space = e.rfind(' ');
    if (space == std::string_view::npos) continue;
    const std::string_view head = e.substr(0, space);
    const auto open = head.rfind('(');
    if (head.empty() || head.back() != ')' || open == std::string_view::npos || open == 0) continue;
    const std::string_view number = head.substr(open + 1, head.size() - open - 2);
    if (number.empty() || number.size() > 4 ||
        number.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    out.push_back({std::string(head.substr(0, open)), int(ParseLong(number)),
                   std::string(e.substr(space + 1))});
  }
  return out;
}

std::string FolderResultEntryText(const ResultEntry& entry) {
  return entry.path + "(" + Dec(entry.slot) + ") " + entry.checksum + ",";
}

void intCheck::Label12_Click() {
  RunState& run = app_.run;
  // Reading the settings for each scanner start and the update after every
  // file pump messages; a second click arriving then would hand the same
  // files to the scanners and log them again.
  if (scanningFailedFiles_ || Title() == kUpdatingTitle) return;
  const BusyFlag busy(scanningFailedFiles_);
  if (!run.customFolderFirstScan) {
    if (Text(Label12) == kCloseCaption) {
      Command1_Click();
      return;
    }
    const bool haveScanner = FileExists(Text1);
    // An unattended shut down has nobody to read it; the forced log says it.
    if (!haveScanner && !run.InSecureShutDown()) app_.Ask(kNoScanner);

    std::vector<std::string> entries = ListLines();
    for (std::string& entry : entries) entry = ReplaceAll(entry, kNewMark, "");
    // The extra empty position makes the last batch close on it, so a list
    // of exactly one batch gives one start.
    entries.emplace_back();
    // Every scanner is heard out before anything is trusted.
    ScanVerdict verdict;
    const BatchedScanResult scan = ScanFileList(app_, entries, {Text1, Text2}, {textav1, textav2},
                                                haveScanner, true, &verdict);
    if (app_.ended) return;
    if (scan.startFailed) {
      // The list stays, so the scanner can be corrected and the scan repeated.
      if (!run.InSecureShutDown()) ShowScannerNotExecuted(app_, Text1);
      return;
    }
    if (haveScanner && !run.InSecureShutDown()) {
      if (endingBaselineRun_) return;
      if (scan.items.empty()) {
        app_.EndProgram();
        return;
      }
    }
    SetText(Label13, "Logging Action...");
    if (!verdict.clean) {
      ScannerObjected(verdict, scan.items);
      return;
    }
    LogResult log;
    if (haveScanner)
      log = TryWriteLog(app_, kScannedHeader + scan.items);
    else if (!scan.items.empty())  // a forced log of no files would record nothing
      log = TryWriteLog(app_, kLoggedHeader + scan.items, 1);
    // Accepted without their log, the files would pass every later check
    // with nothing left that names them: they stay listed instead.
    if (log.failed()) {
      LogNotWritten();
      return;
    }
    // Unattended, nobody was told the files would be taken in unscanned:
    // they are on record and stay reported until a scanner has seen them.
    if (!haveScanner && run.InSecureShutDown()) {
      SetText(Label13, "Results");
      return;
    }
  }

  SetText(Label13, "Updating Integrity File...");
  const bool updated = UpdateDatFile();
  if (app_.ended || !updated) return;

  if (run.customFolderFirstScan) {
    Hide();
    run.customFolderFirstScan = false;
    ClearList();
    app_.Ask("Initial Custom Folder Scan Completed Successfully!");
    return;
  }
  if (!Trim(app_.commandLine).empty() && app_.autoScanFailed && !run.InSecureShutDown()) {
    app_.EndProgram();
    return;
  }
  ClearList();
}

void intCheck::LogNotWritten() {
  SetText(Label13, "Results");
  RunState& run = app_.run;
  // A run that would have ended after accepting them has nobody there to
  // read a message: it says so by how it ends.
  if (run.InSecureShutDown() || (!Trim(app_.commandLine).empty() && app_.autoScanFailed)) {
    app_.exitCode = kExitLogNotWritten;
    if (!run.InSecureShutDown()) app_.EndProgram();
    return;
  }
  app_.Ask(kLogNotWritten);
}

void intCheck::ScannerObjected(const ScanVerdict& verdict, const std::string& items) {
  (void)TryWriteLog(app_, VerdictLogHeader(verdict) + items, 1);
  SetText(Label13, "Results");
  if (app_.run.InSecureShutDown()) {
    app_.exitCode = kExitScannerObjected;
    return;
  }
  // At logon too someone is there: what the scanner found is theirs to see.
  app_.Ask(VerdictMessage(verdict), MsgButtons::Ok, {}, MsgIcon::Warning);
}

bool intCheck::UpdateDatFile() {
  const std::vector<std::string> lines = ListLines();
  if (lines.empty()) return true;
  const std::string previousTitle = Title();
  SetTitle(kUpdatingTitle);

  // Each listed file's own entry, found by its whole path, so that a path
  // holding another one, or spaces, commas or parentheses, never takes
  // another file's checksum.
  std::unordered_map<std::string, std::string> systemChecksums;
  for (ResultEntry& e : SystemResultEntries(app_.run.systemResults))
    systemChecksums.try_emplace(e.path, std::move(e.checksum));
  // A folder checked in two slots lists its files twice; each listing takes
  // the next entry of that path.
  std::unordered_map<std::string, std::vector<ResultEntry>> folderEntries;
  for (ResultEntry& e : FolderResultEntries(app_.run.folderResults))
    folderEntries[e.path].push_back(std::move(e));
  std::unordered_map<std::string, size_t> folderTaken;

  struct Accepted {
    std::string name, value, section;
  };
  std::vector<Accepted> systemAccepted;
  std::vector<std::string> notUpdated;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string path = ReplaceAll(lines[i], kNewMark, "");
    const std::string section = UCase(Right(path, 3));
    const auto system = systemChecksums.find(path);
    if (system == systemChecksums.end()) {
      const auto found = folderEntries.find(path);
      if (found != folderEntries.end()) {
        size_t& taken = folderTaken[path];
        const ResultEntry& e = found->second[std::min(taken, found->second.size() - 1)];
        ++taken;
        if (e.slot >= 1 && e.slot <= 20) pendingFolderUpdates[size_t(e.slot)] += FolderResultEntryText(e);
      }
    }
    if (i + 1 == lines.size()) {
      for (int slot = 1; slot <= 20; ++slot) {
        if (!pendingFolderUpdates[size_t(slot)].empty() && !SpecialSave(slot))
          notUpdated.push_back(FolderBaselineFile(app_, slot));
        if (app_.ended) return false;
      }
    }
    app_.run.currentFolderPath.clear();
    if (system != systemChecksums.end())
      systemAccepted.push_back({FileNameOf(path), system->second + std::string(kEndMarker), section});
    PumpMessages();
    if (app_.ended) return false;
  }

  // The baseline in memory is the one this check ran against; since then
  // another run of the program (a logon check) may have accepted files into
  // the file and saved it. The accepted entries go into the file as it is
  // now, so that saving never undoes that run's work.
  // A file changed behind the program's back is not merged: saving would
  // seal what nobody accepted.
  if (const auto text = app_.seals.Check(app_.baselineFile).verdict != SealVerdict::Differs
                            ? ReadWholeFile(app_.baselineFile)
                            : std::nullopt) {
    Baseline current = Baseline::FromText(*text);
    if (current.SectionCount() > 0) app_.systemBaseline = std::move(current);
  }
  // A system baseline that never loaded holds no sections: saving it would
  // replace the file (and, one update later, its backup) with an empty one.
  if (app_.systemBaseline.SectionCount() > 0) {
    app_.run.currentFolderPath.clear();
    for (const Accepted& a : systemAccepted) WriteEntry(app_, app_.baselineFile, a.name, a.value, a.section);
    if (SaveSystemBaseline(app_))
      LoadSystemBaseline(app_, app_.baselineFile);
    else
      notUpdated.push_back(app_.baselineFile);
  } else if (!systemAccepted.empty()) {
    notUpdated.push_back(app_.baselineFile);
  }
  if (!notUpdated.empty()) {
    SetTitle(previousTitle);
    if (!app_.run.InSecureShutDown()) app_.Ask(NotUpdatedMessage(notUpdated));
    return false;
  }
  SetTitle("Integrity File(s) Updated");
  SetText(Label13, "Integrity File Updated");
  SetText(Label12, kCloseCaption);
  return true;
}

bool intCheck::SpecialSave(int slot) {
  if (slot < 1 || slot > 20) return true;
  const std::string queue = std::move(pendingFolderUpdates[size_t(slot)]);
  pendingFolderUpdates[size_t(slot)].clear();
  const std::string file = FolderBaselineFile(app_, slot);
  // Without this folder's own baseline in memory, the one there belongs to
  // another folder and must not be saved under this name.
  if (!LoadFolderBaseline(app_, file) || app_.ended) return false;
  app_.run.currentFolderPath = "!";
  for (const ResultEntry& e : FolderResultEntries(queue)) {
    WriteEntry(app_, file, FileNameOf(e.path), e.checksum + std::string(kEndMarker),
               UCase(Right(e.path, 3)));
    PumpMessages();
    if (app_.ended) return false;
  }
  return SaveBaselineFile(app_, app_.folderBaseline, file);
}

}  // namespace kv
