#include "settingsui/settings_pages.h"

#include <commctrl.h>

#include <cstdio>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/control_table.h"
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
    const int left = X(x);
    const int width = cx > 0 ? Scale(cx, dpi) : area.right - left;
    controls::MoveControl(w, left, area.top + Scale(y, dpi), std::max(width, 1), Scale(cy, dpi));
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
// The algorithms in the order shown, with their places and widths in the group.
struct AlgorithmChoice {
  int option;
  int x, width;
};
constexpr AlgorithmChoice kAlgorithmChoices[] = {{11, 8, 62}, {12, 72, 50}, {13, 124, 54}, {15, 180, 70}, {14, 252, 50}};

using controls::ControlRow, controls::kLabelStyle;
constexpr const char* kBox = check::kClassName;
constexpr const char* kButton = cButton::kClassName;

using MainPage = MainSettingsPage;
// Created in tab order. The boxes for secure shut down lean on the heading
// above them; a screen reader reads each alone.
const ControlRow<MainPage> kMainRows[] = {
    {&MainPage::Check1, {kCheck1, kBox, "Auto-Load at Startup"}},
    {&MainPage::Check7, {kCheck1 + 6, kBox, "Auto-Logging"}},
    {&MainPage::Check8, {kCheck1 + 7, kBox, "Auto-Scan Failed Files"}},
    {&MainPage::Label20, {0, "STATIC", "Scan these System files on Auto-Load:", kLabelStyle}},
    {&MainPage::Check2, {kCheck1 + 1, kBox, "Check Dynamic Linked Libraries (DLL)"}},
    {&MainPage::Check3, {kCheck1 + 2, kBox, "Check Drivers (DRV)"}},
    {&MainPage::Check4, {kCheck1 + 3, kBox, "Check System Files (SYS,386)"}},
    {&MainPage::Check5, {kCheck1 + 4, kBox, "Check ActiveX Files (OCX)"}},
    {&MainPage::Check6, {kCheck1 + 5, kBox, "Check Executables (EXE,COM)"}},
    {&MainPage::Check9, {kCheck1 + 8, kBox, "Check Commonly Exploited Files (SCR,PIF)"}},
    {&MainPage::Label2, {0, "STATIC", "...On secure shut down:", kLabelStyle}},
    {&MainPage::Check15, {.id = kCheck12 + 3, .cls = kBox, .text = "DLL", .name = "Check Dynamic Linked Libraries (DLL) on secure shut down"}},
    {&MainPage::Check14, {.id = kCheck12 + 2, .cls = kBox, .text = "DRV", .name = "Check Drivers (DRV) on secure shut down"}},
    {&MainPage::Check13, {.id = kCheck12 + 1, .cls = kBox, .text = "SYS,386", .name = "Check System Files (SYS,386) on secure shut down"}},
    {&MainPage::Check12, {.id = kCheck12, .cls = kBox, .text = "OCX", .name = "Check ActiveX Files (OCX) on secure shut down"}},
    {&MainPage::Check16, {.id = kCheck12 + 4, .cls = kBox, .text = "EXE,COM", .name = "Check Executables (EXE,COM) on secure shut down"}},
    {&MainPage::Check17, {.id = kCheck12 + 5, .cls = kBox, .text = "SCR,PIF", .name = "Check Commonly Exploited Files (SCR,PIF) on secure shut down"}},
    {&MainPage::cButton10, {kCButton10, kButton, "Click here to setup your anti-virus or anti-trojan application(s)."}},
    {&MainPage::cSave, {kCSave, kButton, "Save Settings"}},
    {&MainPage::cCancelSett, {kCCancelSett, kButton, "Cancel"}},
};

using AdvancedPage = AdvancedSettingsPage;
constexpr DWORD kChoice = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstChoice = kChoice | WS_GROUP | WS_TABSTOP;  // each group of choices starts a dialog group
constexpr DWORD kOptionBox = WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | BS_MULTILINE | BS_TOP;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;

// OptionN of the advanced page, as a row of its table.
template <size_t N>
ControlRow<AdvancedPage> Choice(const char* caption, DWORD style = kChoice) {
  return {&controls::Element<&AdvancedPage::Option, N>, {kOption1 + int(N) - 1, "BUTTON", caption, style}};
}

