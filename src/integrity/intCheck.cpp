#include "integrity/intCheck.h"

#include <windowsx.h>

#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "controls/link_label.h"
#include "controls/notice_menu.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/busy_flag.h"
#include "core/findings_notice.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "controls/palette.h"
#include "controls/theme.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/check_modes.h"
#include "integrity/check_request.h"
#include "integrity/checksum/checksum_pipeline.h"
#include "context/scan_document.h"
#include "integrity/intCheck_ids.h"
#include "logs/run_end.h"
#include "platform/files.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

using namespace intcheck_ids;
namespace palette = controls::palette;

constexpr char kClassName[] = "KorvanelIntCheck";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr controls::Typeface kBold{"Segoe UI", 9, FW_SEMIBOLD};

bool Shown(HWND h) { return h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

// --- window -----------------------------------------------------------------

intCheck::intCheck(App& app)
    : app_(app),
      readers_(Readers(app)),
      list_(app, [this]() -> const std::vector<FileVerdict>& { return *findings_; }) {
  // The class keeps its background brush for the life of the process.
  static const controls::Brush background = controls::SolidBrush(palette::kCheckWindow);
  const UINT dpi = controls::WindowDpi(nullptr);
  Create(controls::WindowClass{kClassName, 0, background.get(), true}, 0, "Integrity Checker",
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, controls::Scale(560, dpi), controls::Scale(440, dpi), nullptr);
  // Where the user left it, else in the middle of the screen.
  const std::string data = app_.appDir + "Data\\";
  if (const auto kept = KeptWindowPlace(data, "intCheck"))
    RestorePlace(kept);
  else
    CentreOnScreen();
  PlaceChanged = [data](const WindowPlace& place) { KeepWindowPlace(data, "intCheck", place); };
  CreateControls();
  LoadScannerFields();
  controls::UseDialogKeys(kClassName);
}

intCheck::~intCheck() {
  if (hwnd_) {
    KillTimer(hwnd_, kTimer1);
    KillTimer(hwnd_, kTimerPublisher);
  }
  Destroy();
}

void intCheck::CreateControls() {
  constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;  // each panel shows its own
  constexpr DWORD kShown = WS_VISIBLE | kLabel;
  constexpr DWORD kLink = kLabel | SS_NOTIFY;

  // Step markers along the top: one lit per view.
  const char* steps[3] = {"1  Checking files", "2  Results", "3  New and failed files"};
  for (int i = 0; i < 3; ++i)
    stepLabel_[i] = MakeRow({0, "STATIC", steps[i], kShown, 20 + i * 175, 14, 170, 20, kText});

  // Progress panel: six category lines and the custom-folder line.
  for (int i = 1; i <= 7; ++i) {
    const int y = 50 + (i - 1) * 34;
    const char* title = i <= 6 ? Category(i).title : "Custom Folder";
    titleLabel[i] = MakeRow({0, "STATIC", title, kLabel, 24, y, 330, 18, kBold});
    fileLabel[i] = MakeRow({0, "STATIC", "", kLabel, 40, y + 16, 400, 16, kText});
    percentLabel[i] = MakeRow({0, "STATIC", "0%", kLabel | SS_RIGHT, 450, y, 70, 18, kText});
    panels_[1].insert(panels_[1].end(), {titleLabel[i], fileLabel[i], percentLabel[i]});
  }
  l_cust2 = titleLabel[7];

  // Result panel: six counts, each after its caption.
  const char* captions[6] = {"Total Files Scanned:", "New Files:",     "Failed Files:",
                             "Unreadable Files:",    "Missing Files:", "Passing Files:"};
  HWND* values[6] = {&Label6, &Label8, &Label9, &Label15, &Label16, &Label7};
  for (int i = 0; i < 6; ++i) {
    const int y = 58 + i * 26;
    panels_[2].push_back(MakeRow({0, "STATIC", captions[i], kLabel, 40, y, 200, 20, kText}));
    *values[i] = MakeRow({0, "STATIC", "0", kLabel, 250, y, 120, 20, kBold});
    panels_[2].push_back(*values[i]);
  }

  // Failed-files panel.
  panels_[3].push_back(MakeRow({0, "STATIC", "New and Failed Files:", kLabel, 24, 50, 300, 18, kBold}));
  List1 = list_.Create(hwnd_, kList1, kTimerPublisher);
  list_.ScanFile = [this](const FileVerdict& file) { ScanFinding(file); };
  // Hidden, the list keeps no scroll bars up to date for findings nobody sees yet.
  SendMessageA(List1, WM_SETREDRAW, FALSE, 0);
  Place(List1, 24, 72, 496, 180, kText);
  OnDpiChanged();
  panels_[3].push_back(List1);

  // The frames only group; the links follow the list in tab order, then
  // the status line, pause and close.
  const bool plain = app_.edition.plainControls;
  const controls::ControlRow<intCheck> rows[] = {
      {&intCheck::Frame1, {0, "STATIC", "", kLabel, 12, 44, 520, 250, kText}},
      {&intCheck::Frame2, {0, "STATIC", "", kLabel, 12, 44, 520, 250, kText}},
      {&intCheck::Frame3, {0, "STATIC", "", kLabel, 12, 44, 520, 250, kText}},
      {&intCheck::Label14, {0, "STATIC", "Scan Complete. No new or modified files were found.", kLabel, 40, 220, 460, 20, kText}},
      {&intCheck::Label2, {kLabel2, "STATIC", "Repair and Update Failed Files...", kLink, 40, 250, 460, 22, kBold}},
      {&intCheck::Label12, {kLabel12, "STATIC", "Scan Failing Files...", kLink, 24, 260, 460, 22, kBold}},
      {&intCheck::Label13, {0, "STATIC", "Scanning...Please Wait", kShown, 20, 310, 330, 20, kText}},
      {&intCheck::Label11, {kLabel11, "STATIC", "Resume", kLink, 20, 340, 80, 20, kBold}},
      {&intCheck::Image9, {kImage9, cButton::kClassName, "Pause", 0, 300, 350, 110, 30}},
      {&intCheck::Image11, {kImage11, cButton::kClassName, plain ? "Cancel" : "Close", 0, 420, 350, 110, 30}},
  };
  MakeControls(rows, plain);
  panels_[2].push_back(Label2);
  panels_[3].push_back(Label12);
  for (HWND link : {Label2, Label12, Label11}) controls::MakeKeyboardLink(link);
  Image9.Click = [this] { PauseToggle(); };
  Image11.Click = [this] { Command1_Click(); };
  ShowPanel(1);
}

void intCheck::Show() { ShowWindow(hwnd_, SW_SHOWNORMAL); }
void intCheck::Hide() { ShowWindow(hwnd_, SW_HIDE); }
void intCheck::Minimize() { ShowWindow(hwnd_, SW_MINIMIZE); }
bool intCheck::Visible() const { return IsWindowVisible(hwnd_); }

std::string intCheck::Title() const { return Text(hwnd_); }
void intCheck::SetTitle(const std::string& text) {
  title_ = text;
  // Wide, so that a title made of wide text reads back as it was made.
  SetWindowTextW(hwnd_, WideText(text).c_str());
}

std::string intCheck::Text(HWND control) { return controls::ControlText(control); }

void intCheck::SetText(HWND control, const std::string& text) {
  SetWindowTextA(control, text.c_str());
}

std::vector<std::string> intCheck::ListLines() const { return list_.Lines(); }


bool intCheck::IsShown(HWND control) { return Shown(control); }

void intCheck::ShowPanel(int panel) {
  for (int p = 1; p <= 3; ++p)
    for (HWND h : panels_[p]) ShowWindow(h, p == panel ? SW_SHOWNA : SW_HIDE);
  SendMessageA(List1, WM_SETREDRAW, panel == 3, 0);
  if (panel == 3) InvalidateRect(List1, nullptr, TRUE);
  ShowWindow(Frame1, SW_HIDE);  // the frames only group; their lines carry the look
  for (int i = 0; i < 3; ++i)
    stepColor_[i] = (i + 1 == panel) ? palette::kCheckAction : palette::kCheckStepOff;
  for (HWND s : stepLabel_) InvalidateRect(s, nullptr, TRUE);
  if (panel != 2) ShowWindow(Label14, SW_HIDE);
  panel_ = panel;
  RescueFocus();
}

void intCheck::SetLabelColor(HWND label, COLORREF color) {
  labelColors_[label] = color;
  InvalidateRect(label, nullptr, TRUE);
}

COLORREF intCheck::LabelColor(HWND label) const {
  const auto found = labelColors_.find(label);
  return found == labelColors_.end() ? controls::kBlack : found->second;
}

bool intCheck::OnTimer(UINT_PTR id) {
  if (id == kTimer1) RunCheck();
  if (id == kTimerPublisher) list_.OnTimer();
  return true;
}

bool intCheck::OnCommand(int id, int code, HWND from) {
  // Esc: what the close button does.
  if (id == IDCANCEL && !from) {
    Command1_Click();
    return true;
  }
  if (code == STN_CLICKED) {
    switch (id) {
      case kLabel2: Label2_Click(); break;
      case kLabel11: PauseToggle(); break;
      case kLabel12: Label12_Click(); break;
    }
  }
  return true;
}

// The placed controls have moved already; the list's scroll width follows.
void intCheck::OnDpiChanged() { list_.SetColumnWidths(Dpi()); }

bool intCheck::OnHelp() {
  app_.OpenHelp("integrity.html");
  return true;
}

bool intCheck::OnClose() {
  CloseBox();
  return true;
}

bool intCheck::OnEraseBackground(HDC dc) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  FillRect(dc, &c, Ground());
  return true;
}

