#include "settingsui/vDct.h"

#include <oleacc.h>

#include <algorithm>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "controls/palette.h"
#include "controls/theme.h"
#include "core/setup_timing.h"
#include "core/scanner.h"
#include "core/text.h"
#include "customfolders/drivers_folder.h"
#include "platform/files.h"
#include "settingsui/vDct_ids.h"
#include "shutdown/shortcuts.h"

namespace kv {

namespace {

using namespace vdct_ids;
using controls::Typeface;

constexpr char kClassName[] = "KorvanelWizard";
constexpr SIZE kClient{620, 424};  // at 96 DPI
constexpr int kBanner = 160;       // width of the background picture
constexpr int kLeft = 180;         // where the page area starts
constexpr int kControlsTop = 244;  // the page's own controls, below the description
constexpr int kRuleY = 384;        // the line above the navigation labels

constexpr Typeface kTitleFace{"Segoe UI", 14, FW_SEMIBOLD};
constexpr Typeface kText{"Segoe UI", 9};
constexpr Typeface kLinkFace{"Segoe UI", 10, FW_SEMIBOLD};
constexpr Typeface kLinkFaceUnderlined{"Segoe UI", 10, FW_SEMIBOLD, true};
constexpr Typeface kBannerFace{"Segoe UI", 11, FW_SEMIBOLD};

constexpr COLORREF kLinkLit = RGB(0, 0, 255);
constexpr COLORREF kLinkHeld = RGB(128, 128, 255);

constexpr char kPlaceholder[] = "Anti-Virus Software";
constexpr char kNoScanner[] =
    "You didn't choose an anti-virus software exe.  We recommend that you get one to take full "
    "advantage of Korvanel";
constexpr char kChooseFirst[] = "You must choose a virus scanner before you proceed!";
constexpr char kTestNotice[] =
    "Korvanel will now attempt to scan two files. If the Virus-Scanner you selected scans both "
    "files, then it is fully compatible with Korvanel! If not, make sure you chose the correct EXE "
    "file in your anti-virus folder.";
constexpr char kCancelQuestion[] =
    "Are you sure you want to disregard all changes and exit the setup wizard?";
constexpr char kSaved[] = "Settings Saved Successfully!";
constexpr char kNotSaved[] =
    "The settings could not be saved. The settings file may be in use or read-only.";

const char* const kTitles[vDct::kLastPage + 1] = {
    "Welcome to the Setup Wizard", "Anti-Virus Setup (1/2)", "Anti-Virus Setup (2/2)",
    "Main Settings (1/3)",         "Main Settings (2/3)",    "Main Settings (3/3)",
    "Other Settings (1/2)",        "Other Settings (2/2)",   "You're done!"};

// The descriptions of pages 0 to 7; the last page's tells the time taken.
// CR alone breaks a line as CR LF does.
const char* const kDescriptions[vDct::kLastPage] = {
    "Just click the 'Next' button to continue.\r"
    "-If you make any mistakes, just click on the back button.\r"
    "-Hit Cancel if you want to quit the setup without changing any settings.",

    "Step 1: Locate your main anti-virus software program.\r\r"
    "-If you aren't sure where to find it, click on the 'Help Me' button.",

    "Step 2: Make sure it works!\r\r"
    "-Click the 'Test It!' button to make sure you selected the correct program.",

    "-The most powerful aspect of Korvanel is the Integrity Checker and the auto-loading and "
    "auto-scanning features.\r\r"
    "-This loads Korvanel whenever a user logs into Windows, and performs a quick Integrity Check "
    "of your system files. This will provide an early warning of potential threats and will allow "
    "the elimination of malicious files before they cause serious damage.",

    "-Please choose the types of files you would like to scan at startup.\r\r"
    "-We recommend scanning of at least these files types:\r"
    "DRV,SYS,EXE,SCR and PIF files.",

    "Auto-Scan:\r"
    "-If this option is enabled, then if any files fail the Integrity Check, they will be scanned "
    "automatically (only applies if Korvanel is loaded at Start Up of Windows).\r\n\r\n"
    "-If you enable this option, then it is very highly recommended that you also enable the "
    "'Logging' feature in Korvanel (so that files can be re-scanned after your Anti-Virus "
    "definition files are updated).",

    "Korvanel's Logging Feature\r"
    "-If this option is enabled, then if any files fail the Integrity Check or if any New or "
    "Modified Registry entries are scanned, they will be added to the log.  Users can pull up the "
    "logs later on to see what files were scanned, and have the option to scan them again.  This "
    "feature is useful to protect the user from not finding viruses or trojans due to older Virus "
    "Definition files.",

    "Korvanel's 'Secure Shut Down' Feature\r\n"
    "-This button will create a shortcut on your Desktop that will provide an alternative to "
    "shutting down your computer via the ShutDown button in Windows.\r\n"
    "-Using the 'Secure Shut Down' method will perform the same actions as the Auto-Load feature, "
    "as well as scanning the registry and also your wininit.ini files for suspicious entries. "
    "Using this method of shutting down is HIGHLY recommended.",
};

void SetText(HWND control, const std::string& text) { SetWindowTextA(control, text.c_str()); }

long ClockNow(App& app) {
  const LocalTime t = app.host.Now();
  return SecondsSinceMidnight(t.hour, t.minute, t.second);
}

}  // namespace

// --- the navigation labels ------------------------------------------------------

bool WizardLink::Create(HWND parent, int id, std::string_view caption) {
  if (hwnd_) return false;
  caption_ = std::string(caption);
  return CreateControl(kClassName, parent, id, 0, 0, 1, 1, caption_, WS_TABSTOP);
}

COLORREF WizardLink::Ink() const {
  switch (State()) {
    case Look::Lit: return kLinkLit;
    case Look::Held: return kLinkHeld;
    case Look::Plain: break;
  }
  return controls::kBlack;
}

void WizardLink::Clear() {
  if (!MouseHeld()) SetLook(Look::Plain);
}

void WizardLink::SetLook(Look look) {
  if (look_ == look) return;
  look_ = look;
  Redraw();
}

std::optional<controls::AccessibleFacts> WizardLink::OnAccessible() const {
  long state = State() == Look::Lit ? STATE_SYSTEM_HOTTRACKED : 0;
  if (IsPressed()) state |= STATE_SYSTEM_PRESSED;
  return controls::AccessibleFacts{caption_, ROLE_SYSTEM_PUSHBUTTON, state, "Press"};
}

int WizardLink::PressPartAt(POINT p) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return controls::Contains(client, p) ? 1 : 0;
}

