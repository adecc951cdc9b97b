#include "antivirus/s_avir.h"

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir_ids.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "controls/palette.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

using namespace s_avir_ids;

namespace {

constexpr char kClassName[] = "KorvanelAntivirusSetup";
constexpr SIZE kClient{420, 340};  // at 96 DPI
const controls::Typeface kText{"Segoe UI", 9};
const controls::Typeface kBold{"Segoe UI", 9, FW_SEMIBOLD};

constexpr char kNoFirstScanner[] =
    "You didn't choose an anti-virus software exe.  We recommend that you get one to take full "
    "advantage of Korvanel";

}  // namespace

s_avir::s_avir(App& app) : app_(app) {
  ground_ = controls::SolidBrush(app_.edition.plainControls ? GetSysColor(COLOR_BTNFACE)
                                                            : controls::palette::kCheckWindow);
  controls::UseDialogKeys(kClassName);
  if (!Create(controls::WindowClass{kClassName, 0, nullptr, true}, WS_EX_CONTROLPARENT,
              "Anti-Virus/Trojan Selection Screen",
              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
              CW_USEDEFAULT, CW_USEDEFAULT, 440, 380, nullptr))
    return;
  SizeClientTo(kClient);
  CreateControls();
  Load();
}

s_avir::~s_avir() { Destroy(); }