HBRUSH intCheck::Ground() const {
  if (controls::HighContrast()) return GetSysColorBrush(COLOR_WINDOW);
  return reinterpret_cast<HBRUSH>(GetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND));
}

std::optional<controls::Window::LabelLook> intCheck::OnLabelLook(HWND c) {
  if (controls::HighContrast()) {
    int ink = COLOR_WINDOWTEXT;
    if (c == Label2 || c == Label12 || c == Label11) ink = COLOR_HOTLIGHT;
    for (int i = 0; i < 3; ++i)
      if (c == stepLabel_[i] && stepColor_[i] != palette::kCheckAction) ink = COLOR_GRAYTEXT;
    return LabelLook{GetSysColor(ink), Ground()};
  }
  COLORREF color = controls::kBlack;
  if (auto it = labelColors_.find(c); it != labelColors_.end()) color = it->second;
  for (int i = 0; i < 3; ++i)
    if (c == stepLabel_[i]) color = stepColor_[i];
  if (c == Label2 || c == Label12 || c == Label11) color = palette::kCheckAction;
  return LabelLook{color, Ground()};
}

HCURSOR intCheck::OnChildPointer(HWND c) {
  return c == Label2 || c == Label12 || c == Label11 ? LoadCursor(nullptr, IDC_HAND) : nullptr;
}