void WizardLink::OnPressed(bool) { Raise(Activate); }

void WizardLink::OnHover(POINT, int) {
  if (MouseHeld() || look_ == Look::Lit) return;
  Raise(Hover);
  SetLook(Look::Lit);
}

LRESULT WizardLink::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT shared; HandleShared(msg, wp, lp, caption_, shared)) return shared;
  if (LRESULT pressed; HandlePress(msg, wp, lp, pressed)) return pressed;
  switch (msg) {
    case WM_MOUSELEAVE:
      Clear();
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_RETURN && !(lp & 0x40000000)) {
        Raise(Activate);
        return 0;
      }
      break;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_BUTTON;
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(controls::HandPointer());
        return TRUE;
      }
      break;
    case BM_CLICK:
      Raise(Activate);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void WizardLink::Paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  controls::Canvas canvas(target, client.right, client.bottom);
  if (!canvas.Ok()) return;
  canvas.PaintParentBackground(hwnd_);
  const HFONT font = FontOf(Underlined() ? kLinkFaceUnderlined : kLinkFace);
  canvas.Text(caption_.c_str(), int(caption_.size()), client, font, Ink(),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (HasFocus() && !FocusCuesHidden()) DrawFocusRect(canvas.Dc(), &client);
  canvas.Present(target);
}

// --- the window ------------------------------------------------------------------

vDct::vDct(App& app) : app_(app) {
  const bool plain = app_.edition.plainControls;
  ground_ = controls::SolidBrush(plain ? GetSysColor(COLOR_BTNFACE) : ToColorRef(art::palette::kCard));
  static const controls::Brush background = controls::SolidBrush(ToColorRef(art::palette::kCard));
  controls::UseDialogKeys(kClassName);
  Create(controls::WindowClass{kClassName, 0, background.get(), true}, WS_EX_CONTROLPARENT,
         "Korvanel - Setup Wizard",
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, 660, 480, nullptr);
  SizeClientTo(kClient);
  CreateControls();
  norms();
}

