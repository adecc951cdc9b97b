#include "integrity/intCheck.h"

#include <windowsx.h>

#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "controls/link_label.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "controls/palette.h"
#include "controls/theme.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/checksum/checksum_pipeline.h"
#include "integrity/checksum/clsHash.h"
#include "context/scan_document.h"
#include "integrity/full_scan.h"
#include "integrity/intCheck_ids.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

bool InCategory(const std::string& name, const std::string& ext1, const std::string& ext2) {
  const std::string suffix = UCase(Right(name, 4));
  return suffix == ext1 || suffix == ext2;
}

namespace {

using namespace intcheck_ids;
namespace palette = controls::palette;

constexpr char kClassName[] = "KorvanelIntCheck";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr controls::Typeface kBold{"Segoe UI", 9, FW_SEMIBOLD};

struct CategoryInfo {
  const char* ext1;
  const char* ext2;
  const char* countText;
  const char* title;
  const char* notScanning;
};
// Category 1..6 in checking order; "..." never matches a four-character suffix.
constexpr CategoryInfo kCategories[7] = {
    {},
    {".DLL", "...", ".dll", "DLL Scan", "DLL Scan --- Not Scanning"},
    {".DRV", "...", ".drv", "Driver Scan", "Driver Scan --- Not Scanning"},
    {".SYS", ".386", ".sys.386", "System Files Scan", "System Files --- Not Scanning"},
    {".OCX", "...", ".ocx", "OCX Scan", "OCX Scan --- Not Scanning"},
    {".EXE", ".COM", ".exe.com", "Executable Scan", "Executable Scan --- Not Scanning"},
    {".PIF", ".SCR", ".pif.scr", "Commonly Exploited Executable Scan",
     "Commonly Exploited Executables --- Not Scanning"},
};

int CategoryOfSuffix(const std::string& upperSuffix) {
  for (int c = 1; c <= 6; ++c)
    if (upperSuffix == kCategories[c].ext1 || upperSuffix == kCategories[c].ext2) return c;
  return 0;
}

bool Shown(HWND h) { return h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE); }

std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '\\') s += '\\';
  return s;
}

}  // namespace

// --- window -----------------------------------------------------------------

intCheck::intCheck(App& app) : app_(app), readAheadWorkers_(ChecksumPipeline::MachineWorkers()) {
  // The class keeps its background brush for the life of the process.
  static const controls::Brush background = controls::SolidBrush(palette::kCheckWindow);
  const UINT dpi = controls::WindowDpi(nullptr);
  Create(controls::WindowClass{kClassName, 0, background.get(), true}, 0, "Integrity Checker",
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, controls::Scale(560, dpi), controls::Scale(440, dpi), nullptr);
  CreateControls();
  LoadScannerFields();
  controls::UseDialogKeys(kClassName);
}

intCheck::~intCheck() {
  if (hwnd_) KillTimer(hwnd_, kTimer1);
  Destroy();
}

