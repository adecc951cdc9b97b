// A tool, not a test: scripts/screenshots runs this inside Wine's own
// desktop (so windows have frames) to photograph every page of both main
// windows. It needs KV_SHOTS, the output folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "context/app.h"
#include "app/editions.h"
#include "app/mForm1.h"
#include "context/settings.h"
#include "antivirus/aVirHelp.h"
#include "appwatch/appF.h"
#include "logs/LogList.h"
#include "logs/repF.h"
#include "controls/check.h"
#include "customfolders/iCust.h"
#include "integrity/check_request.h"
#include "integrity/intCheck.h"
#include "regwatch/regF.h"
#include "platform/files.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"
#include "antivirus/sWait.h"
#include "antivirus/s_avir.h"
#include "core/text.h"
#include "settingsui/settings_pages.h"
#include "settingsui/vDct.h"
#include "support/program_folder.h"
#include "support/pump.h"
#include "support/scripted_host.h"

namespace kv {
namespace {

// Wine keeps each top-level window's pixels apart from the screen DC, so the
// photograph is taken from outside: the tour writes NAME.ready holding the
// window's rectangle on the desktop, the script photographs the X display
// and answers with NAME.done.
bool Photograph(HWND hwnd, const std::string& folder, const std::string& name) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  const std::string ready = folder + "\\" + name + ".ready";
  const std::string done = folder + "\\" + name + ".done";
  if (FILE* f = std::fopen((ready + ".tmp").c_str(), "wb")) {
    std::fprintf(f, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fclose(f);
  }
  MoveFileA((ready + ".tmp").c_str(), ready.c_str());
  return test::PumpUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                         60000);
}

// Lets every paint finish: the window is settled once the queue stays empty.
void Settle(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  const ULONGLONG until = GetTickCount64() + 400;
  test::PumpUntil([&] { return GetTickCount64() >= until; }, 2000);
}

// Both custom controls side by side on a page, in every state a user sees:
// a check box unchecked, checked, lit, and the same in the plain look.
void ShowCustomControls(mForm1& f) {
  static std::vector<std::unique_ptr<check>> checks;
  static std::unique_ptr<cButton> disabled;
  checks.clear();
  f.Image11_Click();
  f.setFq.Content();  // made now, so that its controls are there to hide
  HWND page = f.setFq.hwnd();
  // The controls take the place of the page's own.
  for (HWND w = GetWindow(page, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (w != f.setFq.HeadingLabel()) ShowWindow(w, SW_HIDE);
  const char* captions[] = {"Check Dynamic Link Libraries (DLL)", "Check Drivers (DRV)", "Auto-Logging"};
  for (int plain = 0; plain < 2; ++plain)
    for (int i = 0; i < 3; ++i) {
      checks.push_back(std::make_unique<check>(page, 900 + plain * 3 + i, 24 + plain * 300, 70 + i * 28,
                                               270, 18, captions[i], plain != 0));
      checks.back()->Value(i == 1);
    }
  SendMessageA(checks[2]->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 8));
  disabled = std::make_unique<cButton>(page, 910, 24, 170, 120, 30, "Use It!");
  disabled->Enabled(false);
}

// The RegWatch page after a pass without a snapshot (so every entry is new),
// a warning line chosen; the tour's values are removed again at once.
void ShowRegWatchFindings(mForm1& f) {
  static const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::pair<const char*, const char*> values[] = {
      {"Updater", "C:\\Program Files\\Updater\\update.exe -quiet"},
      {"Helper (x86)", "C:\\Tools\\helper.exe"}};
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  for (const auto& [name, data] : values)
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), DWORD(strlen(data) + 1));
  f.Image7_Click();
  RegWatchPage* page = f.regF.ContentAs<RegWatchPage>();
  page->Command1_Click();
  for (const auto& [name, data] : values) RegDeleteValueA(key, name);
  RegCloseKey(key);
  SendMessageA(page->List5, LB_SETCURSEL, 1, 0);
  page->List5_Click();
}

