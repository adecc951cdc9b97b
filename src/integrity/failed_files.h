// The scan of failing files: the new and changed files a check found go to
// the scanners, into a log, and their current checksums into the baselines
// so that the next check passes them. Files that could not be read and files
// that are missing go into logs of their own; a missing one leaves the
// baseline, an unreadable one stays listed.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/scanner.h"
#include "integrity/check_run.h"

namespace kv {

class App;

// What the action shows while it works; the check window renders it.
class FailedFilesView {
 public:
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void ShowUpdating() = 0;
  // The baselines hold the files now; the window offers to close.
  virtual void ShowUpdated() = 0;
  // A baseline could not be written: what was shown before comes back.
  virtual void ShowNotUpdated() = 0;
  // The findings are dealt with: the list is emptied.
  virtual void ClearFindings() = 0;
  // Those accepted are dealt with; the list keeps only `left`, which no
  // acceptance can settle (files that could not be read).
  virtual void KeepFindings(const std::vector<FileVerdict>& left) {
    if (left.empty()) ClearFindings();
  }
  virtual void HideWindow() = 0;

 protected:
  ~FailedFilesView() = default;
};

struct FailedFilesScanners {
  ScannerConfig first, second;
};

// Scans, logs and accepts the findings of a run made for `why`: a first
// folder scan's go into the folder's baseline unscanned; a secure shut
// down's are dealt with asking nobody. endingBaselineRun: the scan that
// ends a first full scan, which neither logs nor accepts what it finds.
// The findings are shared with the list that shows them, never copied: the
// list takes a copy of its own if it changes while the scan waits.
void ScanFailingFiles(App& app, FailedFilesView& view,
                      std::shared_ptr<const std::vector<FileVerdict>> findings,
                      const FailedFilesScanners& scanners, CheckReason why, bool endingBaselineRun);

// Hands one listed file to the scanners the way the scan of failing files
// hands them all, waits for them and says when one of them objected;
// nothing is logged or accepted.
void ScanOneFile(App& app, FileVerdict file, const FailedFilesScanners& scanners);

// Accepts the findings into the system baseline and the baselines of their
// custom folders: a missing file's entry is removed, an unreadable file is
// never accepted. False when a baseline could not be written: the findings
// stay for another try (said in a box unless the run of `why` is a secure
// shut down's).
bool AcceptFindings(App& app, FailedFilesView& view, const std::vector<FileVerdict>& findings,
                    CheckReason why);

// Writes the findings of one custom folder into its baseline file.
bool SaveFolderFindings(App& app, int slot, const std::vector<const FileVerdict*>& findings);

}  // namespace kv
