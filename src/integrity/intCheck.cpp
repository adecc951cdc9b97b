#include "integrity/intCheck.h"

#include <windowsx.h>

#include "app/app.h"
#include "app/mForm1.h"
#include "app/settings.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "controls/theme.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/full_scan.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "shutdown/unattended.h"

namespace kv {

namespace {

constexpr char kClassName[] = "KorvanelIntCheck";
constexpr UINT_PTR kTimer1 = 1;
constexpr int kIdLabel2 = 102, kIdLabel11 = 111, kIdLabel12 = 112;

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

intCheck::intCheck(App& app) : app_(app) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = &intCheck::WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(248, 249, 251));
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    wc.lpszClassName = kClassName;
    registered = RegisterClassExA(&wc) != 0;
  }
  const UINT dpi = GetDpiForSystemOrDefault();
  auto S = [dpi](int v) { return controls::Scale(v, dpi); };
  hwnd_ = CreateWindowExA(0, kClassName, "Integrity Checker",
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                          CW_USEDEFAULT, CW_USEDEFAULT, S(560), S(440), nullptr, nullptr,
                          GetModuleHandleA(nullptr), this);
  CreateControls();
  LoadScannerFields();
}

intCheck::~intCheck() {
  if (hwnd_) {
    KillTimer(hwnd_, kTimer1);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

UINT intCheck::GetDpiForSystemOrDefault() {
  HDC dc = GetDC(nullptr);
  UINT dpi = dc ? UINT(GetDeviceCaps(dc, LOGPIXELSX)) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi ? dpi : 96;
}

void intCheck::CreateControls() {
  const UINT dpi = GetDpiForSystemOrDefault();
  auto S = [dpi](int v) { return controls::Scale(v, dpi); };
  font_ = controls::CreateCaptionFont(dpi, false);
  bold_ = CreateFontA(-MulDiv(9, int(dpi), 72), 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                      CLEARTYPE_QUALITY, 0, "Segoe UI");
  auto label = [&](const char* text, int x, int y, int w, int h, int id = 0, DWORD extra = 0,
                   HFONT f = nullptr) {
    HWND c = CreateWindowExA(0, "STATIC", text, WS_CHILD | SS_LEFT | SS_NOPREFIX | extra, S(x), S(y),
                             S(w), S(h), hwnd_, HMENU(INT_PTR(id)), GetModuleHandleA(nullptr),
                             nullptr);
    SendMessageA(c, WM_SETFONT, WPARAM(f ? f : font_.get()), FALSE);
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
    titleLabel[i] = label(i <= 6 ? kCategories[i].title : "Custom Folder", 24, y, 330, 18, 0, 0, bold_);
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
    *values[i] = label("0", 250, 62 + i * 30, 120, 20, 0, 0, bold_);
    panels_[2].push_back(*values[i]);
  }
  Label14 = label("Scan Complete. No new or modified files were found.", 40, 190, 460, 20);
  Label2 = label("Repair and Update Failed Files...", 40, 230, 460, 22, kIdLabel2, SS_NOTIFY, bold_);
  panels_[2].push_back(Label2);

  // Failed-files panel.
  panels_[3].push_back(label("New and Failed Files:", 24, 50, 300, 18, 0, 0, bold_));
  List1 = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                          WS_CHILD | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                          S(24), S(72), S(496), S(180), hwnd_, nullptr, GetModuleHandleA(nullptr),
                          nullptr);
  SendMessageA(List1, WM_SETFONT, WPARAM(font_.get()), FALSE);
  SendMessageA(List1, LB_SETHORIZONTALEXTENT, WPARAM(S(2000)), 0);
  panels_[3].push_back(List1);
  Label12 = label("Scan Failing Files...", 24, 260, 460, 22, kIdLabel12, SS_NOTIFY, bold_);
  panels_[3].push_back(Label12);

  // Status line, pause and close.
  Label13 = shown(label("Scanning...Please Wait", 20, 310, 330, 20));
  Label11 = label("Resume", 20, 340, 80, 20, kIdLabel11, SS_NOTIFY, bold_);
  const bool plain = app_.edition.plainControls;
  Image9.Create(hwnd_, 109, S(300), S(350), S(110), S(30), "Pause", plain);
  Image11.Create(hwnd_, 110, S(420), S(350), S(110), S(30), plain ? "Cancel" : "Close", plain);
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

std::string intCheck::Text(HWND control) {
  const int n = GetWindowTextLengthA(control);
  std::string s(size_t(n) + 1, '\0');
  s.resize(size_t(GetWindowTextA(control, s.data(), n + 1)));
  return s;
}

void intCheck::SetText(HWND control, const std::string& text) {
  SetWindowTextA(control, text.c_str());
}

std::vector<std::string> intCheck::ListLines() const {
  std::vector<std::string> lines;
  const int n = int(SendMessageA(List1, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::string s(size_t(SendMessageA(List1, LB_GETTEXTLEN, WPARAM(i), 0)) + 1, '\0');
    s.resize(size_t(SendMessageA(List1, LB_GETTEXT, WPARAM(i), LPARAM(s.data()))));
    lines.push_back(std::move(s));
  }
  return lines;
}

void intCheck::AddListLine(const std::string& line) {
  SendMessageA(List1, LB_ADDSTRING, 0, LPARAM(line.c_str()));
}

void intCheck::ClearList() { SendMessageA(List1, LB_RESETCONTENT, 0, 0); }

bool intCheck::IsShown(HWND control) { return Shown(control); }

void intCheck::ShowPanel(int panel) {
  for (int p = 1; p <= 3; ++p)
    for (HWND h : panels_[p]) ShowWindow(h, p == panel ? SW_SHOWNA : SW_HIDE);
  ShowWindow(Frame1, SW_HIDE);  // the frames only group; their lines carry the look
  for (int i = 0; i < 3; ++i) stepColor_[i] = (i + 1 == panel) ? RGB(0, 84, 166) : RGB(150, 150, 150);
  for (HWND s : stepLabel_) InvalidateRect(s, nullptr, TRUE);
  if (panel != 2) ShowWindow(Label14, SW_HIDE);
  panel_ = panel;
}

void intCheck::SetLabelColor(HWND label, COLORREF color) {
  labelColors_[label] = color;
  InvalidateRect(label, nullptr, TRUE);
}

COLORREF intCheck::LabelColor(HWND label) const {
  const auto found = labelColors_.find(label);
  return found == labelColors_.end() ? RGB(0, 0, 0) : found->second;
}

LRESULT CALLBACK intCheck::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<intCheck*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = h;
  }
  auto* self = reinterpret_cast<intCheck*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  try {
    return self->Handle(msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

LRESULT intCheck::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) RunCheck();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == STN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdLabel2: Label2_Click(); break;
          case kIdLabel11: PauseToggle(); break;
          case kIdLabel12: Label12_Click(); break;
        }
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = HDC(wp);
      HWND c = HWND(lp);
      COLORREF color = RGB(0, 0, 0);
      if (auto it = labelColors_.find(c); it != labelColors_.end()) color = it->second;
      for (int i = 0; i < 3; ++i)
        if (c == stepLabel_[i]) color = stepColor_[i];
      if (c == Label2 || c == Label12 || c == Label11) color = RGB(0, 84, 166);
      SetTextColor(dc, color);
      SetBkMode(dc, TRANSPARENT);
      return LRESULT(GetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND));
    }
    case WM_SETCURSOR:
      if (HWND(wp) == Label2 || HWND(wp) == Label12 || HWND(wp) == Label11) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      CloseBox();
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

