#include "settingsui/settings_pages.h"

#include <commctrl.h>

#include <cstdio>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/control_text.h"
#include "controls/palette.h"
#include "controls/system_look.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "logs/reports.h"
#include "integrity/checksum/file_checksum.h"
#include "platform/files.h"
#include "platform/pump.h"
#include "platform/wide_text.h"
#include "settingsui/settings_ids.h"
#include "settingsui/vDct.h"
#include "shutdown/shortcuts.h"
#include "update/update_check.h"

namespace kv {

using controls::Scale;
using namespace settings_ids;

namespace {

constexpr char kWarning[] = "Warning! Current options may cause errors!";

// Places children by rectangles given at 96 DPI from the area's top left
// corner; a width of 0 reaches the area's right edge.
struct Grid {
  RECT area;
  UINT dpi;
  int X(int x96) const { return area.left + Scale(x96, dpi); }
  void at(HWND w, int x, int y, int cx, int cy) const {
    if (!w) return;
    const int left = X(x);
    const int width = cx > 0 ? Scale(cx, dpi) : area.right - left;
    SetWindowPos(w, nullptr, left, area.top + Scale(y, dpi), std::max(width, 1), Scale(cy, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
};


// The height at 96 DPI a control's text takes when it wraps at `width`
// pixels (less `indent` for a check box's box), at least one line.
// The width (at 96 DPI) a control's text takes on one line in its font.
int LineWidth96(HWND control, UINT dpi) {
  const HWND parent = GetParent(control);
  HDC dc = GetDC(parent);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const std::string text = controls::ControlText(control);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(parent, dc);
  return MulDiv(size.cx, 96, int(dpi)) + 1;
}

int WrappedHeight96(HWND control, int width, int indent, UINT dpi) {
  const HWND parent = GetParent(control);
  HDC dc = GetDC(parent);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const std::string text = controls::ControlText(control);
  RECT box{0, 0, std::max(1, width - Scale(indent, dpi)), 0};
  DrawTextA(dc, text.c_str(), -1, &box, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(parent, dc);
  return MulDiv(std::max<int>(box.bottom, tm.tmHeight), 96, int(dpi)) + 2;
}

void SetFont(HWND w, HFONT font) {
  if (w) SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::string Joined(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) {
    if (!s.empty()) s += ',';
    s += std::to_string(v);
  }
  return s;
}

// The user's decimal separator, as numbers are shown to them.
std::string DecimalSeparator() {
  char sep[8] = "";
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof sep) > 1 ? sep : ".";
}

// Seconds since midnight, as the coarse clock the comparison is timed by.
float SecondsSinceMidnight() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return float(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) + float(t.wMilliseconds) / 1000.0f;
}

long long FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

constexpr int kBufferSizes[] = {65536, 131072, 262144, 524288};            // Option1..Option4
constexpr int kBatches[] = {99999, 50, 100, 200, 350, 500};                 // Option5..Option10
constexpr const char* kAlgorithms[] = {"CRC32", "MD5", "SHA1", "MD4", "SHA256"};  // Option11..Option15
// SHA-256 came last but stands beside SHA-1: the choices in the order shown,
// with their places and widths in the group.
struct AlgorithmChoice {
  int option;
  const char* caption;
  int x, width;
};
constexpr AlgorithmChoice kAlgorithmChoices[] = {
    {11, "CRC32", 8, 62}, {12, "MD5", 72, 50}, {13, "SHA-1", 124, 54}, {15, "SHA-256", 180, 70},
    {14, "MD4", 252, 50}};

}  // namespace

// --- the comparison's lines -------------------------------------------------

std::string FormatSeconds(float seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", double(seconds));
  std::string s = buf;
  if (const size_t dot = s.find('.'); dot != std::string::npos) s.replace(dot, 1, DecimalSeparator());
  return s;
}

std::string BufferTestLine(int pass, int kb, long long length, int times, float seconds) {
  return "Test " + std::to_string(pass) + " Buffer (" + std::to_string(kb) + " Kb) " +
         std::to_string(length) + " byte file (calculated " + std::to_string(times) +
         "x): " + FormatSeconds(seconds) + " seconds";
}

std::string QuickestLine(float seconds, int kb) {
  return "Quickest Calculation at: " + FormatSeconds(seconds) + " seconds. Using Buffer of: " +
         std::to_string(kb) + " Kb";
}

// --- main settings page -----------------------------------------------------

MainSettingsPage::MainSettingsPage(App& app, Panel& panel, bool plain, std::function<void()> cancel)
    : app_(app), panel_(panel), cancel_(std::move(cancel)) {
  HWND p = panel.hwnd();
  panel.SetHeading("Main Korvanel Settings:");
  Label21 = panel.HeadingLabel();
  auto box = [&](check& c, int id, const char* caption) { c.Create(p, id, 0, 0, 10, 10, caption, plain); };
  // Created in tab order.
  box(Check1, kCheck1, "Auto-Load at Startup");
  box(Check7, kCheck1 + 6, "Auto-Logging");
  box(Check8, kCheck1 + 7, "Auto-Scan Failed Files");
  Label20 = ui::MakeLabel(p, 0, "Scan these System files on Auto-Load:");
  box(Check2, kCheck1 + 1, "Check Dynamic Linked Libraries (DLL)");
  box(Check3, kCheck1 + 2, "Check Drivers (DRV)");
  box(Check4, kCheck1 + 3, "Check System Files (SYS,386)");
  box(Check5, kCheck1 + 4, "Check ActiveX Files (OCX)");
  box(Check6, kCheck1 + 5, "Check Executables (EXE,COM)");
  box(Check9, kCheck1 + 8, "Check Commonly Exploited Files (SCR,PIF)");
  Label2 = ui::MakeLabel(p, 0, "...On secure shut down:");
  box(Check15, kCheck12 + 3, "DLL");
  box(Check14, kCheck12 + 2, "DRV");
  box(Check13, kCheck12 + 1, "SYS,386");
  box(Check12, kCheck12, "OCX");
  box(Check16, kCheck12 + 4, "EXE,COM");
  box(Check17, kCheck12 + 5, "SCR,PIF");
  // Their captions lean on the heading above; a screen reader reads each alone.
  for (auto [c, kind] : {std::pair{&Check15, "Dynamic Linked Libraries (DLL)"}, {&Check14, "Drivers (DRV)"},
                         {&Check13, "System Files (SYS,386)"}, {&Check12, "ActiveX Files (OCX)"},
                         {&Check16, "Executables (EXE,COM)"}, {&Check17, "Commonly Exploited Files (SCR,PIF)"}})
    c->AccessibleName(std::string("Check ") + kind + " on secure shut down");
  cButton10.Create(p, kCButton10, 0, 0, 10, 10,
                   "Click here to setup your anti-virus or anti-trojan application(s).", plain);
  cSave.Create(p, kCSave, 0, 0, 10, 10, "Save Settings", plain);
  cCancelSett.Create(p, kCCancelSett, 0, 0, 10, 10, "Cancel", plain);
  cButton10.Click = [this] { cButton10_Click(); };
  cSave.Click = [this] { cSave_Click(); };
  cCancelSett.Click = [this] { cCancelSett_Click(); };

  SettingsBoxes& b = app_.boxes;
  // The boxes' values are the running settings at once (logging, auto-scan).
  for (auto [c, field] : {std::pair{&Check1, &b.Check1}, {&Check2, &b.Check2}, {&Check3, &b.Check3},
                          {&Check4, &b.Check4}, {&Check5, &b.Check5}, {&Check6, &b.Check6},
                          {&Check7, &b.Check7}, {&Check8, &b.Check8}, {&Check9, &b.Check9},
                          {&Check12, &b.Check12}, {&Check13, &b.Check13}, {&Check14, &b.Check14},
                          {&Check15, &b.Check15}, {&Check16, &b.Check16}, {&Check17, &b.Check17}})
    c->Click = [c, field] { *field = c->Value(); };
  lit_.Add({&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7, &Check8, &Check9});
}

void MainSettingsPage::Refresh() {
  const SettingsBoxes& b = app_.boxes;
  for (auto [c, v] : {std::pair{&Check1, b.Check1}, {&Check2, b.Check2}, {&Check3, b.Check3},
                      {&Check4, b.Check4}, {&Check5, b.Check5}, {&Check6, b.Check6},
                      {&Check7, b.Check7}, {&Check8, b.Check8}, {&Check9, b.Check9},
                      {&Check12, b.Check12}, {&Check13, b.Check13}, {&Check14, b.Check14},
                      {&Check15, b.Check15}, {&Check16, b.Check16}, {&Check17, b.Check17}})
    c->Value(v);
}

void MainSettingsPage::norms() {
  for (cButton* b : {&cButton10, &cSave, &cCancelSett}) b->downStatus(1);
  for (check* c : {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7, &Check8, &Check9,
                   &Check12, &Check13, &Check14, &Check15, &Check16, &Check17})
    c->downStatus(1);
}

void MainSettingsPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !bold_) {
    fontDpi_ = dpi;
    bold_ = ui::MakeFont(9, FW_SEMIBOLD, dpi);
    for (HWND w : {Label20, Label2}) SetFont(w, bold_.get());
  }
  const Grid g{area, dpi};
  const int right = 250;  // the categories' column
  int y = 0;
  for (check* c : {&Check1, &Check7, &Check8}) {
    g.at(c->hwnd(), 0, y + 24, 230, 20);
    y += 26;
  }
  g.at(Label20, right, 0, 0, 20);
  y = 24;
  for (check* c : {&Check2, &Check3, &Check4, &Check5, &Check6, &Check9}) {
    g.at(c->hwnd(), right, y, 0, 20);
    y += 26;
  }
  y += 8;
  g.at(Label2, 0, y, 0, 20);
  y += 24;
  int i = 0;
  for (check* c : {&Check15, &Check14, &Check13, &Check12, &Check16, &Check17}) {
    g.at(c->hwnd(), (i % 3) * 120, y + (i / 3) * 26, 112, 20);
    ++i;
  }
  y += 2 * 26 + 12;
  g.at(cButton10.hwnd(), 0, y, 460, 30);
  y += 44;
  g.at(cSave.hwnd(), 0, y, 140, 32);
  g.at(cCancelSett.hwnd(), 150, y, 100, 32);
}

void MainSettingsPage::cButton10_Click() { app_.AntivirusSetup().Open(cButton10.hwnd()); }

void MainSettingsPage::cSave_Click() {
  EnsureSettingsFile(app_);
  const std::string shortcutNotCreated = ApplyAutoLoadFromSettingsPage(app_, Check1.Value() == 1);
  const bool general = WriteEntry(app_, app_.settingsFile, "settings",
                                  Joined({Check2.Value(), Check3.Value(), Check4.Value(), Check5.Value(),
                                          Check6.Value(), Check9.Value(), Check8.Value(), Check7.Value()}),
                                  "Korvanel");
  const bool secure = WriteEntry(app_, app_.settingsFile, "settings2",
                                 Joined({Check15.Value(), Check14.Value(), Check13.Value(),
                                         Check12.Value(), Check16.Value(), Check17.Value()}),
                                 "Korvanel");
  app_.autoScanFailed = Check8.Value() == 1;
  // Auto-load asked for and not there is no successful save.
  if (!shortcutNotCreated.empty()) ReportShortcutNotCreated(app_, shortcutNotCreated);
  if (!general || !secure) {
    app_.Ask(kSettingsNotSaved, MsgButtons::Ok, {}, MsgIcon::Error);
    return;
  }
  if (shortcutNotCreated.empty()) app_.Ask("Settings Saved Successfully");
}

void MainSettingsPage::cCancelSett_Click() {
  if (cancel_) cancel_();
}

// --- advanced settings page ---------------------------------------------------

AdvancedSettingsPage::AdvancedSettingsPage(App& app, Panel& panel, bool plain,
                                           std::function<void()> cancel, std::function<void()> help)
    : app_(app), panel_(panel), cancel_(std::move(cancel)), help_(std::move(help)) {
  HWND p = panel.hwnd();
  auto child = [&](const char* cls, int id, const char* text, DWORD style) {
    return controls::MakeChild(p, cls, id, text, WS_VISIBLE | style);
  };
  const DWORD radio = BS_AUTORADIOBUTTON;
  const DWORD first = radio | WS_GROUP | WS_TABSTOP;
  // Created in tab order; each group of choices starts a dialog group.
  Frame3 = child("BUTTON", 0, "Integrity Checker Algorithm:", BS_GROUPBOX);
  for (const AlgorithmChoice& c : kAlgorithmChoices)
    Option[size_t(c.option)] =
        child("BUTTON", kOption1 + c.option - 1, c.caption, c.option == 11 ? first : radio);
  Label22 = ui::MakeLabel(p, 0, "Korvanel Integrity Checker Read Buffer:");
  const char* sizes[] = {"64 Kb", "128 Kb", "256 Kb", "512 Kb"};
  for (int i = 0; i < 4; ++i) Option[size_t(1 + i)] = child("BUTTON", kOption1 + i, sizes[i], i ? radio : first);
  Label28 = ui::MakeLabel(p, 0, "Anti-Virus Shell Options:");
  Frame1 = child("BUTTON", 0, "Pass 'x' Files at a Time (500 is recommended)", BS_GROUPBOX | WS_GROUP);
  const std::pair<int, const char*> batches[] = {{6, "50"},  {7, "100"}, {8, "200"},
                                                 {9, "350"}, {10, "500"}, {5, "Pass All Files"}};
  bool firstBatch = true;
  for (auto [n, caption] : batches) {
    Option[size_t(n)] = child("BUTTON", kOption1 + n - 1, caption, firstBatch ? first : radio);
    firstBatch = false;
  }
  const DWORD box = BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | BS_MULTILINE | BS_TOP;
  Check10 = child("BUTTON", kCheck10, "Enclose Files with Quotes", box);
  Check11 = child("BUTTON", kCheck11,
                  "Use ShortPath File Names (For DOS-Based On-Demand Anti-Virus scanners...Example: "
                  "McAfee)",
                  box);
  avfocus = child("BUTTON", kAvfocus, "Give anti-virus program Focus (Fixes GUI Errors with AVAST 4)", box);
  Label1 = ui::MakeLabel(p, 0, kWarning);
  panel.SetLabelColour(Label1, RGB(192, 0, 0));
  Label30 = ui::MakeLabel(p, 0, "Micellaneous:");
  wsh.Create(p, kWsh, 0, 0, 10, 10, "Use Windows Scripting Host (If Auto-Load won't create shortcut/save)",
             plain);
  List1 = controls::MakeChild(p, "LISTBOX", kList1, "Buffer comparison",
                              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                                  LBS_NOSEL,
                              WS_EX_CLIENTEDGE);
  SendMessageA(List1, LB_SETHORIZONTALEXTENT, 900, 0);
  // The choices take the page's ground, as its labels do.
  for (size_t i = 1; i < Option.size(); ++i) controls::DrawUnthemed(Option[i]);
  for (HWND w : {Frame3, Frame1, Check10, Check11, avfocus}) controls::DrawUnthemed(w);
  // Beneath their choices, which then never lose a pixel to the groups'
  // ground; the groups take no part in the tab order.
  for (HWND w : {Frame3, Frame1}) {
    controls::FillGroupGround(w);
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  chlp.Create(p, kChlp, 0, 0, 10, 10, "Help", plain);
  // The low edition's button names what its comparison does from the start.
  cSpeeds.Create(p, kCSpeeds, 0, 0, 10, 10, plain ? "Compare Speeds" : "Compare Buffers", plain);
  cSave2.Create(p, kCSave2, 0, 0, 10, 10, "Save", plain);
  cButton1.Create(p, kAdvCButton1, 0, 0, 10, 10, "Cancel", plain);
  chlp.Click = [this] { chlp_Click(); };
  cSpeeds.Click = [this] { cSpeeds_Click(); };
  cSave2.Click = [this] { cSave2_Click(); };
  cButton1.Click = [this] { cButton1_Click(); };
  lit_.Add(wsh);
  panel.Command = [this](int id, int code, HWND) { OnCommand(id, code); };
}

bool AdvancedSettingsPage::Checked(HWND box) {
  return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void AdvancedSettingsPage::SetChecked(HWND box, bool on) {
  SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool AdvancedSettingsPage::WarningVisible() const {
  return (GetWindowLongPtrA(Label1, GWL_STYLE) & WS_VISIBLE) != 0;  // its own mark, page shown or not
}

void AdvancedSettingsPage::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  SettingsBoxes& b = app_.boxes;
  // The focus option applies at the next scanner start, the others after
  // the next settings load.
  if (id == kCheck10) b.Check10 = Checked(Check10) ? 1 : 0;
  if (id == kCheck11) b.Check11 = Checked(Check11) ? 1 : 0;
  if (id == kAvfocus) b.avfocus = Checked(avfocus) ? 1 : 0;
  if (id == kCheck10 || id == kCheck11) UpdateWarning();
}

void AdvancedSettingsPage::UpdateWarning() {
  const bool warn = !Checked(Check10) && !Checked(Check11);
  ShowWindow(Label1, warn ? SW_SHOWNA : SW_HIDE);
}

void AdvancedSettingsPage::Refresh() {
  for (size_t i = 1; i < Option.size(); ++i) SetChecked(Option[i], false);
  for (size_t i = 0; i < 4; ++i)
    // Exact sizes only: a stored 65600 shown as "64 Kb" would be saved back
    // as 65536 by a Save that never touched the buffer.
    if (app_.readBufferSize == kBufferSizes[i]) SetChecked(Option[1 + i], true);
  for (size_t i = 0; i < 6; ++i)
    if (app_.filesPerBatch == kBatches[i]) SetChecked(Option[5 + i], true);
  std::string algo = UCase(Trim(app_.algorithmName));
  if (algo.empty()) algo = "CRC32";
  for (size_t i = 0; i < std::size(kAlgorithms); ++i)
    if (algo == kAlgorithms[i]) SetChecked(Option[11 + i], true);
  wsh.Value(app_.useScriptingHost);
  SetChecked(Check10, app_.boxes.Check10 != 0);
  SetChecked(Check11, app_.boxes.Check11 != 0);
  SetChecked(avfocus, app_.boxes.avfocus != 0);
  UpdateWarning();
}

void AdvancedSettingsPage::norms() {
  for (cButton* b : {&cSave2, &cSpeeds, &cButton1}) b->downStatus(1);
}

void AdvancedSettingsPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !text_) {
    fontDpi_ = dpi;
    text_ = ui::MakeFont(9, FW_NORMAL, dpi);
    bold_ = ui::MakeFont(9, FW_SEMIBOLD, dpi);
    for (size_t i = 1; i < Option.size(); ++i) SetFont(Option[i], text_.get());
    for (HWND w : {Frame3, Frame1, Check10, Check11, avfocus, Label1, List1}) SetFont(w, text_.get());
    for (HWND w : {Label22, Label28, Label30}) SetFont(w, bold_.get());
  }
  const Grid g{area, dpi};
  g.at(Frame3, 0, 0, 306, 52);
  for (const AlgorithmChoice& c : kAlgorithmChoices) g.at(Option[size_t(c.option)], c.x, 22, c.width, 22);
  g.at(Label22, 0, 60, 300, 20);
  for (int i = 0; i < 4; ++i) g.at(Option[size_t(1 + i)], 12 + i * 70, 82, 66, 22);
  // The group's caption is whole in any font: the frame grows to hold it
  // (its caption sits inside an inset at each side).
  const int frame1W = std::max(300, LineWidth96(Frame1, dpi) + 20);
  g.at(Frame1, 0, 112, frame1W, 76);
  const int batchOrder[] = {6, 7, 8, 9, 10, 5};
  for (int i = 0; i < 6; ++i)
    g.at(Option[size_t(batchOrder[i])], 12 + (i % 3) * 88, 134 + (i / 3) * 26, i == 5 ? 110 : 80, 22);
  // The scanner options wrap to the column's width.
  const int right = std::max(316, frame1W + 16);
  const int columnW = area.right - g.X(right);
  g.at(Label28, right, 0, 0, 20);
  int y = 22;
  for (HWND box : {Check10, Check11, avfocus}) {
    const int h = std::max(22, WrappedHeight96(box, columnW, 24, dpi));
    g.at(box, right, y, 0, h);
    y += h + 2;
  }
  g.at(Label1, right, y + 2, 0, WrappedHeight96(Label1, columnW, 0, dpi));
  g.at(Label30, 0, 196, 0, 20);
  g.at(wsh.hwnd(), 0, 218, 0, 20);
  const int height = MulDiv(area.bottom - area.top, 96, int(dpi));
  const int buttonsY = std::max(320, height - 34);
  g.at(List1, 0, 246, 0, std::max(40, buttonsY - 254));
  g.at(chlp.hwnd(), 0, buttonsY, 90, 32);
  g.at(cSpeeds.hwnd(), 100, buttonsY, 150, 32);
  g.at(cSave2.hwnd(), 260, buttonsY, 100, 32);
  g.at(cButton1.hwnd(), 370, buttonsY, 100, 32);
}

void AdvancedSettingsPage::cButton1_Click() {
  if (cancel_) cancel_();
}

void AdvancedSettingsPage::chlp_Click() {
  if (help_) help_();
}

void AdvancedSettingsPage::cSave2_Click() {
  // During a comparison the running size is the one being timed; the saved
  // one is the size it will restore.
  int32_t& buffer = comparing_ ? bufferBeforeComparing_ : app_.readBufferSize;
  for (size_t i = 0; i < 4; ++i)
    if (Checked(Option[1 + i])) buffer = kBufferSizes[i];
  for (size_t i = 0; i < 6; ++i)
    if (Checked(Option[5 + i])) app_.filesPerBatch = kBatches[i];
  for (size_t i = 0; i < std::size(kAlgorithms); ++i)
    if (Checked(Option[11 + i])) app_.algorithmName = kAlgorithms[i];
  SelectBaselineFile(app_);
  app_.useScriptingHost = int16_t(wsh.Value());
  EnsureSettingsFile(app_);
  const bool advanced = WriteEntry(
      app_, app_.settingsFile, "advanced",
      std::to_string(buffer) + "," + std::to_string(app_.filesPerBatch) + "," + std::to_string(wsh.Value()),
      "Korvanel");
  const bool options = WriteEntry(
      app_, app_.settingsFile, "antivirus2",
      Joined({Checked(Check10) ? 1 : 0, Checked(Check11) ? 1 : 0, Checked(avfocus) ? 1 : 0}), "Korvanel");
  const bool algo = WriteEntry(app_, app_.settingsFile, "algo", app_.algorithmName, "Korvanel");
  if (!advanced || !options || !algo) {
    app_.Ask(kSettingsNotSaved, MsgButtons::Ok, {}, MsgIcon::Error);
    return;
  }
  app_.Ask("Save Success!");
}

void AdvancedSettingsPage::cSpeeds_Click() {
  if (comparing_) return;
  comparing_ = true;
  cSpeeds.Caption("Testing... (" + app_.algorithmName + ")");
  cSpeeds.Enabled(false);
  bufferBeforeComparing_ = app_.readBufferSize;
  SendMessageA(List1, LB_RESETCONTENT, 0, 0);
  EnableWindow(List1, FALSE);
  std::string folder = app_.appDir;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const std::string file = folder + app_.edition.ownFileName;
  const long long length = FileLength(file);
  const auto add = [this](const std::string& line) {
    SendMessageA(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  };
  const int passes[] = {5, 10, 100};
  for (int pass = 1; pass <= 3 && !app_.ended; ++pass) {
    const int times = passes[pass - 1];
    float best = 999.0f;
    int bestSize = 0;
    for (int size : kBufferSizes) {
      app_.readBufferSize = size;
      const float start = SecondsSinceMidnight();
      for (int i = 0; i < times && !app_.ended; ++i) (void)FileChecksum(app_, file);
      const float elapsed = SecondsSinceMidnight() - start;
      add(BufferTestLine(pass, size / 1024, length, times, elapsed));
      if (elapsed < best) {
        best = elapsed;
        bestSize = size;
      }
      // The test takes many seconds: each line is seen as it is added.
      PumpMessages();
    }
    add(QuickestLine(best, bestSize / 1024));
    if (pass < 3) add("");
  }
  EnableWindow(List1, TRUE);
  app_.readBufferSize = bufferBeforeComparing_;
  cSpeeds.Caption("Compare Speeds");
  cSpeeds.Enabled(true);
  comparing_ = false;
}

// --- Options page -------------------------------------------------------------

namespace {
// The update box writes its value when the focus leaves it.
LRESULT CALLBACK AutoCheckFocus(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_KILLFOCUS) {
    const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
    reinterpret_cast<OptionsPage*>(data)->chkAutoCheckUpdates_LostFocus();
    return r;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

OptionsPage::OptionsPage(App& app, Panel& setFq, bool plain, std::unique_ptr<PageContent> logs,
                         SettingsFrame frame, Panel& settF, Panel& qSett, Panel& advF)
    : app_(app), setFq_(setFq), settF_(settF), qSett_(qSett), advF_(advF), plain_(plain),
      logs_(std::move(logs)), frame_(std::move(frame)) {
  HWND p = setFq.hwnd();
  // Created in tab order, before the log list's controls in the page.
  cSetW.Create(p, kCSetW, 0, 0, 10, 10, "Settings Wizard", plain);
  Label15 = ui::MakeLabel(p, 0, "First-time Korvanel Users are Recommended to use the Settings Wizard");
  cSettings.Create(p, kCSettings, 0, 0, 10, 10, "Edit Settings", plain);
  Label6 = ui::MakeLabel(p, 0, "Please Remember to Save these Settings");
  cButton2.Create(p, kCButton2, 0, 0, 10, 10, "Advanced Settings", plain);
  Label16 = ui::MakeLabel(p, 0, "Only Intended for Advanced Users");
  cCreateSS.Create(p, kCCreateSS, 0, 0, 10, 10, "Shutdown/Scan Shortcut", plain);
  Label23 = ui::MakeLabel(p, 0,
                          "Click to Create a Shutdown/Scan shortcut. For more information about this "
                          "feature, please look at the Help Files.");
  // The low edition has no support list to integrate from here and no
  // automatic update check.
  if (app_.edition.hasSupportListDownload)
    cDetect.Create(p, kCDetect, 0, 0, 10, 10, "Integrate Anti-Virus app with Korvanel", plain);
  cUpdates.Create(p, kCUpdates, 0, 0, 10, 10, UpdatesButtonCaption(app_), plain);
  cAbout.Create(p, kCAbout, 0, 0, 10, 10, "About Korvanel...", plain);
  if (app_.edition.hasUpdateCheck) {
    chkAutoCheckUpdates.Create(p, kChkAutoCheckUpdates, 0, 0, 10, 10, "Check for Updates Automatically",
                               plain);
    SetWindowSubclass(chkAutoCheckUpdates.hwnd(), &AutoCheckFocus, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  // The log list's window follows in the tab order.
  if (logs_)
    for (HWND w = GetWindow(p, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w != setFq.HeadingLabel()) {
        char cls[32] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, "KorvanelLogList") == 0) {
          SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
          break;
        }
      }

  cSettings.Click = [this] { cSettings_Click(); };
  cButton2.Click = [this] { cButton2_Click(); };
  cSetW.Click = [this] { cSetW_Click(); };
  cCreateSS.Click = [this] { cCreateSS_Click(); };
  cDetect.Click = [this] { cDetect_Click(); };
  cUpdates.Click = [this] { cUpdates_Click(); };
  cAbout.Click = [this] { cAbout_Click(); };
  chkAutoCheckUpdates.Click = [this] { chkAutoCheckUpdates_Click(); };
}

OptionsPage::~OptionsPage() {
  if (chkAutoCheckUpdates.hwnd()) RemoveWindowSubclass(chkAutoCheckUpdates.hwnd(), &AutoCheckFocus, 1);
}

void OptionsPage::Opening() {
  loadSettings(app_);
  if (chkAutoCheckUpdates.hwnd()) chkAutoCheckUpdates.Value(app_.autoCheckUpdates ? 1 : 0);
  autoCheckChanged_ = false;
  cUpdates.Caption(UpdatesButtonCaption(app_));
  if (logs_) logs_->Opening();
  // A log is viewed after choosing it anew.
  if (auto* logs = dynamic_cast<LogListPage*>(logs_.get())) logs->list.cViewReport.Enabled(false);
}

void OptionsPage::norms() {
  for (cButton* b : {&cSettings, &cButton2, &cSetW, &cCreateSS, &cDetect, &cUpdates, &cAbout})
    if (b->hwnd()) b->downStatus(1);
  if (chkAutoCheckUpdates.hwnd()) chkAutoCheckUpdates.downStatus(1);
  if (logs_) logs_->norms();
}

void OptionsPage::Layout(const RECT& area, UINT dpi) {
  const Grid g{area, dpi};
  // Each button with its note beside it; a note that wraps makes its row taller.
  const int labelX = 190;
  const int labelW = area.right - g.X(labelX);
  int y = 0;
  for (auto [button, label] : {std::pair{&cSetW, Label15}, {&cSettings, Label6}, {&cButton2, Label16},
                               {&cCreateSS, Label23}}) {
    SetFont(label, setFq_.BodyFont());
    const int textH = WrappedHeight96(label, labelW, 0, dpi);
    const int rowH = std::max(30, textH);
    g.at(button->hwnd(), 0, y + (rowH - 30) / 2, 180, 30);
    g.at(label, labelX, y + std::max(0, (rowH - textH) / 2), 0, textH);
    y += rowH + 6;
  }
  y += 4;
  int x = 0;
  if (cDetect.hwnd()) {
    g.at(cDetect.hwnd(), 0, y, 270, 30);
    x = 280;
  }
  g.at(cUpdates.hwnd(), x, y, 150, 30);
  g.at(cAbout.hwnd(), x + 160, y, 150, 30);
  y += 38;
  if (chkAutoCheckUpdates.hwnd()) {
    g.at(chkAutoCheckUpdates.hwnd(), 0, y, 300, 20);
    y += 30;
  }
  const int top = y;
  if (logs_) {
    RECT rest = area;
    rest.top = area.top + Scale(top, dpi);
    logs_->Layout(rest, dpi);
  }
}

void OptionsPage::cSettings_Click() {
  loadSettings(app_);
  if (main) main->Refresh();
  settF_.Visible(true);
  qSett_.Visible(true);
  setFq_.Visible(false);
  advF_.Visible(false);
  if (frame_.showPage) frame_.showPage(settF_);
}

void OptionsPage::cButton2_Click() {
  loadSettings(app_);
  if (frame_.norms2) frame_.norms2();
  advF_.Visible(true);
  qSett_.Visible(false);
  if (frame_.showPage) frame_.showPage(settF_);
  if (advanced) advanced->Refresh();
}

void OptionsPage::cSetW_Click() {
  loadSettings(app_);
  app_.Wizard().LoadUp(cSetW.hwnd());
}

void OptionsPage::cCreateSS_Click() { CreateSecureShutDownShortcut(app_); }

void OptionsPage::cDetect_Click() { app_.SupportList().Open(cDetect.hwnd()); }

void OptionsPage::cUpdates_Click() {
  UpdatesButtonClick(app_);
  if (cUpdates.hwnd()) cUpdates.Caption(UpdatesButtonCaption(app_));
}

void OptionsPage::cAbout_Click() {
  if (frame_.about) frame_.about();
}

void OptionsPage::chkAutoCheckUpdates_Click() { autoCheckChanged_ = true; }

void OptionsPage::chkAutoCheckUpdates_LostFocus() {
  if (!autoCheckChanged_) return;
  EnsureSettingsFile(app_);
  if (WriteEntry(app_, app_.settingsFile, "autocheckupdates",
                 chkAutoCheckUpdates.Value() == 1 ? "True" : "False", "Korvanel"))
    autoCheckChanged_ = false;
}

// --- installing -----------------------------------------------------------------

std::unique_ptr<OptionsPage> MakeSettingsPages(App& app, Panel& setFq, std::unique_ptr<PageContent> logs,
                                               Panel& settF, Panel& qSett, Panel& advF, bool plain,
                                               SettingsFrame frame) {
  const auto back = [&setFq, &settF] {
    settF.Visible(false);
    setFq.Visible(true);
  };
  auto main = std::make_unique<MainSettingsPage>(app, qSett, plain, back);
  auto advanced = std::make_unique<AdvancedSettingsPage>(app, advF, plain, back, frame.help);
  auto options = std::make_unique<OptionsPage>(app, setFq, plain, std::move(logs), std::move(frame),
                                               settF, qSett, advF);
  options->main = main.get();
  options->advanced = advanced.get();
  qSett.SetContent(std::move(main));
  advF.SetContent(std::move(advanced));
  return options;
}

}  // namespace kv