// Logs of two days, one of them with a second log in the same second.
void WriteSampleLogs(const test::ProgramFolder& folder) {
  folder.MakeFolder("Data\\Log");
  const std::string header = "Integrity Checker - These files were either New or Failed the Integrity Check,";
  folder.Write("Data\\Log\\01-05-2007(8_17_49AM).log",
               header + "C:\\WINDOWS\\system32\\kbdus.dll,C:\\WINDOWS\\system32\\drivers\\null.sys,"
                        "C:\\WINDOWS\\notepad.exe\r\n");
  folder.Write("Data\\Log\\01-05-2007(8_17_49AM-2).log",
               "Registry Action - Scan and Update Multiple Entries,C:\\Tools\\tray.exe\r\n");
  folder.Write("Data\\Log\\01-05-2007(10_02_11PM).log",
               "Precautionary Scan - These files were to be renamed/deleted/overwritten at startup,"
               "C:\\WINDOWS\\system32\\old.dll\r\n");
  folder.Write("Data\\Log\\01-06-2007(9_30_00AM).log", header + "C:\\WINDOWS\\system32\\shell32.dll\r\n");
}

void ShowOptionsWithLogs(mForm1& f) {
  f.Image11_Click();
  f.logList()->cReports_Click();
  f.logList()->Select("01-05-2007", "8:17:49 AM");
  SetFocus(f.logList()->TreeView2);
}

void ShowReport(mForm1& f) {
  ShowOptionsWithLogs(f);
  f.logList()->cViewReport_Click();
}

void ShowSettings(mForm1& f) {
  f.Image11_Click();
  f.options()->cSettings_Click();
}

// The advanced page after a read-buffer comparison, with the warning shown.
void ShowAdvancedCompared(mForm1& f) {
  f.Image11_Click();
  f.options()->cButton2_Click();
  AdvancedSettingsPage& a = *f.options()->advanced;
  if (AdvancedSettingsPage::Checked(a.Check10)) SendMessageA(a.Check10, BM_CLICK, 0, 0);
  a.cSpeeds_Click();
}

void ShowAdvanced(mForm1& f) {
  f.Image11_Click();
  f.options()->cButton2_Click();
}

void ShowAppWatch(mForm1& f) {
  f.Image9_Click();
  f.appWatch()->ref_Click();
  const auto lines = f.appWatch()->Lines();
  for (const std::string& line : lines)
    if (line.find(": Welcome to Korvanel2") != std::string::npos) f.appWatch()->SelectLine(line);
}

void Tour(const Edition& edition, const std::string& prefix,
          const std::vector<std::pair<std::string, std::function<void(mForm1&)>>>& shots) {
  const char* out = std::getenv("KV_SHOTS");
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
  WriteSampleLogs(folder);
  folder.Write(edition.ownFileName, std::string(200000, 'k'));  // what the comparison reads
  test::ScriptedHost host;
  App app(host, edition, folder.dir());
  EnsureSettingsFile(app);
  mForm1& f = Form1(app);
  SetWindowPos(f.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  f.FitOnScreen();
  f.Show();
  SetForegroundWindow(f.hwnd());
  for (const auto& [name, action] : shots) {
    action(f);
    Settle(f.hwnd());
    EXPECT_TRUE(Photograph(f.hwnd(), out, prefix + name)) << name;
  }
}

// The check run window as a check starts: the category lines, the status
// line, pause and close; with `results`, also its result panel after a check
// that found something, and its failed-files list.
void PhotographCheckWindow(const std::string& name, bool results = false) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  test::ScriptedHost host;
  App app(host, ThisEdition(), folder.dir());
  intCheck& w = CheckWindow(app);
  SetWindowPos(w.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.Show();
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name));
  if (!results) return;
  folder.MakeFolder("watched");
  folder.Write("watched\\fresh.dll", "new");
  folder.Write("watched\\other.dll", "also new");
  folder.Write("Data\\Integrity.dat", "//x\r\n");
  CheckRequest request =
      UserCheck(CheckReason::Manual, {folder.path("watched\\"), 0, {true, false, false, false, false, false}});
  request.noAutoScanFailing = true;
  w.lUp(std::move(request));
  test::PumpUntil([&] { return !w.TimerArmed() && !w.Running(); }, 20000);
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name + "-results"));
  w.Label2_Click();
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name + "-failed-files"));
}

// The custom-folders window with two folders, the second one chosen: its
// auto-load box on, the secure shut down box off.
void PhotographCustomFolders(const std::string& name) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  test::ScriptedHost host;
  App app(host, ThisEdition(), folder.dir());
  EnsureSettingsFile(app);
  WriteEntry(app, app.settingsFile, "path", "C:\\Program Files\\Mail\\", "1");
  WriteEntry(app, app.settingsFile, "path", "D:\\Tools\\", "2");
  WriteEntry(app, app.settingsFile, "args", "1,0,0,0,1,0,1", "2");
  iCust& w = CustomFolders(app);
  SetWindowPos(w.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.Open();
  w.Select(1);
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name));
}