// Every control is placed at its 96-DPI spot, so a DPI change moves and
// re-fonts them all.
void intCheck::CreateControls() {
  auto label = [&](const char* text, int x, int y, int w, int h, int id = 0, DWORD extra = 0,
                   const controls::Typeface& font = kText) {
    HWND c = CreateWindowExA(0, "STATIC", text, WS_CHILD | SS_LEFT | SS_NOPREFIX | extra, 0, 0, 0, 0,
                             hwnd_, HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    Place(c, x, y, w, h, font);
    return c;
  };
  auto shown = [](HWND h) {
    ShowWindow(h, SW_SHOWNA);
    return h;
  };

  // Step markers along the top: one lit per view.
  const char* steps[3] = {"1  Checking files", "2  Results", "3  New and failed files"};
  for (int i = 0; i < 3; ++i) stepLabel_[i] = shown(label(steps[i], 20 + i * 175, 14, 170, 20));

  Frame1 = label("", 12, 44, 520, 250);
  Frame2 = label("", 12, 44, 520, 250);
  Frame3 = label("", 12, 44, 520, 250);

  // Progress panel: six category lines and the custom-folder line.
  for (int i = 1; i <= 7; ++i) {
    const int y = 50 + (i - 1) * 34;
    titleLabel[i] = label(i <= 6 ? kCategories[i].title : "Custom Folder", 24, y, 330, 18, 0, 0, kBold);
    fileLabel[i] = label("", 40, y + 16, 400, 16);
    percentLabel[i] = label("0%", 450, y, 70, 18, 0, SS_RIGHT);
    panels_[1].insert(panels_[1].end(), {titleLabel[i], fileLabel[i], percentLabel[i]});
  }
  l_cust2 = titleLabel[7];

  // Result panel.
  const char* captions[4] = {"Total Files Scanned:", "New Files:", "Failed Files:",
                             "Passing Files:"};
  HWND* values[4] = {&Label6, &Label8, &Label9, &Label7};
  for (int i = 0; i < 4; ++i) {
    panels_[2].push_back(label(captions[i], 40, 62 + i * 30, 200, 20));
    *values[i] = label("0", 250, 62 + i * 30, 120, 20, 0, 0, kBold);
    panels_[2].push_back(*values[i]);
  }
  Label14 = label("Scan Complete. No new or modified files were found.", 40, 190, 460, 20);
  Label2 = label("Repair and Update Failed Files...", 40, 230, 460, 22, kLabel2, SS_NOTIFY, kBold);
  panels_[2].push_back(Label2);

  // Failed-files panel.
  panels_[3].push_back(label("New and Failed Files:", 24, 50, 300, 18, 0, 0, kBold));
  List1 = controls::MakeChild(hwnd_, "LISTBOX", 0, "",
                              WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                              WS_EX_CLIENTEDGE);
  Place(List1, 24, 72, 496, 180, kText);
  OnDpiChanged();
  panels_[3].push_back(List1);
  Label12 = label("Scan Failing Files...", 24, 260, 460, 22, kLabel12, SS_NOTIFY, kBold);
  panels_[3].push_back(Label12);

  // Status line, pause and close.
  Label13 = shown(label("Scanning...Please Wait", 20, 310, 330, 20));
  Label11 = label("Resume", 20, 340, 80, 20, kLabel11, SS_NOTIFY, kBold);
  const bool plain = app_.edition.plainControls;
  Image9.Create(hwnd_, kImage9, 0, 0, 0, 0, "Pause", plain);
  Image11.Create(hwnd_, kImage11, 0, 0, 0, 0, plain ? "Cancel" : "Close", plain);
  Place(Image9.hwnd(), 300, 350, 110, 30);
  Place(Image11.hwnd(), 420, 350, 110, 30);
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
void intCheck::SetTitle(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }

std::string intCheck::Text(HWND control) { return controls::ControlText(control); }

void intCheck::SetText(HWND control, const std::string& text) {
  SetWindowTextA(control, text.c_str());
}

std::vector<std::string> intCheck::ListLines() const { return controls::ListLines(List1); }

void intCheck::AddListLine(const std::string& line) {
  SendMessageA(List1, LB_ADDSTRING, 0, LPARAM(line.c_str()));
}

void intCheck::ClearList() { SendMessageA(List1, LB_RESETCONTENT, 0, 0); }

bool intCheck::IsShown(HWND control) { return Shown(control); }

void intCheck::ShowPanel(int panel) {
  for (int p = 1; p <= 3; ++p)
    for (HWND h : panels_[p]) ShowWindow(h, p == panel ? SW_SHOWNA : SW_HIDE);
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
void intCheck::OnDpiChanged() { SendMessageA(List1, LB_SETHORIZONTALEXTENT, WPARAM(Px(2000)), 0); }

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
  SetText(Label13, "Scanning...Please Wait");
  PumpMessages();
}

void intCheck::ReadCategories() {
  RunState& run = app_.run;
  auto value = ReadSetting(app_, run.InSecureShutDown() ? "GETSETT2" : "GETSETT");
  if (!value) return;
  const CategoryList list = ParseCategoryList(*value);
  for (int c = 1; c <= 6; ++c)
    if (list.category[size_t(c - 1)]) *run.CategoryFlag(c) = true;
  if (list.seventh) app_.autoScanFailed = true;
}

void intCheck::CountFolder(const std::string& folderPath) {
  RunState& run = app_.run;
  extensionSet.clear();
  for (int c = 1; c <= 6; ++c)
    if (*run.CategoryFlag(c)) extensionSet += kCategories[c].countText;
  const std::string upperSet = UCase(extensionSet);
  if (auto first = ReadSetting(app_, "ANTIVIRUS")) TakeScannerSetting(*first, Text1, Text2);
  const std::string folder =
      WithSlash(folderPath.empty() ? Trim(SystemDirectory()) : folderPath);
  auto names = ListDirectory(folder);
  if (!names) return;
  for (const std::string& name : *names) {
    const std::string suffix = UCase(Right(name, 4));
    // A name shorter than an extension is looked for as it is: "DLL" counts
    // towards the run, if towards no category.
    if (upperSet.find(suffix) != std::string::npos) {
      ++runTotal_;
      if (int c = CategoryOfSuffix(suffix)) ++categoryTotal[size_t(c)];
    }
    PumpWaitingMessages();
    if (app_.ended) return;
  }
}

void intCheck::lUp() {
  RunState& run = app_.run;
  EnsureBaseline(app_);
  if (app_.ended) return;
  resetCategoryLabels();
  run.pauseRequested = false;
  ShowPanel(1);
  ShowWindow(Label11, SW_HIDE);
  PumpMessages();
  ShowWindow(Label14, SW_HIDE);
  run.systemResults.clear();
  run.folderResults.clear();
  extensionSet.clear();
  run.folderQueue.clear();
  categoryTotal.fill(0);
  for (int c = 1; c <= 7; ++c) {
    SetText(titleLabel[c], c <= 6 ? kCategories[c].title : "Custom Folder");
    SetText(percentLabel[c], "0%");
    SetText(fileLabel[c], "");
  }
  run.categoryDone = run.failedCount = run.newCount = 0;

  if (run.manualScan) {
    Show();
  } else if (run.baselineScanActive) {
    for (int c = 1; c <= 6; ++c) *run.CategoryFlag(c) = true;
  } else {
    ReadCategories();
  }

  runTotal_ = 0;
  CountFolder(run.currentFolderPath);
  const bool interactive = !run.InSecureShutDown() && Trim(app_.commandLine).empty();
  if (!run.baselineScanGuard && !interactive) {
    const char* key = run.InSecureShutDown() ? "args2" : "args";
    for (int slot = 1; slot <= 20 && !app_.ended; ++slot) {
      const std::string value = ReadEntry(app_.settingsFile, key, Dec(slot));
      if (value.empty() || value.back() != '1') continue;
      run.folderQueue += Dec(slot) + ",";
      run.SetCategories(ParseCategoryList(value).category);
      run.currentFolderPath = ReadEntry(app_.settingsFile, "path", Dec(slot));
      CountFolder(WithSlash(run.currentFolderPath));
    }
    run.currentFolderPath.clear();
    run.ClearCategories();
    ReadCategories();
  }
  if (app_.ended) return;
  pb2max = Dec(runTotal_ == 0 ? 1 : runTotal_);
  folderCount_ = folderCounter_ = 0;
  timerArmed_ = true;
  SetTimer(hwnd_, kTimer1, 1, nullptr);
}

// --- the run ------------------------------------------------------------------------

void intCheck::StartPassPipeline() {
  passPipeline_.reset();
  passTaken_ = 0;
  if (readAheadWorkers_ == 0) return;
  const std::string folder = CheckedFolder();
  const auto names = ListDirectory(folder);
  if (!names) return;
  std::vector<std::string> paths;
  for (int c = 1; c <= 6; ++c) {
    if (!*app_.run.CategoryFlag(c)) continue;
    for (const std::string& name : *names)
      if (InCategory(name, kCategories[c].ext1, kCategories[c].ext2)) paths.push_back(folder + name);
  }
  if (!paths.empty()) passPipeline_ = StartPipeline(std::move(paths));
}

void intCheck::CheckFolderPass() {
  RunState& run = app_.run;
  resetCategoryLabels();
  StartPassPipeline();
  struct EndPass {
    intCheck& w;
    ~EndPass() { w.passPipeline_.reset(); }
  } endPass{*this};
  for (int c = 1; c <= 6; ++c) {
    if (app_.ended || run.abortRequested) return;
    if (!*run.CategoryFlag(c)) {
      SetText(titleLabel[c], kCategories[c].notScanning);
      continue;
    }
    run.currentCategory = c;
    for (HWND h : {titleLabel[c], fileLabel[c], percentLabel[c]})
      SetLabelColor(h, palette::kCheckRunning);
    pb1max = Dec(categoryTotal[size_t(c)]);
    IntegrityChecker2(kCategories[c].ext1, kCategories[c].ext2);
  }
}

void intCheck::RunCheck() {
  KillTimer(hwnd_, kTimer1);
  if (running_) {
    // A new run was prepared while the previous one is still unwinding from
    // a message pump: start it once that one has returned.
    SetTimer(hwnd_, kTimer1, 1, nullptr);
    return;
  }
  timerArmed_ = false;
  running_ = true;
  RunState& run = app_.run;
  run.abortRequested = false;
  pb1max = pbm = "0";
  for (;;) {
    CheckFolderPass();
    if (app_.ended) break;
    if (run.folderQueue.empty() || run.abortRequested) break;
    const std::string slot = run.folderQueue.substr(0, run.folderQueue.find(','));
    if (folderCounter_ == 0) folderCount_ = int(std::count(run.folderQueue.begin(), run.folderQueue.end(), ','));
    ++folderCounter_;
    run.currentFolderPath = ReadEntry(app_.settingsFile, "path", slot);
    SetText(l_cust2, "Custom Folder " + Dec(folderCounter_) + "/" + Dec(folderCount_));
    PumpMessages();
    const std::string value =
        ReadEntry(app_.settingsFile, run.InSecureShutDown() ? "args2" : "args", slot);
    run.SetCategories(ParseCategoryList(value).category);
    run.currentFolderSlot = int(ParseLong(slot));
    run.folderQueue.erase(0, run.folderQueue.find(',') + 1);
    // A folder whose own baseline cannot be had is checked against none
    // (every file new), never against the one the previous folder left.
    if (!LoadFolderBaseline(app_, FolderBaselineFile(app_, run.currentFolderSlot)))
      app_.folderBaseline = Baseline();
    PumpMessages();
    if (app_.ended) break;
  }
  running_ = false;
  if (!app_.ended) EndOfRun();
}

void intCheck::EndOfRun() {
  RunState& run = app_.run;
  const bool baselineRun = run.baselineScanActive;
  if (run.baselineScanActive) {
    run.baselineScanActive = false;
    FinishScanDocument(app_);
    LoadSystemBaseline(app_, app_.baselineFile);
    Hide();
    app_.MainWindow().Show();
  }
  if (!run.noAutoScanFailing && (run.InSecureShutDown() || app_.autoScanFailed)) {
    endingBaselineRun_ = baselineRun;
    Label12_Click();
    endingBaselineRun_ = false;
    if (app_.ended) return;
  }
  if (!run.abortRequested && Text(Label6) == Text(Label7)) {
    ShowWindow(Label14, SW_SHOWNA);
    if (!run.InSecureShutDown() && run.autoLoadRun) {
      app_.EndProgram();
      return;
    }
  }
  if (Shown(Label14)) SetText(Label2, "Close Integrity Check Window");
  if (run.customFolderFirstScan) {
    Label12_Click();
    if (app_.ended) return;
  }
  const bool clean = Shown(Label14);
  if (run.abortRequested) {
    ShowPanel(1);
  } else {
    ShowPanel(2);
    if (clean) ShowWindow(Label14, SW_SHOWNA);
    SetText(Label13, "Results");
  }
  // Findings left in a window nobody looks at (the minimised one of a logon
  // check) ask for attention; the window stays as it is.
  if (!clean && !run.abortRequested && !run.InSecureShutDown() && IsIconic(hwnd_))
    app_.host.RequestAttention(hwnd_);
  if (run.InSecureShutDown()) app_.wiring.continueSecureShutDown(app_);
  PumpMessages();
}

// --- user requests --------------------------------------------------------------------

void intCheck::PauseToggle() {
  RunState& run = app_.run;
  run.pauseRequested = !run.pauseRequested;
  ShowWindow(Label11, run.pauseRequested ? SW_SHOWNA : SW_HIDE);
}

void intCheck::Label2_Click() {
  if (Text(Label2) == "Close Integrity Check Window") {
    Command1_Click();
    return;
  }
  ShowPanel(3);
  SetText(Label13, "Failed Files List");
}

bool intCheck::ConfirmLeavingFailedFiles() {
  if (SendMessageA(List1, LB_GETCOUNT, 0, 0) <= 0) return true;
  if (app_.Ask("Some files failed the integrity check!  Are you sure you want to exit?",
               MsgButtons::YesNo, "Warning") == MsgAnswer::No)
    return false;
  ClearList();
  return true;
}

void intCheck::Command1_Click() { StopOrClose(false); }

bool intCheck::CloseBox() { return StopOrClose(true); }

bool intCheck::StopOrClose(bool closeBox) {
  RunState& run = app_.run;
  if (!closeBox) run.folderQueue.clear();
  run.pauseRequested = false;
  ShowWindow(Label11, SW_HIDE);
  if (!closeBox) {
    EnsureBaseline(app_);
    if (app_.ended) return true;
  }
  if (!ConfirmLeavingFailedFiles()) return false;
  if (run.manualScan) {
    run.abortRequested = true;
    KillTimer(hwnd_, kTimer1);
    timerArmed_ = false;
    if (closeBox || run.currentFolderPath.empty()) LoadSystemBaseline(app_, app_.baselineFile);
    Hide();
    return true;
  }
  if (!run.baselineScanActive) {
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

intCheck& App::CheckWindow() {
  if (!checkWindow_) checkWindow_ = MakeOwned<intCheck>(*this);
  return *checkWindow_;
}

}  // namespace kv
