// The check run window: every integrity check is started through it (lUp)
// and shown in it. The check itself is a CheckRun; the window renders its
// events into its controls and takes the user's pause, stop and actions.
// The whole check runs inside the first tick of a 1 ms one-shot timer so
// that lUp returns to its caller first.
#pragma once
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/theme.h"
#include "controls/window.h"
#include "integrity/check_run.h"
#include "integrity/failed_files.h"
#include "integrity/findings_list.h"

namespace kv {

class App;

class intCheck : public controls::Window, public CheckView, public FailedFilesView {
 public:
  explicit intCheck(App& app);
  ~intCheck() override;

  void Show();
  void Hide();
  void Minimize();
  bool Visible() const;
  std::string Title() const;
  void SetTitle(const std::string& text);

  // --- procedures ---------------------------------------------------------
  // Prepares the run the caller asks for (completed by PrepareRequest) and
  // starts it from the timer. While a first full scan is filling the
  // baseline, that scan is the run, whoever asked.
  void lUp(CheckRequest request);
  void Command1_Click();
  // Stops the run shown the way the stop button stops one the user started,
  // before the caller starts a check of its own. The system directory's
  // baseline is read again when the stopped run checked it, or always with
  // reloadSystemBaseline.
  void StopForManualRun(bool reloadSystemBaseline);
  void PauseToggle();
  void Label2_Click();
  // Scan, log and accept the failing files.
  void Label12_Click();
  void resetCategoryLabels();
  // The first tick of Timer1 runs the whole check.
  void RunCheck();
  bool TimerArmed() const { return timerArmed_; }
  // Files read and checksummed ahead of the walk on this many threads (as
  // many as the machine has cores); 0 reads each file on this thread when
  // the walk reaches it.
  void SetReadAheadWorkers(size_t workers) { readers_.workers = workers; }
  bool Running() const { return running_; }

  // --- what the last run left -----------------------------------------------
  // The request of the run shown (or prepared last), as completed.
  const CheckRequest& ShownRequest() const { return shown_; }
  // The files the list shows, with their checksums and slots.
  const std::vector<FileVerdict>& Findings() const { return *findings_; }
  // The list as it is now, kept unchanged for whoever holds it: the window
  // changes a copy once it is shared.
  std::shared_ptr<const std::vector<FileVerdict>> SharedFindings() const { return findings_; }
  const CheckTally& Tally() const { return tally_; }
  bool Stopped() const { return control_->stop; }
  // The scan of failing files that ends a run; endingBaselineRun for the
  // one after a first full scan.
  void ScanFailing(bool endingBaselineRun);
  // "Scan this file": one listed file to the scanners, nothing logged or accepted.
  void ScanFinding(const FileVerdict& file);
  // The end of a run: the clean-result line, then the result panel (or the
  // progress panel after a stop).
  void ShowClean();
  void ShowResults(bool clean, bool stopped);
  // A logon check's findings in a window nobody is looking at: the title
  // names them and a notification-area icon stays until they are reviewed
  // (the icon clicked, or the window opened) or dismissed.
  void NotifyFindings(const CheckTally& tally);
  bool NoticeShown() const { return noticeShown_; }
  void ReviewFindings();
  void DismissNotice();

  // --- rendering of a check (CheckView) ---------------------------------------
  void PassStarted(const CheckPass& pass) override;
  void CategorySkipped(int category) override;
  void CategoryStarted(int category) override;
  void FileStarted(int category, const std::string& name) override;
  void FileChecked(const FileVerdict& verdict) override;
  void Progress(const CheckProgress& progress) override;
  void CategoryEnded(int category, bool complete) override;
  void PassEnded(const CheckPass& pass) override;
  void RunEnded(const CheckTally& tally) override;

  // --- rendering of the scan of failing files (FailedFilesView) ----------------
  void ShowStatus(const std::string& text) override;
  void ShowUpdating() override;
  void ShowUpdated() override;
  void ShowNotUpdated() override;
  void ClearFindings() override;
  void KeepFindings(const std::vector<FileVerdict>& left) override;
  void HideWindow() override { Hide(); }