// The main window, the check window and the Options page at the screen's
// DPI, which the script sets through the prefix's LogPixels: dpi-NNN-*.png.
TEST(ScreenshotTour, AtTheScreensDpi) {
  if (!std::getenv("KV_SHOTS")) GTEST_SKIP() << "KV_SHOTS names the output folder";
  const std::string scale = "dpi-" + std::to_string(MulDiv(int(controls::WindowDpi(nullptr)), 100, 96)) + "-";
  Tour(ThisEdition(), scale,
       {{"01-home", [](mForm1& f) { f.Image3_Click(); }},
        {"03-options", [](mForm1& f) { f.Image11_Click(); }}});
  PhotographCheckWindow(scale + "02-check-window", true);
}

// The support-list window with a product chosen whose setup needs its
// online documentation, its scanner found; the low edition's fixed table.
void PhotographSupportList(const Edition& edition, const std::string& name) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  folder.Write("Data\\avsupportlist.dat",
               "[Korvanel]\r\nAVSupported=4\r\n"
               "AVName0=Aegis Desktop Scanner 7\r\nAVExe0=aegis.exe\r\nAVCMD0=/auto\r\n"
               "AVName1=Bastion Anti-Virus (All Operating Systems)\r\nAVExe1=bscan.exe\r\n"
               "AVCMD1=/report:%PATH%bscan.log\r\nAVSupport1=https://www.brackwater.example/av/bastion\r\n"
               "AVName2=Citadel Command Line Scanner\r\nAVExe2=ccs.exe\r\nAVCMD2=-all\r\n"
               "AVName3=Sentinel On-Demand 2005\r\nAVExe3=sod.exe\r\nAVCMD3= \r\n");
  test::ScriptedHost host;
  App app(host, edition, folder.dir());
  aVirHelp& w = SupportList(app);
  SetWindowPos(w.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.Open();
  w.Select(1);
  SetWindowTextA(w.Text2, "C:\\Program Files\\Bastion\\bscan.exe");
  if (w.txtCmd) SetWindowTextA(w.txtCmd, "/report:C:\\PROGRA~1\\Bastion\\bscan.log");
  w.Command2.Enabled(true);
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name));
}

// The pending-reboot view of the RegWatch page over a wininit.ini made for
// it (taken away again at once).
void ShowRegWatchPending(mForm1& f) {
  const std::string wininit = WindowsDirectory() + "wininit.ini";
  WriteWholeFile(wininit, "[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\setup.tmp\r\n"
                          "C:\\WINDOWS\\system32\\mfc42.dll=C:\\WINDOWS\\TEMP\\mfc42.new\r\n");
  f.Image7_Click();
  RegWatchPage* page = f.regF.ContentAs<RegWatchPage>();
  page->cMod_Click();
  DeleteFileA(wininit.c_str());
  SendMessageA(page->List6, LB_SETCURSEL, 2, 0);
  page->List6_Click();
}

// The secure-shut-down window with the pointer over "Turn Off", and the
// progress window half-way through its countdown.
void PhotographSecureShutDown(const std::string& logoffName, const std::string& progressName) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  test::ScriptedHost host;
  App app(host, ThisEdition(), folder.dir());
  frmLogoff& w = LogoffWindow(app);
  w.Open();
  SetFocus(w.Image3.hwnd());
  w.PointerOver(3);
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), logoffName));
  ShowWindow(w.hwnd(), SW_HIDE);
  sProg& p = ShutDownProgress(app);
  p.SetStatus("Status: Some files were scanned...Shutting Down in 2 minutes");
  p.SetRange(120);
  p.SetProgress(48);
  p.ShowShutDownNow();
  p.Show();
  Settle(p.hwnd());
  EXPECT_TRUE(Photograph(p.hwnd(), std::getenv("KV_SHOTS"), progressName));
}

// The window shown while a scanner that was handed findings runs.
void PhotographScannerWait(const Edition& edition, const std::string& name) {
  test::ProgramFolder folder;
  test::ScriptedHost host;
  App app(host, edition, folder.dir());
  sWait w(app);
  w.Show("C:\\Program Files\\AV Scanner\\avscan.exe");
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name));
}