vDct::~vDct() { Destroy(); }

void vDct::CreateControls() {
  const bool plain = app_.edition.plainControls;
  Image13.Create(
      hwnd_, kImage13, art::palette::kRail,
      [](art::Raster& r, const Picture::Look& look) {
        const float s = controls::ScaleF(1.0f, look.dpi);
        r.FillGradient(0, 0, float(r.Width()), float(r.Height()), art::palette::kRail,
                       art::palette::kRailLit);
        r.FillRect(float(r.Width()) - 4 * s, 0, float(r.Width()), float(r.Height()),
                   art::palette::kAccent);
        art::DrawEmblem(r, (float(r.Width()) - 72 * s) / 2, 32 * s, 72 * s);
      },
      [this](HDC dc, const RECT& area, const Picture::Look& look) {
        RECT text{area.left, area.top + controls::Scale(116, look.dpi), area.right,
                  area.top + controls::Scale(168, look.dpi)};
        controls::Selection font(dc, FontOf(kBannerFace));
        SetTextColor(dc, ToColorRef(art::palette::kRailText));
        DrawTextA(dc, "Korvanel\nSetup Wizard", -1, &text, DT_CENTER | DT_NOPREFIX);
      });
  Place(Image13.hwnd(), 0, 0, kBanner, kClient.cy);
  Image13.Visible(true);
  Image13.MouseMove = [this] { Image13_MouseMove(); };

  using controls::kEditStyle, controls::kLabelStyle;
  constexpr const char* kButton = cButton::kClassName;
  constexpr const char* kCheck = check::kClassName;
  constexpr int kRow = kControlsTop + 4;  // a box alone on its page; the categories stand under it
  // Created in tab order; each page shows only its own.
  static const controls::ControlRow<vDct> kRows[] = {
      {&vDct::title, {0, "STATIC", "%Title%", kLabelStyle, kLeft, 18, 420, 32, kTitleFace}},
      {&vDct::desc, {0, "STATIC", "%Description", kLabelStyle, kLeft, 58, 420, 178, kText}},
      {&vDct::lblPath, {0, "STATIC", "Anti-Virus Program:", kLabelStyle, kLeft, kControlsTop - 4, 320, 18, kText}},
      {&vDct::vpath, {kVpath, "EDIT", "Anti-Virus Path", kEditStyle, kLeft, kControlsTop + 16, 320, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&vDct::locate, {kLocate, kButton, "Locate...", 0, 508, kControlsTop + 15, 92, 26}},
      {&vDct::Label4, {0, "STATIC", "Extra Arguments", kLabelStyle, kLeft, kControlsTop + 48, 320, 18, kText}},
      {&vDct::varg, {kVarg, "EDIT", "", kEditStyle, kLeft, kControlsTop + 68, 320, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&vDct::helpme, {kHelpme, kButton, "Help Me!", 0, 508, kControlsTop + 67, 92, 26}},
      {&vDct::Command1, {kCommand1, kButton, "Test It!", 0, kLeft, kControlsTop, 120, 30}},
      {&vDct::aload, {kAload, kCheck, "Enable Auto-Load (Highly Recommended)", 0, kLeft, kRow, 420, 18}},
      {&vDct::Check1, {kCheck1, kCheck, "Check DLL (Dynamic Linked Libraries)", 0, kLeft, kRow, 420, 18}},
      {&vDct::Check2, {kCheck1 + 1, kCheck, "Check DRV (Drivers)", 0, kLeft, kRow + 22, 420, 18}},
      {&vDct::Check3, {kCheck1 + 2, kCheck, "Check SYS (System files)", 0, kLeft, kRow + 44, 420, 18}},
      {&vDct::Check4, {kCheck1 + 3, kCheck, "Check OCX (ActiveX)", 0, kLeft, kRow + 66, 420, 18}},
      {&vDct::Check5, {kCheck1 + 4, kCheck, "Check EXE (Executables)", 0, kLeft, kRow + 88, 420, 18}},
      {&vDct::Check8, {kCheck1 + 5, kCheck, "Check SCR,PIF (Commonly Exploited File Types)", 0, kLeft, kRow + 110, 420, 18}},
      {&vDct::Check6, {kCheck1 + 6, kCheck, "Enable Auto-Scan", 0, kLeft, kRow, 420, 18}},
      {&vDct::Check7, {kCheck1 + 7, kCheck, "Enable Logging Feature", 0, kLeft, kRow, 420, 18}},
      {&vDct::drivers, {kDrivers, kButton, "Also Watch the Drivers Folder", 0, kLeft, kControlsTop + 40, 240, 30}},
      {&vDct::cButton1, {kCButton1, kButton, "Create Shutdown/Scan shortcut", 0, kLeft, kControlsTop, 240, 30}},
      {&vDct::Command2, {kCommand2, kButton, "Save", 0, kLeft, kControlsTop, 120, 30}},
  };
  MakeControls(kRows, plain);
  for (check* box : {&aload, &Check1, &Check2, &Check3, &Check4, &Check5, &Check8, &Check6, &Check7}) {
    lit_.Add(*box);  // a lit caption clears this window's and the settings pages' boxes
    boxes_.push_back(box);
  }

  Label3.Create(hwnd_, kLabel3, "Cancel");
  Label2.Create(hwnd_, kLabel2, "<<< Back");
  Label1.Create(hwnd_, kLabel1, "Next >>>");
  Place(Label3.hwnd(), kLeft - 8, kRuleY + 8, 76, 26);
  Place(Label2.hwnd(), 412, kRuleY + 8, 92, 26);
  Place(Label1.hwnd(), 512, kRuleY + 8, 92, 26);
  for (WizardLink* link : {&Label1, &Label2, &Label3})
    link->Hover = [this, link] { ClearLinks(link); };
  Label1.Activate = [this] { Label1_Click(); };
  Label2.Activate = [this] { Label2_Click(); };
  Label3.Activate = [this] { Label3_Click(); };

  locate.Click = [this] { locate_Click(); };
  helpme.Click = [this] { helpme_Click(); };
  Command1.Click = [this] { Command1_Click(); };
  cButton1.Click = [this] { cButton1_Click(); };
  drivers.Click = [this] { drivers_Click(); };
  Command2.Click = [this] { Command2_Click(); };
}

// --- reading the controls ----------------------------------------------------------

bool vDct::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
bool vDct::Shown(HWND control) {
  return control && (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}
std::string vDct::Title() const { return controls::ControlText(title); }
std::string vDct::Description() const { return controls::ControlText(desc); }
std::string vDct::ScannerPath() const { return controls::ControlText(vpath); }
std::string vDct::ScannerArguments() const { return controls::ControlText(varg); }

void vDct::SetScannerPath(const std::string& path) { SetText(vpath, path); }
void vDct::SetScannerArguments(const std::string& args) { SetText(varg, args); }

// --- pages -------------------------------------------------------------------------

void vDct::LoadUp(HWND opener) {
  OpenOver(opener);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  page_ = 0;
  norms();
  if (!FillFromSettings()) app_.AskOver(hwnd_, kSettingsUnreadable);
  NextFrame();
  FocusPage();
}

// Up to the first scanner every step must work: an unreadable file, or a
// flag no box can take, stops the filling where it is.
bool vDct::FillFromSettings() {
  aload.Value(AutoLoadShortcutExists() ? 1 : 0);
  // Opening the wizard loads the settings afresh, as the settings pages do.
  ForgetSettings(app_);
  const auto flags = ReadSetting(app_, "GETSETT");
  if (!flags) return false;
  if (!flags->empty()) {
    check* const order[] = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check8, &Check6, &Check7};
    const std::vector<std::string> values = Split(*flags, ',');
    for (size_t i = 0; i < values.size() && i < std::size(order); ++i) {
      const auto number = ParseNumber(values[i]);
      if (!number) return false;
      order[i]->Value(*number != 0 ? 1 : 0);
    }
  }
  const auto scanner = ReadSetting(app_, "ANTIVIRUS");
  if (!scanner) return false;
  std::string program = ScannerPath(), args = ScannerArguments();
  TakeScannerSetting(*scanner, program, args);
  SetText(vpath, program);
  SetText(varg, args);
  return true;
}

std::vector<HWND> vDct::PageControls(int page) const {
  switch (page) {
    case 1: return {lblPath, vpath, Label4, varg, helpme.hwnd(), locate.hwnd()};
    case 2: return {Command1.hwnd()};
    case 3: return {aload.hwnd(), drivers.hwnd()};
    case 4:
      return {Check1.hwnd(), Check2.hwnd(), Check3.hwnd(), Check4.hwnd(), Check5.hwnd(), Check8.hwnd()};
    case 5: return {Check6.hwnd()};
    case 6: return {Check7.hwnd()};
    case 7: return {cButton1.hwnd()};
    case 8: return {Command2.hwnd()};
    default: return {};
  }
}

void vDct::norms() {
  for (int page = 1; page <= kLastPage; ++page)
    for (HWND c : PageControls(page)) ShowWindow(c, SW_HIDE);
  ShowWindow(Label1.hwnd(), SW_SHOWNA);
  ShowWindow(Label2.hwnd(), SW_SHOWNA);
}

std::string vDct::FinalDescription() const {
  const long elapsed = ElapsedSeconds(startTime_, ClockNow(app_));
  std::string text = "Just click on the Save button to save the settings!\r\rThis setup took: " +
                     Dec(RoundedMinutes(elapsed)) + " minutes to complete.";
  if (elapsed < 3) text += "\r\rThat was quick! Go Speed Racer Go!";
  return text;
}

void vDct::NextFrame() {
  norms();
  page_ = std::clamp(page_, 0, kLastPage);
  if (page_ == 0) startTime_ = ClockNow(app_);
  SetText(title, kTitles[page_]);
  SetText(desc, page_ == kLastPage ? FinalDescription() : kDescriptions[page_]);
  for (HWND c : PageControls(page_)) ShowWindow(c, SW_SHOWNA);
  if (page_ == 0) ShowWindow(Label2.hwnd(), SW_HIDE);
  if (page_ == kLastPage) ShowWindow(Label1.hwnd(), SW_HIDE);
  // A page that hid the focused control hands the focus on, so the
  // keyboard never ends up nowhere.
  HWND focus = GetFocus();
  if (Visible() && (!focus || !IsChild(hwnd_, focus) || !IsWindowVisible(focus))) FocusPage();
}

// The first control of the page, or Next where the page has none.
void vDct::FocusPage() {
  const std::vector<HWND> controls = PageControls(page_);
  for (HWND c : controls) {
    if (c == lblPath || c == Label4) continue;
    SetFocus(c);
    return;
  }
  SetFocus(Shown(Label1.hwnd()) ? Label1.hwnd() : Label3.hwnd());
}

void vDct::Hide() {
  ClearLinks();
  ShowWindow(hwnd_, SW_HIDE);
}

// --- navigation ----------------------------------------------------------------------

void vDct::Label1_Click() {
  if (page_ >= kLastPage) return;
  // Going on without a scanner is allowed; the user is only told.
  if (page_ == 2 && !FileExists(ScannerPath())) app_.AskOver(hwnd_, kNoScanner);
  ++page_;
  NextFrame();
}

void vDct::Label2_Click() {
  if (page_ <= 0) return;
  --page_;
  NextFrame();
}

void vDct::Label3_Click() {
  if (app_.AskOver(hwnd_, kCancelQuestion, MsgButtons::YesNo) == MsgAnswer::No) return;
  Hide();
}

// --- the scanner --------------------------------------------------------------------

void vDct::locate_Click() {
  const std::string picked = ShowOpenFileDialog(app_, kChooseScannerTitle, ExecutableFilter());
  // A cancelled dialog leaves the configured scanner as it was, as the
  // setup window's own Choose... does.
  if (picked.empty()) return;
  SetText(vpath, picked);
  const std::string args = AutomaticArguments(picked);
  SetText(varg, args);
  AntivirusSetup(app_).SetFirstArguments(args);
}

void vDct::helpme_Click() {
  aVirHelp& list = SupportList(app_);
  list.Tag.clear();  // the first scanner's slot
  list.Open(hwnd_);
}

// The scanner gets the settings file and the baseline, nothing else: the
// extra arguments are not part of this test.
void vDct::Command1_Click() {
  const std::string program = ScannerPath();
  if (!FileExists(program)) {
    app_.AskOver(hwnd_, kChooseFirst);
    return;
  }
  app_.AskOver(hwnd_, kTestNotice);
  std::string one = app_.settingsFile, two = app_.baselineFile;
  if (app_.useShortPaths) {
    one = ShortPathOf(one);
    two = ShortPathOf(two);
  }
  const std::string& q = app_.quoteChar;
  RunScanner(app_, QuotedProgram(program) + " " + q + one + q + " " + q + two + q);
}

void vDct::cButton1_Click() {
  CreateSecureShutDownShortcut(app_);
}

void vDct::drivers_Click() { WatchDriversFolder(app_); }

// --- saving ---------------------------------------------------------------------------

void vDct::Command2_Click() {
  EnsureSettingsFile(app_);
  const std::string shortcutNotCreated = ApplyAutoLoadFromWizard(app_, aload.Value() == 1);

  // Every step runs whatever the one before it managed; only the closing
  // message depends on whether both writes went through.
  const bool reportEach = app_.edition.wizardWriteErrors;
  bool saved = true;
  const auto write = [&](const char* key, const std::string& value) {
    if (WriteEntry(app_, app_.settingsFile, key, value, "Korvanel")) return;
    saved = false;
    if (reportEach) app_.AskOver(hwnd_, "ERROR");
  };
  std::string flags;
  for (const check* box : {&Check1, &Check2, &Check3, &Check4, &Check5, &Check8, &Check6, &Check7}) {
    if (!flags.empty()) flags += ',';
    flags += box->Value() ? '1' : '0';
  }
  write("settings", flags);

  if (!FileExists(ScannerPath())) {
    app_.AskOver(hwnd_, kNoScanner);
    SetText(vpath, kPlaceholder);
    SetText(varg, " ");
  }
  write("antivirus", ScannerPath() + "|" + ScannerArguments());

  // Either way the user's choices stay on the page for another try, with
  // auto-load switched off or the scripting host chosen.
  if (!shortcutNotCreated.empty()) ReportShortcutNotCreated(app_, shortcutNotCreated);
  if (!saved) {
    app_.AskOver(hwnd_, kNotSaved);
    return;
  }
  app_.autoScanFailed = Check6.Value() == 1;
  if (!shortcutNotCreated.empty()) return;
  app_.AskOver(hwnd_, kSaved);
  Hide();
}

// --- hover looks ------------------------------------------------------------------------

void vDct::ClearLinks(const WizardLink* except) {
  for (WizardLink* link : {&Label1, &Label2, &Label3})
    if (link != except) link->Clear();
}

void vDct::ClearBoxes() {
  for (check* box : boxes_) box->downStatus(1);
}

void vDct::Image13_MouseMove() {
  ClearLinks();
  for (cButton* b : {&locate, &helpme, &Command1, &cButton1, &Command2, &drivers}) b->downStatus(1);
  ClearBoxes();
}

// --- window -----------------------------------------------------------------------------

bool vDct::OnCommand(int id, int, HWND) {
  // Escape and Enter from the dialog keys: Cancel, and Next where it shows.
  if (id == IDCANCEL) Label3_Click();
  if (id == IDOK && Shown(Label1.hwnd())) Label1_Click();
  return true;
}

bool vDct::OnHelp() {
  app_.OpenHelp("options.html");
  return true;
}

bool vDct::OnClose() {
  Label3_Click();
  return true;
}

// Over the background or the description (a label the pointer passes through).
bool vDct::OnMouseMove(POINT) {
  ClearLinks();
  return true;
}

bool vDct::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, ground_.get());
  RECT rule{Px(kLeft - 8), Px(kRuleY), client.right - Px(16), Px(kRuleY) + std::max(1, Px(1))};
  const controls::Brush line = controls::SolidBrush(ToColorRef(art::palette::kCardLine));
  FillRect(dc, &rule, line.get());
  return true;
}

std::optional<controls::Window::LabelLook> vDct::OnLabelLook(HWND label) {
  const COLORREF ink = label == title ? ToColorRef(art::palette::kInk) : controls::kBlack;
  return LabelLook{ink, ground_.get()};
}

void vDct::OnDpiChanged() { InvalidateRect(hwnd_, nullptr, TRUE); }

vDct& Wizard(App& app) { return app.kept.Get<vDct>(app); }
bool HasWizard(const App& app) { return app.kept.Find<vDct>() != nullptr; }

}  // namespace kv