// Created in tab order. The groups come after all their choices, so they
// lie beneath them and never take a pixel of theirs. SHA-256 came last but
// stands beside SHA-1.
const ControlRow<AdvancedPage> kAdvancedRows[] = {
    Choice<11>("CRC32", kFirstChoice), Choice<12>("MD5"), Choice<13>("SHA-1"), Choice<15>("SHA-256"), Choice<14>("MD4"),
    {&AdvancedPage::Label22, {0, "STATIC", "Korvanel Integrity Checker Read Buffer:", kLabelStyle}},
    Choice<1>("64 Kb", kFirstChoice), Choice<2>("128 Kb"), Choice<3>("256 Kb"), Choice<4>("512 Kb"),
    {&AdvancedPage::Label28, {0, "STATIC", "Anti-Virus Shell Options:", kLabelStyle}},
    Choice<6>("50", kFirstChoice), Choice<7>("100"), Choice<8>("200"), Choice<9>("350"), Choice<10>("500"), Choice<5>("Pass All Files"),
    {&AdvancedPage::Check10, {kCheck10, "BUTTON", "Enclose Files with Quotes", kOptionBox}},
    {&AdvancedPage::Check11, {kCheck11, "BUTTON", "Use ShortPath File Names (For DOS-Based On-Demand Anti-Virus scanners...Example: McAfee)", kOptionBox}},
    {&AdvancedPage::avfocus, {kAvfocus, "BUTTON", "Give anti-virus program Focus (Fixes GUI Errors with AVAST 4)", kOptionBox}},
    {&AdvancedPage::Label1, {0, "STATIC", kWarning, kLabelStyle}},
    {&AdvancedPage::Label30, {0, "STATIC", "Micellaneous:", kLabelStyle}},
    {&AdvancedPage::wsh, {kWsh, kBox, "Use Windows Scripting Host (If Auto-Load won't create shortcut/save)"}},
    {&AdvancedPage::List1, {.id = kList1, .cls = "LISTBOX", .text = "Buffer comparison", .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, .exStyle = WS_EX_CLIENTEDGE}},
    {&AdvancedPage::Frame3, {0, "BUTTON", "Integrity Checker Algorithm:", kGroup}},
    {&AdvancedPage::Frame1, {0, "BUTTON", "Pass 'x' Files at a Time (500 is recommended)", kGroup | WS_GROUP}},
    {&AdvancedPage::chlp, {kChlp, kButton, "Help"}},
    {&AdvancedPage::cSpeeds, {kCSpeeds, kButton, "Compare Buffers"}},
    {&AdvancedPage::cSave2, {kCSave2, kButton, "Save"}},
    {&AdvancedPage::cButton1, {kAdvCButton1, kButton, "Cancel"}},
};

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
  panel.SetHeading("Main Korvanel Settings:");
  Label21 = panel.HeadingLabel();
  controls::MakeControls(*this, panel.hwnd(), kMainRows, plain);
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
    for (HWND w : {Label20, Label2}) controls::SetControlFont(w, bold_.get());
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

void MainSettingsPage::cButton10_Click() { AntivirusSetup(app_).Open(cButton10.hwnd()); }

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
  controls::MakeControls(*this, panel.hwnd(), kAdvancedRows, plain);
  // The low edition's button names what its comparison does from the start.
  if (plain) cSpeeds.Caption("Compare Speeds");
  panel.SetLabelColour(Label1, RGB(192, 0, 0));
  SendMessageA(List1, LB_SETHORIZONTALEXTENT, 900, 0);
  // The choices take the page's ground, as its labels do.
  for (size_t i = 1; i < Option.size(); ++i) controls::DrawUnthemed(Option[i]);
  for (HWND w : {Frame3, Frame1, Check10, Check11, avfocus}) controls::DrawUnthemed(w);
  // The groups take no part in the tab order.
  for (HWND w : {Frame3, Frame1}) {
    controls::FillGroupGround(w);
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
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
    for (size_t i = 1; i < Option.size(); ++i) controls::SetControlFont(Option[i], text_.get());
    for (HWND w : {Frame3, Frame1, Check10, Check11, avfocus, Label1, List1}) controls::SetControlFont(w, text_.get());
    for (HWND w : {Label22, Label28, Label30}) controls::SetControlFont(w, bold_.get());
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
  // Created in tab order, before the log list's controls in the page. The
  // Updates button's caption depends on the update state and is set below.
  static const ControlRow<OptionsPage> kRows[] = {
      {&OptionsPage::cSetW, {kCSetW, kButton, "Settings Wizard"}},
      {&OptionsPage::Label15,
       {0, "STATIC", "First-time Korvanel Users are Recommended to use the Settings Wizard", kLabelStyle}},
      {&OptionsPage::cSettings, {kCSettings, kButton, "Edit Settings"}},
      {&OptionsPage::Label6, {0, "STATIC", "Please Remember to Save these Settings", kLabelStyle}},
      {&OptionsPage::cButton2, {kCButton2, kButton, "Advanced Settings"}},
      {&OptionsPage::Label16, {0, "STATIC", "Only Intended for Advanced Users", kLabelStyle}},
      {&OptionsPage::cCreateSS, {kCCreateSS, kButton, "Shutdown/Scan Shortcut"}},
      {&OptionsPage::Label23,
       {0, "STATIC",
        "Click to Create a Shutdown/Scan shortcut. For more information about this feature, please look at "
        "the Help Files.",
        kLabelStyle}},
      {&OptionsPage::cDetect, {kCDetect, kButton, "Integrate Anti-Virus app with Korvanel"}},
      {&OptionsPage::cUpdates, {kCUpdates, kButton, ""}},
      {&OptionsPage::cAbout, {kCAbout, kButton, "About Korvanel..."}},
      {&OptionsPage::chkAutoCheckUpdates,
       {kChkAutoCheckUpdates, kBox, "Check for Updates Automatically"}},
  };
  for (const ControlRow<OptionsPage>& row : kRows) {
    // The low edition has no support list to integrate from here and no
    // automatic update check.
    if (row.plan.id == kCDetect && !app_.edition.hasSupportListDownload) continue;
    if (row.plan.id == kChkAutoCheckUpdates && !app_.edition.hasUpdateCheck) continue;
    controls::MakeTableRow(*this, p, row, plain);
  }
  cUpdates.Caption(UpdatesButtonCaption(app_));
  if (chkAutoCheckUpdates.hwnd())
    SetWindowSubclass(chkAutoCheckUpdates.hwnd(), &AutoCheckFocus, 1, reinterpret_cast<DWORD_PTR>(this));
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
    controls::SetControlFont(label, setFq_.BodyFont());
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
  Wizard(app_).LoadUp(cSetW.hwnd());
}

void OptionsPage::cCreateSS_Click() { CreateSecureShutDownShortcut(app_); }

void OptionsPage::cDetect_Click() { SupportList(app_).Open(cDetect.hwnd()); }

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