  // --- controls ---------------------------------------------------------------
  static std::string Text(HWND control);
  static void SetText(HWND control, const std::string& text);
  // Every row of the findings list as its finding's line.
  std::vector<std::string> ListLines() const;
  void ClearList() { ClearFindings(); }
  FindingsList& List() { return list_; }

  HWND List1 = nullptr;
  HWND Frame1 = nullptr, Frame2 = nullptr, Frame3 = nullptr;
  HWND Label2 = nullptr, Label6 = nullptr, Label7 = nullptr, Label8 = nullptr, Label9 = nullptr,
       Label11 = nullptr, Label12 = nullptr, Label13 = nullptr, Label14 = nullptr;
  // The result panel's counts of unreadable and of missing files.
  HWND Label15 = nullptr, Label16 = nullptr;
  // Category lines 1..6 and the custom-folder line (index 7): title, file
  // and percent labels (l_dll2, l_dll, l_sdll ... l_cust2, l_cust, l_scust).
  std::array<HWND, 8> titleLabel{}, fileLabel{}, percentLabel{};
  HWND l_cust2 = nullptr;  // the custom-folder line's title
  // Pause and close controls.
  cButton Image9, Image11;
  static bool IsShown(HWND control);  // its own visible flag, whatever the window's state
  COLORREF LabelColor(HWND label) const;

  // The scanners the failing files go to (program and arguments of each).
  std::string Text1, Text2, textav1, textav2;

 private:
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  void OnSize(int width, int height) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDpiChanged() override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  bool OnEraseBackground(HDC dc) override;
  HBRUSH Ground() const;
  HCURSOR OnChildPointer(HWND child) override;
  void CreateControls();
  void ShowPanel(int panel);  // 1 progress, 2 result, 3 failed files
  void SetLabelColor(HWND label, COLORREF color);
  void LoadScannerFields();
  void ShowProgressNow(const CheckProgress& progress);
  void ShowCounters(const CheckTally& tally);
  // The findings to add to; a scan of failing files still working on the
  // ones it was given keeps them, and the window goes on with a copy.
  std::vector<FileVerdict>& OwnFindings();
  bool ConfirmLeavingFailedFiles();
  bool CloseBox();
  // manual: stopped as a run the user started; reloadSystemBaseline: the
  // system directory's baseline is read again whatever the run checked.
  bool StopOrClose(bool closeBox, bool manual, bool reloadSystemBaseline);

  App& app_;
  std::array<HWND, 3> stepLabel_{};
  std::array<COLORREF, 3> stepColor_{};
  std::array<std::vector<HWND>, 4> panels_;
  int panel_ = 1;
  std::map<HWND, COLORREF> labelColors_;
  bool timerArmed_ = false;
  bool scanningFailedFiles_ = false;
  bool running_ = false;
  bool noticeShown_ = false;
  // What the two action links do now: close the window instead of going on.
  bool resultCloses_ = false, failedFilesClose_ = false;
  std::string title_ = "Integrity Checker", titleBeforeUpdate_;
  std::shared_ptr<CheckControl> control_ = std::make_shared<CheckControl>();
  ReadAhead& readers_;
  // Counted by lUp, run by the timer tick.
  std::unique_ptr<CheckRun> prepared_;
  // What the window shows: the run's request decides who is there to see
  // it and what a stop does. A window that has shown no run yet stops as
  // for one the user started.
  CheckRequest shown_;
  bool manualRun_ = true;
  // Shared with a scan of failing files while it runs: a click during a
  // scanner's wait may empty the list, never the files being scanned.
  std::shared_ptr<std::vector<FileVerdict>> findings_ = std::make_shared<std::vector<FileVerdict>>();
  FindingsList list_;
  // The list holds only what the last scan of failing files left unsettled.
  bool onlyUnsettled_ = false;
  CheckTally tally_;
  // Progress shown at most every few tens of milliseconds; the last one of
  // a category is shown in full when the category ends.
  unsigned long long lastShown_ = 0;
  bool heldBack_ = false;
  CheckProgress lastProgress_;
};

// The App's check run window, made on first use. Dropping it makes the
// next use make a new one.
intCheck& CheckWindow(App& app);
bool HasCheckWindow(const App& app);
void DropCheckWindow(App& app);

}  // namespace kv