// --- scanner fields -------------------------------------------------------------

void intCheck::LoadScannerFields() {
  if (auto first = ReadSetting(app_, "ANTIVIRUS")) TakeScannerSetting(*first, Text1, Text2);
  if (auto second = ReadSetting(app_, "AV2")) TakeScannerSetting(*second, textav1, textav2);
}

// --- preparation ------------------------------------------------------------------

void intCheck::resetCategoryLabels() {
  for (int i = 1; i <= 7; ++i)
    for (HWND h : {titleLabel[i], fileLabel[i], percentLabel[i]}) SetLabelColor(h, controls::kBlack);
  SetText(Label12, "Scan Failing Files...");
  SetText(Label2, "Repair and Update Failed Files...");
  failedFilesClose_ = resultCloses_ = false;
  SetText(Label13, "Scanning...Please Wait");
  // The reset is seen before the work that follows it starts.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void intCheck::lUp(CheckRequest request) {
  const bool wasBuilding = app_.scanDocument != nullptr;
  // A missing baseline may start the first full scan: it is prepared here,
  // as this run.
  EnsureBaseline(app_, FirstScanCheck::LeftToCaller);
  if (app_.ended) return;
  const bool building = app_.scanDocument != nullptr;
  const bool firstScanStarted = !wasBuilding && building;
  if (firstScanStarted) Show();
  // Files left listed because nothing could settle them are found again
  // by this run, if they still cannot be read.
  if (onlyUnsettled_) ClearFindings();
  resetCategoryLabels();
  control_->pause = false;
  ShowPanel(1);
  ShowWindow(Label11, SW_HIDE);
  ShowWindow(Image9.hwnd(), SW_SHOWNA);
  ShowWindow(Label14, SW_HIDE);
  for (int c = 1; c <= 7; ++c) {
    SetText(titleLabel[c], c <= 6 ? Category(c).title : "Custom Folder");
    SetText(percentLabel[c], "0%");
    SetText(fileLabel[c], "");
  }
  const bool manual = StartedByUser(request.why);
  if (building) request.why = CheckReason::FirstFullScan;
  request = PrepareRequest(app_, std::move(request));
  shown_ = request;
  manualRun_ = manual;
  if (manual) Show();
  if (auto first = ReadSetting(app_, "ANTIVIRUS")) TakeScannerSetting(*first, Text1, Text2);
  // Counting pumps messages: the run is kept here until it is counted, so
  // that a second lUp meanwhile prepares a run of its own.
  auto counted = std::make_unique<CheckRun>(app_, std::move(request), *this, readers_, control_);
  counted->Count();
  if (app_.ended) return;
  prepared_ = std::move(counted);
  if (firstScanStarted) app_.windows.SetMainCaption(app_, "Welcome to Korvanel");
  timerArmed_ = true;
  SetTimer(hwnd_, kTimer1, 1, nullptr);
}