// --- scanner fields -------------------------------------------------------------

void intCheck::LoadScannerFields() {
  if (auto first = ReadSetting(app_, "ANTIVIRUS")) TakeScannerSetting(*first, Text1, Text2);
  if (auto second = ReadSetting(app_, "AV2")) TakeScannerSetting(*second, textav1, textav2);
}

// --- preparation ------------------------------------------------------------------

void intCheck::resetCategoryLabels() {
  for (int i = 1; i <= 7; ++i)
    for (HWND h : {titleLabel[i], fileLabel[i], percentLabel[i]}) SetLabelColor(h, RGB(0, 0, 0));
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
    PumpMessages();
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

void intCheck::CheckFolderPass() {
  RunState& run = app_.run;
  resetCategoryLabels();
  for (int c = 1; c <= 6; ++c) {
    if (app_.ended || run.abortRequested) return;
    if (!*run.CategoryFlag(c)) {
      SetText(titleLabel[c], kCategories[c].notScanning);
      continue;
    }
    run.currentCategory = c;
    for (HWND h : {titleLabel[c], fileLabel[c], percentLabel[c]})
      SetLabelColor(h, RGB(64, 64, 64));
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
  if (run.baselineScanActive) {
    run.baselineScanActive = false;
    FinishScanDocument(app_);
    LoadSystemBaseline(app_, app_.baselineFile);
    Hide();
    app_.Form1().Show();
  }
  if (!run.noAutoScanFailing && (run.InSecureShutDown() || app_.autoScanFailed)) {
    Label12_Click();
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
  if (run.InSecureShutDown()) ContinueSecureShutDown(app_);
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

}  // namespace kv
