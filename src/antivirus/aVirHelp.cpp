#include "antivirus/aVirHelp.h"

#include "antivirus/aVirHelp_ids.h"
#include "antivirus/s_avir.h"
#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/maker.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "controls/palette.h"
#include "controls/theme.h"
#include "core/busy_flag.h"
#include "core/scanner.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/shell_folders.h"

namespace kv {

namespace {

using namespace avirhelp_ids;

constexpr char kClassName[] = "KorvanelSupportList";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr controls::Typeface kHeading{"Segoe UI", 12, FW_SEMIBOLD};
constexpr controls::Typeface kLinkFont{"Segoe UI", 9, FW_NORMAL, true};
constexpr SIZE kClient{560, 470};       // at 96 DPI
constexpr SIZE kPlainClient{560, 478};
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kTeal = RGB(0, 64, 64);

constexpr char kDownloadLink[] = "Download Latest Anti-Virus Support List";
constexpr char kDownloading[] = "Downloading - Please wait...";
constexpr char kSpecialSuffix[] =
    " may require additional steps to complete the setup.  Click here to view the online "
    "documentation.";
constexpr char kShellFailed[] =
    "Could not shell web address. You will need to manually visit the website: ";

bool ShellFailed(long result) { return result <= 32; }


void Enable(HWND control, bool on) { EnableWindow(control, on ? TRUE : FALSE); }

}  // namespace

const std::vector<SupportProduct>& FixedSupportProducts() {
  static const std::vector<SupportProduct> table = [] {
    const char* const rows[16][2] = {
        {"AVAST 4 (All Operating Systems)", "ashQuick.exe"},
        {"AVAST32 (All Operating Systems)", "quick32.exe"},
        {"AVG (All Operating Systems)", "avgse.exe"},
        {"EZ Anti-Virus (All Operating Systems)", "vet98.exe"},
        {"Fix-It Utilities (All OS)", "AVCmd.exe"},
        {"F-Prot (All Operating Systems)", "fpcmd.exe"},
        {"H+BDEV AntiVir (Personal Edition - All OS)", "avwin.exe"},
        {"Kaspersky 3.0 (All Operating Systems)", "avp32.exe"},
        {"McAfee 5.0 and earlier (All Operating Systems)", "scan32.exe"},
        {"McAfee 6.0 (All Operating Systems)", "scanpm.exe"},
        {"McAfee 6.02 and later (All Operating Systems)", "scan.exe"},
        {"NOD32 (All Operating Systems)", "nod32.exe"},
        {"Norton (2000/NT)", "navwnt.exe"},
        {"Norton (Win95/98/ME/XP)", "navw32.exe"},
        {"Panda 7.0 Platinum (All-OS)", "Pavcl.com"},
        {"Sophos Anti Virus (All-OS)", "sweep.exe"},
    };
    std::vector<SupportProduct> products;
    for (const auto& row : rows) products.push_back({row[0], row[1], {}, {}});
    return products;
  }();
  return table;
}

aVirHelp::aVirHelp(App& app)
    : searchRoots{ProgramFilesFolder(), "C:\\"}, Downloader1(app.host), app_(app), linkInk_(kNavy) {
  background_ = controls::SolidBrush(controls::palette::kCheckWindow);
  static const controls::Brush classBackground =
      controls::SolidBrush(controls::palette::kCheckWindow);
  controls::UseDialogKeys(kClassName);
  Create(controls::WindowClass{kClassName, 0, classBackground.get(), true}, WS_EX_CONTROLPARENT,
         Plain() ? "Anti-Virus Shell Help" : "Anti-Virus Auto Configuration Wizard",
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, 600, 500, nullptr);
  SizeClientTo(Plain() ? kPlainClient : kClient);
  if (Plain())
    CreatePlainControls();
  else
    CreateControls();
  Command4.Click = [this] { Command4_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command1.Click = [this] { Command1_Click(); };

  Downloader1.maxBytes = kSupportListMaxBytes;
  Downloader1.Accept = [](std::string_view bytes) { return IsSupportListText(bytes); };
  Downloader1.DownloadError = [this](const std::string&) {
    ResetDownloadLink();
    app_.AskOver(hwnd_, "Error! Could not download latest antivirus support list!\r\n\r\nPlease try again later.");
  };
  // A failed download has said so and left the list file as it was: there
  // is nothing new to load and no "OK" to announce.
  Downloader1.DownloadComplete = [this](const std::string&, size_t saved) {
    ResetDownloadLink();
    if (saved == 0) return;
    LoadList();
    SetWindowTextA(hwnd_, "Anti-Virus Shell Help - Download OK");
  };
}

aVirHelp::~aVirHelp() { Destroy(); }

bool aVirHelp::Plain() const { return !app_.edition.hasSupportListDownload; }

std::string aVirHelp::ListFile() const { return app_.dataRoot + "Data\\avsupportlist.dat"; }

void aVirHelp::CreateControls() {
  using controls::kEditStyle, controls::kLabelStyle, controls::kListStyle;
  constexpr DWORD kLink = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
  constexpr const char* kButton = cButton::kClassName;
  // Created in tab order; each field after the label that names it. The
  // search button shows one "&" of the program's "Search && Detect ...".
  static const controls::ControlRow<aVirHelp> kRows[] = {
      {&aVirHelp::Label1, {0, "STATIC", "Anti-Virus Auto Configuration Wizard", kLabelStyle, 16, 12, 528, 26, kHeading}},
      {&aVirHelp::List1, {kList1, "LISTBOX", "Anti-virus products", kListStyle, 16, 44, 528, 150, kText, "", WS_EX_CLIENTEDGE}},
      {&aVirHelp::Command4, {kCommand4, kButton, "Search & Detect Settings for Selected Product...", 0, 16, 202, 528, 32}},
      {&aVirHelp::Label5, {0, "STATIC", "Location:", kLabelStyle, 16, 246, 80, 20, kText}},
      {&aVirHelp::Text2, {kText2, "EDIT", "", kEditStyle, 100, 242, 444, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&aVirHelp::Label6, {0, "STATIC", "Arguments:", kLabelStyle, 16, 276, 80, 20, kText}},
      {&aVirHelp::txtCmd, {kTxtCmd, "EDIT", "", kEditStyle, 100, 272, 444, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&aVirHelp::Command2, {kCommand2, kButton, "Test Settings", 0, 16, 306, 170, 32}},
      {&aVirHelp::Command3, {kCommand3, kButton, "Save Settings", 0, 196, 306, 170, 32}},
      {&aVirHelp::Label2, {0, "STATIC", "Settings must be tested before they can be saved", kLabelStyle, 16, 344, 528, 18, kText}},
      {&aVirHelp::lblSpecial, {kLblSpecial, "BUTTON", "", kLink, 16, 366, 528, 36, kLinkFont}},
      {&aVirHelp::lblDLUpdates, {kLblDLUpdates, "BUTTON", kDownloadLink, kLink, 16, 408, 300, 20, kLinkFont}},
      {&aVirHelp::Command1, {kCommand1, kButton, "Click for Help if your product isn't listed", 0, 16, 432, 528, 32}},
  };
  MakeControls(kRows, app_.edition.plainControls);
  SetWindowTextA(lblSpecial, ("%name%" + std::string(kSpecialSuffix)).c_str());
  ShowWindow(lblSpecial, SW_HIDE);
}

void aVirHelp::CreatePlainControls() {
  using controls::kEditStyle, controls::kLabelStyle, controls::kListStyle;
  constexpr const char* kButton = cButton::kClassName;
  static const controls::ControlRow<aVirHelp> kRows[] = {
      {&aVirHelp::Label1, {0, "STATIC", "Step 1) Choose your Anti Virus Software, then click on \"Search\":", kLabelStyle, 16, 12, 528, 20, kText}},
      {&aVirHelp::List1, {kList1, "LISTBOX", "Anti-virus products", kListStyle, 16, 36, 528, 228, kText, "", WS_EX_CLIENTEDGE}},
      {&aVirHelp::Command4, {kCommand4, kButton, "Search for this Selection...", 0, 16, 272, 260, 32}},
      {&aVirHelp::Text2, {kText2, "EDIT", "", kEditStyle, 16, 312, 528, 24, kText, "", WS_EX_CLIENTEDGE}},
      {&aVirHelp::Label2, {0, "STATIC", "Step 2) Click Test it!", kLabelStyle, 16, 354, 170, 20, kText}},
      {&aVirHelp::Command2, {kCommand2, kButton, "Test It!", 0, 196, 348, 160, 32}},
      {&aVirHelp::Label3, {0, "STATIC", "Step 3) Click Use it!", kLabelStyle, 16, 392, 170, 20, kText}},
      {&aVirHelp::Command3, {kCommand3, kButton, "Use It!", 0, 196, 386, 160, 32}},
      {&aVirHelp::Command1, {kCommand1, kButton, "My Anti-Virus Program Isn't Listed!", 0, 16, 430, 340, 32}},
  };
  MakeControls(kRows, app_.edition.plainControls);
  products = FixedSupportProducts();
  for (const SupportProduct& p : products)
    SendMessageA(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
}

// --- controls ---------------------------------------------------------------

std::vector<std::string> aVirHelp::Lines() const { return controls::ListLines(List1); }

void aVirHelp::Select(int line) {
  SendMessageA(List1, LB_SETCURSEL, WPARAM(line), 0);
  List1_Click();
}

std::string aVirHelp::Caption() const { return controls::ControlText(hwnd_); }
std::string aVirHelp::Location() const { return controls::ControlText(Text2); }
std::string aVirHelp::Arguments() const { return txtCmd ? controls::ControlText(txtCmd) : std::string(); }
std::string aVirHelp::SpecialText() const { return lblSpecial ? controls::ControlText(lblSpecial) : std::string(); }
bool aVirHelp::SpecialVisible() const { return lblSpecial && IsWindowVisible(lblSpecial); }
std::string aVirHelp::DownloadLinkText() const {
  return lblDLUpdates ? controls::ControlText(lblDLUpdates) : std::string();
}
bool aVirHelp::Visible() const { return IsWindowVisible(hwnd_); }

// --- procedures ---------------------------------------------------------------

void aVirHelp::Open(HWND opener) {
  // Shown first: a question of the load is the window's own.
  OpenOver(opener);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (!loaded_) Load();
  SetFocus(List1);
}

// The window's load: a fresh opening starts with nothing to test or save.
void aVirHelp::Load() {
  loaded_ = true;
  Command2.Enabled(false);
  Command3.Enabled(false);
  SetWindowTextA(Text2, "");
  if (txtCmd) SetWindowTextA(txtCmd, "");
  if (!Plain()) LoadList();
}

void aVirHelp::LoadList() {
  if (!FileExists(ListFile())) {
    app_.AskOver(hwnd_, "Please download the latest anti-virus support list");
    return;
  }
  products = ParseSupportList(ReadWholeFile(ListFile()).value_or(std::string()));
  SendMessageA(List1, LB_RESETCONTENT, 0, 0);
  for (const SupportProduct& p : products)
    SendMessageA(List1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
  if (lblSpecial) ShowWindow(lblSpecial, SW_HIDE);
}

void aVirHelp::List1_Click() {
  if (!lblSpecial) return;
  const int line = int(SendMessageA(List1, LB_GETCURSEL, 0, 0));
  if (line < 0 || size_t(line) >= products.size() || products[size_t(line)].support.empty()) {
    ShowWindow(lblSpecial, SW_HIDE);
    return;
  }
  SetWindowTextA(lblSpecial, (products[size_t(line)].name + kSpecialSuffix).c_str());
  ShowWindow(lblSpecial, SW_SHOWNA);
}

void aVirHelp::lblSpecial_Click() {
  const int line = int(SendMessageA(List1, LB_GETCURSEL, 0, 0));
  if (line < 0 || size_t(line) >= products.size()) return;
  const std::string address = products[size_t(line)].support;
  // The list comes from the network: anything but a web page (a program, a
  // document, a share) is never handed to the shell.
  if (!IsWebAddress(address) || ShellFailed(app_.host.ShellOpen(Trim(address), {}, SW_SHOWNORMAL)))
    app_.AskOver(hwnd_, kShellFailed + address);
}

void aVirHelp::Command4_Click() {
  if (searching_) return;
  const int line = int(SendMessageA(List1, LB_GETCURSEL, 0, 0));
  if (line < 0 || size_t(line) >= products.size()) return;
  BusyFlag busy(searching_);
  if (!Plain()) {
    Enable(List1, false);
    Enable(txtCmd, false);
  }
  Enable(Text2, false);
  app_.AskOver(hwnd_, "Korvanel may become unresponsive during the file search. This is normal.\r\rClick OK "
           "to continue.");
  const std::string exe = products[size_t(line)].exe;
  const std::string templ = products[size_t(line)].cmd;
  SetWindowTextA(Text2, "Searching...");
  std::string found;
  for (const std::string& root : searchRoots) {
    found = SearchTreeForFile(root, exe);
    if (!found.empty()) break;
  }
  if (found.empty()) {
    app_.AskOver(hwnd_, "The default executable for this program was not found! Make sure you selected the "
             "correct anti-virus program, and the correct operating system.");
    SetWindowTextA(Text2, "");
    Command2.Enabled(false);
    Command3.Enabled(false);
  } else {
    app_.AskOver(hwnd_, "Success!");
    SetWindowTextA(Text2, found.c_str());
    if (!Plain()) {
      // The folder is the found path up to its last "\", whatever letter
      // case the list gives the file name; a folder that has no short form
      // is used as it is.
      const std::string folder = FolderOfPath(found);
      const std::string shortFolder = ShortPathOf(folder);
      const std::string args = FillArgumentTemplate(templ, shortFolder.empty() ? folder : shortFolder);
      SetWindowTextA(txtCmd, args.c_str());
    }
    Command2.Enabled(true);
  }
  Enable(Text2, true);
  if (!Plain()) {
    Enable(List1, true);
    Enable(txtCmd, true);
  }
}

void aVirHelp::Command2_Click() {
  const std::string program = Location();
  if (!FileExists(program)) {
    app_.AskOver(hwnd_, "You must choose a virus scanner before you proceed!");
    return;
  }
  app_.AskOver(hwnd_, "Korvanel will now attempt to scan two files. If the Virus-Scanner you selected scans "
           "both files, then it is fully compatible with Korvanel! If not, make sure you chose the "
           "correct EXE file in your anti-virus folder.");
  auto item = [&](const std::string& file) {
    return app_.quoteChar + (app_.useShortPaths ? ShortPathOf(file) : file) + app_.quoteChar;
  };
  std::string command = QuotedProgram(program) + " ";
  if (!Plain()) command += Arguments() + " ";
  command += item(app_.settingsFile) + " " + item(app_.baselineFile);
  RunScanner(app_, command);
  Command3.Enabled(true);
}

void aVirHelp::HandOver(const std::string& program, const std::string& args) {
  if (Tag == "1") {
    Tag.clear();
    AntivirusSetup(app_).SetSecond(program, args);
    return;
  }
  app_.windows.SetWizardScannerPath(app_, program);
  AntivirusSetup(app_).SetFirst(program, args);
  app_.windows.SetWizardScannerArguments(app_, args);
}

void aVirHelp::Command3_Click() {
  const std::string program = Location();
  if (Plain()) {
    // Use It!: the arguments follow from the path, and the window keeps its
    // state for the next opening.
    HandOver(program, AutomaticArguments(program));
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  HandOver(program, Arguments());
  Form_Unload();
}

void aVirHelp::ResetDownloadLink() {
  linkInk_ = kNavy;
  SetWindowTextA(lblDLUpdates, kDownloadLink);
  Enable(lblDLUpdates, true);
  InvalidateRect(lblDLUpdates, nullptr, TRUE);
}

void aVirHelp::lblDLUpdates_Click() {
  if (!lblDLUpdates || DownloadLinkText() == kDownloading) return;
  linkInk_ = kTeal;
  SetWindowTextA(lblDLUpdates, kDownloading);
  InvalidateRect(lblDLUpdates, nullptr, TRUE);
  if (!Downloader1.BeginDownload(app_.DownloadUrl(maker::kSupportListPath), ListFile()))
    ResetDownloadLink();  // the warning has been shown; nothing is coming
}

void aVirHelp::Command1_Click() {
  const std::string web = maker::kWebAddress;
  app_.AskOver(hwnd_, "There is a very good chance that your anti-virus software is compatible.  As long as it "
           "supports command line arguments, then it will work.\rKorvanel will now redirect you to " +
           std::string(maker::kName) + " Online.\r\rSimply click on Korvanel, and click on Anti-Virus "
           "support.");
  if (ShellFailed(app_.host.ShellOpen(web, {}, SW_SHOWNORMAL)))
    app_.AskOver(hwnd_, "Korvanel could not open your default web browser to " + web + ".");
}

// Closing hands nothing over; the next opening loads the window afresh.
void aVirHelp::Form_Unload() {
  Tag.clear();
  loaded_ = false;
  ShowWindow(hwnd_, SW_HIDE);
}

void aVirHelp::norms() {
  for (cButton* b : {&Command4, &Command2, &Command3, &Command1}) b->downStatus(1);
}

// --- window -----------------------------------------------------------------

bool aVirHelp::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDCANCEL:  // Escape closes the window as its close box does
      Form_Unload();
      return true;
    case kList1:
      if (code == LBN_SELCHANGE) List1_Click();
      return true;
    case kLblSpecial:
      if (code == BN_CLICKED) lblSpecial_Click();
      return true;
    case kLblDLUpdates:
      if (code == BN_CLICKED) lblDLUpdates_Click();
      return true;
    case IDOK: {
      // Enter on a focused link follows it, as on a button.
      const HWND focus = GetFocus();
      if (focus && (focus == lblSpecial || focus == lblDLUpdates))
        SendMessageA(focus, BM_CLICK, 0, 0);
      return true;
    }
    default:
      return false;
  }
}

bool aVirHelp::OnHelp() {
  app_.OpenHelp("options.html");
  return true;
}

bool aVirHelp::OnClose() {
  Form_Unload();
  return true;
}

bool aVirHelp::OnMouseMove(POINT) {
  norms();
  return true;
}

HCURSOR aVirHelp::OnChildPointer(HWND child) {
  if (child == List1 || child == Text2) norms();
  if (child == lblSpecial || child == lblDLUpdates) return controls::HandPointer();
  return nullptr;
}

std::optional<controls::Window::LabelLook> aVirHelp::OnLabelLook(HWND) {
  return LabelLook{controls::kBlack, background_.get()};
}

LRESULT aVirHelp::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DRAWITEM) {
    DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return TRUE;
  }
  return Default(msg, wp, lp);
}

void aVirHelp::DrawLink(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, background_.get());
  const COLORREF ink = item.hwndItem == lblDLUpdates ? linkInk_ : controls::palette::kLink;
  SetTextColor(item.hDC, ink);
  SetBkMode(item.hDC, TRANSPARENT);
  const HGDIOBJ old = SelectObject(item.hDC, FontOf(kLinkFont));
  const std::string text = controls::ControlText(item.hwndItem);
  RECT r = item.rcItem;
  DrawTextA(item.hDC, text.c_str(), int(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, old);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = item.rcItem;
    DrawFocusRect(item.hDC, &focus);
  }
}

aVirHelp& SupportList(App& app) { return app.kept.Get<aVirHelp>(app); }
bool HasSupportList(const App& app) { return app.kept.Find<aVirHelp>() != nullptr; }

}  // namespace kv