// --- the run ------------------------------------------------------------------------

void intCheck::RunCheck() {
  KillTimer(hwnd_, kTimer1);
  if (running_ || scanningFailedFiles_) {
    // A new run was prepared while the previous one is still unwinding from
    // a message pump, or while its files are handed over and accepted (the
    // baselines are being rewritten then): start it once that has returned.
    SetTimer(hwnd_, kTimer1, 1, nullptr);
    return;
  }
  timerArmed_ = false;
  if (!prepared_) return;
  std::unique_ptr<CheckRun> check = std::move(prepared_);
  running_ = true;
  // A check the user started is a run of its own; an unattended run was
  // opened at start-up and goes on after the check.
  const CheckReason why = check->Request().why;
  if (!app_.Start().Unattended() && why != CheckReason::FirstFullScan &&
      why != CheckReason::FirstFolderScan)
    StartRunReport(app_, true);
  check->UseBaseline(app_.algorithmName, app_.baselineFile);
  check->Run();
  running_ = false;
  // An ended check has nothing left to pause; a run queued meanwhile keeps it.
  if (!prepared_ && hwnd_) {
    ShowWindow(Image9.hwnd(), SW_HIDE);
    ShowWindow(Label11, SW_HIDE);
    RescueFocus();
  }
  // The run's own copy of the findings goes before the scan of failing
  // files makes more: with a hundred thousand of them it is tens of megabytes.
  const CheckTally tally = check->Tally();
  const CheckRequest request = check->Request();
  check.reset();
  if (!app_.ended) EndCheckRun(app_, *this, request, tally);
}

void intCheck::PassStarted(const CheckPass& pass) {
  if (pass.index > 0) {
    SetText(l_cust2, "Custom Folder " + Dec(long(pass.index)) + "/" + Dec(long(pass.queued)));
  }
  resetCategoryLabels();
}

void intCheck::CategorySkipped(int category) {
  SetText(titleLabel[category], Category(category).notScanning);
}

void intCheck::CategoryStarted(int category) {
  for (HWND h : {titleLabel[category], fileLabel[category], percentLabel[category]})
    SetLabelColor(h, palette::kCheckRunning);
  heldBack_ = false;
}

namespace {
constexpr unsigned long long kDisplayIntervalMs = 50;
}

void intCheck::FileStarted(int category, const std::string& name) {
  if (!InSecureShutDown(shown_.why) && GetTickCount64() - lastShown_ >= kDisplayIntervalMs)
    SetText(fileLabel[category], name);
}

void intCheck::FileChecked(const FileVerdict& verdict) {
  if (!verdict.finding) return;
  OwnFindings().push_back(verdict);
  list_.Sync();
}

std::vector<FileVerdict>& intCheck::OwnFindings() {
  if (findings_.use_count() > 1) findings_ = std::make_shared<std::vector<FileVerdict>>(*findings_);
  return *findings_;
}

void intCheck::Progress(const CheckProgress& progress) {
  lastProgress_ = progress;
  heldBack_ = true;
  // Findings too wait for the display interval: shown one by one, thousands
  // of them kept the window busy repainting its counters.
  if (GetTickCount64() - lastShown_ >= kDisplayIntervalMs) ShowProgressNow(progress);
}