void s_avir::CreateControls() {
  using controls::kEditStyle, controls::kLabelStyle;
  constexpr const char* kButton = cButton::kClassName;
  // The support list of the low edition searches for a product's file
  // instead of configuring it, and its buttons say so.
  const char* const detect =
      app_.edition.hasSupportListDownload ? "Auto Detect AntiVirus..." : "Help me find the correct exe file...";
  // Created in tab order.
  const controls::ControlRow<s_avir> rows[] = {
      {&s_avir::Label8, {0, "STATIC", "Your Anti-Virus Program (Select upto 2):", kLabelStyle, 16, 12, 388, 18, kBold}},
      {&s_avir::Text5, {kText5, "EDIT", kNoScannerPlaceholder, kEditStyle, 16, 36, 290, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&s_avir::cChoose, {kCChoose, kButton, "Choose...", 0, 314, 34, 90, 28}},
      {&s_avir::chlpFind, {kChlpFind, kButton, detect, 0, 16, 66, 240, 28}},
      {&s_avir::Label14, {0, "STATIC", "Optional Command Line Arguments:", kLabelStyle, 16, 102, 388, 18, kText}},
      {&s_avir::Text6, {kText6, "EDIT", "", kEditStyle, 16, 122, 388, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&s_avir::Text1, {kText1, "EDIT", kNoScannerPlaceholder, kEditStyle, 16, 166, 290, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&s_avir::cButton10, {kCButton10, kButton, "Choose...", 0, 314, 164, 90, 28}},
      {&s_avir::cButton1, {kCButton1, kButton, detect, 0, 16, 196, 240, 28}},
      {&s_avir::Label1, {0, "STATIC", "Optional Command Line Arguments:", kLabelStyle, 16, 232, 388, 18, kText}},
      {&s_avir::Text2, {kText2, "EDIT", "", kEditStyle, 16, 252, 388, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&s_avir::cButton3, {kCButton3, kButton, "Save", 0, 318, 296, 86, 28}},
      {&s_avir::cButton2, {kCButton2, kButton, "Cancel", 0, 224, 296, 86, 28}},
  };
  MakeControls(rows, app_.edition.plainControls);

  chlpFind.Click = [this] { chlpFind_Click(); };
  cChoose.Click = [this] { cChoose_Click(); };
  cButton1.Click = [this] { cButton1_Click(); };
  cButton10.Click = [this] { cButton10_Click(); };
  cButton2.Click = [this] { cButton2_Click(); };
  cButton3.Click = [this] { cButton3_Click(); };
}

// Made with the placeholder in both path fields; the stored values replace
// what they name. From the first read on, a failing step is skipped.
void s_avir::Load() {
  ScannerFields& f = app_.scanners;
  f = ScannerFields{kNoScannerPlaceholder, "", kNoScannerPlaceholder, ""};
  if (auto first = ReadSetting(app_, "ANTIVIRUS")) TakeScannerSetting(*first, f.Text5, f.Text6);
  if (auto second = ReadSetting(app_, "AV2")) TakeScannerSetting(*second, f.Text1, f.Text2);
  ShowFields();
}

void s_avir::Open(HWND opener) {
  ShowFields();
  OpenOver(opener);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(Text5);
}

bool s_avir::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

const ScannerFields& s_avir::Fields() const { return app_.scanners; }

void s_avir::ShowFields() {
  if (!hwnd_) return;
  showing_ = true;
  const ScannerFields& f = app_.scanners;
  for (auto [edit, text] : {std::pair{Text5, &f.Text5}, std::pair{Text6, &f.Text6},
                            std::pair{Text1, &f.Text1}, std::pair{Text2, &f.Text2}})
    if (controls::ControlText(edit) != *text) SetWindowTextA(edit, text->c_str());
  showing_ = false;
}

void s_avir::SetFirst(const std::string& program, const std::string& args) {
  app_.scanners.Text5 = program;
  app_.scanners.Text6 = args;
  ShowFields();
}

void s_avir::SetFirstArguments(const std::string& args) {
  app_.scanners.Text6 = args;
  ShowFields();
}

void s_avir::SetSecond(const std::string& program, const std::string& args) {
  app_.scanners.Text1 = program;
  app_.scanners.Text2 = args;
  ShowFields();
}

std::string* s_avir::FieldOf(HWND edit) {
  ScannerFields& f = app_.scanners;
  if (edit == Text5) return &f.Text5;
  if (edit == Text6) return &f.Text6;
  if (edit == Text1) return &f.Text1;
  if (edit == Text2) return &f.Text2;
  return nullptr;
}

// --- buttons ----------------------------------------------------------------

void s_avir::cChoose_Click() {
  const std::string program = ShowOpenFileDialog(app_, kChooseScannerTitle, ExecutableFilter());
  if (program.empty()) return;
  const std::string args = AutomaticArguments(program);
  SetFirst(program, args);
  // An open wizard shows the first scanner's arguments too.
  app_.windows.SetWizardScannerArguments(app_, args);
  app_.AskOver(hwnd_, "Don't forget to Save!");
}

void s_avir::cButton10_Click() {
  const std::string program = ShowOpenFileDialog(app_, kChooseScannerTitle, ExecutableFilter());
  if (program.empty()) return;
  SetSecond(program, AutomaticArguments(program));
  app_.AskOver(hwnd_, "Don't forget to Save!");
}

void s_avir::chlpFind_Click() { SupportList(app_).Open(hwnd_); }

void s_avir::cButton1_Click() {
  aVirHelp& list = SupportList(app_);
  list.Tag = "1";
  list.Open();
}

void s_avir::cButton3_Click() {
  ScannerFields& f = app_.scanners;
  if (!FileExists(f.Text5)) {
    app_.AskOver(hwnd_, kNoFirstScanner);
    SetFirst(kNoScannerPlaceholder, " ");
  }
  if (!FileExists(f.Text1)) SetSecond("", "");
  const bool first = WriteEntry(app_, app_.settingsFile, "antivirus", f.Text5 + "|" + f.Text6, "Korvanel");
  const bool second = WriteEntry(app_, app_.settingsFile, "av2", f.Text1 + "|" + f.Text2, "Korvanel");
  if (!first || !second) {
    // The window stays open with the edits, for another try.
    app_.AskOver(hwnd_, kSettingsNotSaved, MsgButtons::Ok, {}, MsgIcon::Error);
    return;
  }
  app_.AskOver(hwnd_, "Save Success!");
  ShowWindow(hwnd_, SW_HIDE);
}

void s_avir::cButton2_Click() { ShowWindow(hwnd_, SW_HIDE); }

void s_avir::Form_Unload() {
  App& app = app_;
  DropAntivirusSetup(app);  // this object is gone now
}

void s_avir::norms() {
  for (cButton* b : {&cChoose, &chlpFind, &cButton10, &cButton1, &cButton2, &cButton3})
    b->downStatus(1);
}

// --- window -----------------------------------------------------------------

bool s_avir::OnCommand(int id, int code, HWND from) {
  if (id == IDCANCEL && !from) {  // Escape closes the window as its close box does
    Form_Unload();
    return true;
  }
  if (code != EN_CHANGE || showing_) return false;
  std::string* field = FieldOf(from);
  if (!field) return false;
  *field = controls::ControlText(from);
  return true;
}

bool s_avir::OnHelp() {
  app_.OpenHelp("options.html");
  return true;
}

bool s_avir::OnClose() {
  Form_Unload();
  return true;
}

bool s_avir::OnEraseBackground(HDC dc) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  FillRect(dc, &c, ground_.get());
  return true;
}

bool s_avir::OnMouseMove(POINT) {
  norms();
  return true;
}

std::optional<controls::Window::LabelLook> s_avir::OnLabelLook(HWND) {
  return LabelLook{controls::kBlack, ground_.get()};
}

// --- the scanner's file -------------------------------------------------------

std::string AutomaticArguments(const std::string& program) {
  const std::string upper = UCase(program);
  if (upper.find("NAVW") != std::string::npos) return "/HEUR:3";
  if (upper.find("PAVCL") != std::string::npos) return "/NSB /NOM /AUT";
  return " ";
}

std::string ShowOpenFileDialog(App& app, const std::string& title, const std::string& filter) {
  return app.host.OpenFileDialog(title, filter, AntivirusSetup(app).hwnd());
}

std::string ExecutableFilter() {
  return std::string("Executable Files (*.exe, *.com)\0*.EXE;*.COM\0All Files (*.*)\0*.*\0", 64);
}

s_avir& AntivirusSetup(App& app) { return app.kept.Get<s_avir>(app); }
bool HasAntivirusSetup(const App& app) { return app.kept.Find<s_avir>() != nullptr; }
void DropAntivirusSetup(App& app) { app.kept.Drop<s_avir>(); }

}  // namespace kv