// The settings wizard, page by page, over a scanner and categories already
// stored (the scanner is not on this machine, which Next mentions once).
void PhotographWizard(const Edition& edition, const std::string& prefix, std::vector<int> pages) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  test::ScriptedHost host;
  App app(host, edition, folder.dir());
  EnsureSettingsFile(app);
  WriteEntry(app, app.settingsFile, "settings", "0,1,1,0,1,1,1,1", "Korvanel");
  WriteEntry(app, app.settingsFile, "antivirus", "C:\\Program Files\\AV Scanner\\avscan.exe|/quick",
             "Korvanel");
  loadSettings(app);
  vDct& w = Wizard(app);
  SetWindowPos(w.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.LoadUp();
  SetForegroundWindow(w.hwnd());
  const char* names[] = {"welcome",    "scanner",   "scanner-test", "auto-load", "categories",
                         "auto-scan",  "logging",   "shutdown-shortcut", "done"};
  for (int page : pages) {
    while (w.Page() < page) {
      if (w.Page() == 2)
        host.ExpectBox("You didn't choose an anti-virus software exe.  We recommend that you get one to "
                       "take full advantage of Korvanel");
      w.Label1_Click();
    }
    Settle(w.hwnd());
    EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"),
                           prefix + "12-wizard-" + Dec(page) + "-" + names[page]))
        << page;
  }
}

TEST(ScreenshotTour, Wizard) {
  if (!std::getenv("KV_SHOTS")) GTEST_SKIP() << "KV_SHOTS names the output folder";
  PhotographWizard(ThisEdition(), "", {0, 1, 2, 3, 4, 5, 6, 7, 8});
  PhotographWizard(LowEdition(), "low-", {1, 4});
}

// The anti-virus setup window with a first scanner chosen.
void PhotographAntivirusSetup(const Edition& edition, const std::string& name) {
  test::ProgramFolder folder;
  folder.MakeFolder("Data");
  test::ScriptedHost host;
  App app(host, edition, folder.dir());
  EnsureSettingsFile(app);
  WriteEntry(app, app.settingsFile, "antivirus", "C:\\Program Files\\Norton\\navw32.exe|/HEUR:3", "Korvanel");
  s_avir& w = AntivirusSetup(app);
  SetWindowPos(w.hwnd(), nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  w.Open();
  Settle(w.hwnd());
  EXPECT_TRUE(Photograph(w.hwnd(), std::getenv("KV_SHOTS"), name));
}

TEST(ScreenshotTour, SupportList) {
  if (!std::getenv("KV_SHOTS")) GTEST_SKIP() << "KV_SHOTS names the output folder";
  PhotographSupportList(ThisEdition(), "13-support-list");
  PhotographSupportList(LowEdition(), "low-13-support-list");
}

TEST(ScreenshotTour, EveryPage) {
  if (!std::getenv("KV_SHOTS")) GTEST_SKIP() << "KV_SHOTS names the output folder";
  Tour(ThisEdition(), "",
       {{"01-home", [](mForm1& f) { f.Image3_Click(); }},
        {"02-home-hover", [](mForm1& f) { f.NavHover(2); }},
        {"03-integrity-checker", [](mForm1& f) { f.norms(); f.Image5_Click(); }},
        {"04-regwatch", [](mForm1& f) { f.Image7_Click(); }},
        {"04b-regwatch-findings", ShowRegWatchFindings},
        {"04c-regwatch-pending", ShowRegWatchPending},
        {"05-appwatch", ShowAppWatch},
        {"06-options", ShowOptionsWithLogs},
        {"06b-report", ShowReport},
        {"06c-settings", ShowSettings},
        {"06d-advanced-settings", ShowAdvanced},
        {"06e-buffer-comparison", ShowAdvancedCompared},
        {"07-about", [](mForm1& f) { f.About(); }},
        {"08-hidden-panel", [](mForm1& f) { f.lblegg_Click(); }},
        {"09-custom-controls", ShowCustomControls}});
  PhotographCheckWindow("10-check-window");
  PhotographCustomFolders("11-custom-folders");
  PhotographSecureShutDown("13-secure-shut-down", "14-shut-down-progress");
  PhotographScannerWait(ThisEdition(), "15-scanner-wait");
  PhotographScannerWait(LowEdition(), "low-15-scanner-wait");
  PhotographAntivirusSetup(ThisEdition(), "12-antivirus-setup");
  PhotographAntivirusSetup(LowEdition(), "low-06-antivirus-setup");
  const Edition& low = LowEdition();
  Tour(low, "low-",
       {{"01-start", [](mForm1&) {}},
        {"02-integrity-scan", [](mForm1& f) { f.Image5_Click(); }},
        {"02b-regwatch", ShowRegWatchFindings},
        {"03-about", [](mForm1& f) { f.About(); }},
        {"04-options", ShowOptionsWithLogs},
        {"04b-settings", ShowSettings},
        {"05-advanced-settings", ShowAdvanced}});
}

}  // namespace
}  // namespace kv