void intCheck::ShowProgressNow(const CheckProgress& p) {
  lastShown_ = GetTickCount64();
  heldBack_ = false;
  if (InSecureShutDown(shown_.why)) {
    app_.windows.SetShutDownProgress(app_, p.categoryPercent);
    return;
  }
  if (!p.fileName.empty()) SetText(fileLabel[p.category], p.fileName);
  SetTitle(Dec(p.RunPercent()) + "% AutoCheck");
  SetText(percentLabel[p.category], Dec(p.categoryPercent) + "%");
  CheckTally counted;
  counted.checked = p.checked;
  counted.newFiles = p.newFiles;
  counted.changed = p.changed;
  counted.unreadable = p.unreadable;
  counted.missing = p.missing;
  ShowCounters(counted);
}

void intCheck::ShowCounters(const CheckTally& t) {
  SetText(Label6, Dec(t.checked));
  SetText(Label9, Dec(t.changed));
  SetText(Label8, Dec(t.newFiles));
  SetText(Label15, Dec(t.unreadable));
  SetText(Label16, Dec(t.missing));
  SetText(Label7, Dec(t.Passing()));
}

void intCheck::CategoryEnded(int category, bool complete) {
  // The last file's progress may have been held back by the display
  // interval: it is shown now.
  if (heldBack_) ShowProgressNow(lastProgress_);
  if (complete && !InSecureShutDown(shown_.why)) SetText(percentLabel[category], "100%");
}

void intCheck::PassEnded(const CheckPass&) {}

void intCheck::RunEnded(const CheckTally& tally) {
  tally_ = tally;
  if (!InSecureShutDown(shown_.why)) ShowCounters(tally);
}

void intCheck::ShowClean() {
  ShowWindow(Label14, SW_SHOWNA);
  SetText(Label2, "Close Integrity Check Window");
  resultCloses_ = true;
}

void intCheck::ShowResults(bool clean, bool stopped) {
  if (stopped) {
    ShowPanel(1);
  } else {
    ShowPanel(2);
    if (clean) ShowWindow(Label14, SW_SHOWNA);
    SetText(Label13, "Results");
  }
}

void intCheck::NotifyFindings(const CheckTally& tally) {
  const FindingCounts counts{tally.newFiles, tally.changed, tally.unreadable, tally.missing, 0};
  SetTitle(NarrowText(FindingsWindowTitle(counts)));
  app_.host.ShowNotifyIcon(hwnd_, FindingsNoticeTitle(counts), FindingsNoticeText(counts));
  noticeShown_ = true;
}

void intCheck::DismissNotice() {
  if (!noticeShown_) return;
  noticeShown_ = false;
  app_.host.HideNotifyIcon(hwnd_);
}

void intCheck::ReviewFindings() {
  DismissNotice();
  ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}

void intCheck::OnSize(int, int) {
  // Opened from the taskbar: the findings are in front of the user now.
  if (noticeShown_ && !IsIconic(hwnd_) && IsWindowVisible(hwnd_)) DismissNotice();
}

LRESULT intCheck::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // An icon outlives its window unless it is taken away with it.
  if (msg == WM_DESTROY) DismissNotice();
  if (msg == WM_NOTIFY && lp) {
    LRESULT result = 0;
    if (list_.OnNotify(*reinterpret_cast<const NMHDR*>(lp), result)) return result;
  }
  if (msg == WM_CONTEXTMENU && HWND(wp) == List1) {
    list_.ShowMenu(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    return 0;
  }
  if (msg != kNotifyIconMessage) return Window::OnMessage(msg, wp, lp);
  switch (controls::NoticeActionOf(hwnd_, lp)) {
    case controls::NoticeAction::Review: ReviewFindings(); break;
    case controls::NoticeAction::Dismiss: DismissNotice(); break;
    case controls::NoticeAction::None: break;
  }
  return 0;
}

// --- the scan of failing files ---------------------------------------------------------

void intCheck::ScanFailing(bool endingBaselineRun) {
  // Waiting for the scanners and reading the settings pump messages; a
  // second click arriving then would hand the same files to the scanners
  // and log them again.
  if (scanningFailedFiles_) return;
  const BusyFlag busy(scanningFailedFiles_);
  ScanFailingFiles(app_, *this, findings_, {{Text1, Text2}, {textav1, textav2}}, shown_.why,
                   endingBaselineRun);
}

void intCheck::ScanFinding(const FileVerdict& file) {
  if (scanningFailedFiles_) return;
  const BusyFlag busy(scanningFailedFiles_);
  ScanOneFile(app_, file, {{Text1, Text2}, {textav1, textav2}});
}

void intCheck::ShowStatus(const std::string& text) { SetText(Label13, text); }

void intCheck::ShowUpdating() {
  titleBeforeUpdate_ = title_;
  SetTitle("Updating - Please Wait...");
}

void intCheck::ShowUpdated() {
  SetTitle("Integrity File(s) Updated");
  SetText(Label13, "Integrity File Updated");
  SetText(Label12, "Close Integrity Window");
  failedFilesClose_ = true;
}

void intCheck::ShowNotUpdated() { SetTitle(titleBeforeUpdate_); }

void intCheck::ClearFindings() {
  findings_ = std::make_shared<std::vector<FileVerdict>>();
  list_.Reset();
  onlyUnsettled_ = false;
}

void intCheck::KeepFindings(const std::vector<FileVerdict>& left) {
  // What is kept was left by a scan of failing files: a first folder
  // scan's files are in its baseline now, and those left are not taken in
  // unscanned.
  if (shown_.why == CheckReason::FirstFolderScan) shown_.why = CheckReason::Manual;
  findings_ = std::make_shared<std::vector<FileVerdict>>(left);
  list_.Reset();
  onlyUnsettled_ = !left.empty();
}

// --- user requests --------------------------------------------------------------------

void intCheck::PauseToggle() {
  control_->pause = !control_->pause;
  ShowWindow(Label11, control_->pause ? SW_SHOWNA : SW_HIDE);
}

void intCheck::Label2_Click() {
  if (resultCloses_) {
    Command1_Click();
    return;
  }
  ShowPanel(3);
  SetText(Label13, "Failed Files List");
}

void intCheck::Label12_Click() {
  if (scanningFailedFiles_) return;
  if (shown_.why != CheckReason::FirstFolderScan && failedFilesClose_) {
    Command1_Click();
    return;
  }
  ScanFailing(false);
}

bool intCheck::ConfirmLeavingFailedFiles() {
  if (findings_->empty()) return true;
  if (app_.Ask("Some files failed the integrity check!  Are you sure you want to exit?",
               MsgButtons::YesNo, "Warning") == MsgAnswer::No)
    return false;
  ClearFindings();
  return true;
}

void intCheck::Command1_Click() { StopOrClose(false, manualRun_, false); }

void intCheck::StopForManualRun(bool reloadSystemBaseline) {
  StopOrClose(false, true, reloadSystemBaseline);
}

bool intCheck::CloseBox() { return StopOrClose(true, manualRun_, false); }

bool intCheck::StopOrClose(bool closeBox, bool manual, bool reloadSystemBaseline) {
  control_->pause = false;
  ShowWindow(Label11, SW_HIDE);
  if (!closeBox) {
    EnsureBaseline(app_);
    if (app_.ended) return true;
  }
  if (!ConfirmLeavingFailedFiles()) return false;
  if (manual) {
    control_->stop = true;
    KillTimer(hwnd_, kTimer1);
    timerArmed_ = false;
    const bool systemDirectory = shown_.folders.empty() || shown_.folders.front().path.empty();
    if (closeBox || reloadSystemBaseline || systemDirectory)
      LoadSystemBaseline(app_, app_.baselineFile);
    Hide();
    return true;
  }
  if (!app_.scanDocument) {
    app_.EndProgram();
    return true;
  }
  if (app_.Ask("If you stop the scan now, you will need to re-start it later\r\nAre you sure you "
               "want to abandon the full system scan?",
               MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  DropScanDocument(app_);
  DeleteFileAt(app_.baselineFile);
  app_.EndProgram();
  return true;
}

intCheck& CheckWindow(App& app) { return app.kept.Get<intCheck>(app); }
bool HasCheckWindow(const App& app) { return app.kept.Find<intCheck>() != nullptr; }
void DropCheckWindow(App& app) { app.kept.Drop<intCheck>(); }

}  // namespace kv
