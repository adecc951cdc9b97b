// The settings wizard, driven through its real window and the real settings
// file; the clock, dialogs, message boxes and process starts through the
// scripted Host, the shortcut rules through stand-ins that record.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "app/editions.h"
#include "context/settings.h"
#include "controls/control_text.h"
#include "core/text.h"
#include "platform/files.h"
#include "settingsui/vDct.h"
#include "shutdown/shortcuts.h"
#include "app/mForm1.h"
#include "settingsui/settings_pages.h"
#include "support/accessible_probe.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr char kNoScanner[] =
    "You didn't choose an anti-virus software exe.  We recommend that you get one to take full "
    "advantage of Korvanel";
constexpr char kCancelQuestion[] =
    "Are you sure you want to disregard all changes and exit the setup wizard?";
constexpr char kTestNotice[] =
    "Korvanel will now attempt to scan two files. If the Virus-Scanner you selected scans both "
    "files, then it is fully compatible with Korvanel! If not, make sure you chose the correct EXE "
    "file in your anti-virus folder.";
constexpr char kNotSaved[] =
    "The settings could not be saved. The settings file may be in use or read-only.";

struct PageText {
  const char* title;
  const char* description;
};
const PageText kPages[8] = {
    {"Welcome to the Setup Wizard",
     "Just click the 'Next' button to continue.\r-If you make any mistakes, just click on the back "
     "button.\r-Hit Cancel if you want to quit the setup without changing any settings."},
    {"Anti-Virus Setup (1/2)",
     "Step 1: Locate your main anti-virus software program.\r\r-If you aren't sure where to find "
     "it, click on the 'Help Me' button."},
    {"Anti-Virus Setup (2/2)",
     "Step 2: Make sure it works!\r\r-Click the 'Test It!' button to make sure you selected the "
     "correct program."},
    {"Main Settings (1/3)",
     "-The most powerful aspect of Korvanel is the Integrity Checker and the auto-loading and "
     "auto-scanning features.\r\r-This loads Korvanel whenever a user logs into Windows, and "
     "performs a quick Integrity Check of your system files. This will provide an early warning of "
     "potential threats and will allow the elimination of malicious files before they cause "
     "serious damage."},
    {"Main Settings (2/3)",
     "-Please choose the types of files you would like to scan at startup.\r\r-We recommend "
     "scanning of at least these files types:\rDRV,SYS,EXE,SCR and PIF files."},
    {"Main Settings (3/3)",
     "Auto-Scan:\r-If this option is enabled, then if any files fail the Integrity Check, they "
     "will be scanned automatically (only applies if Korvanel is loaded at Start Up of "
     "Windows).\r\n\r\n-If you enable this option, then it is very highly recommended that you "
     "also enable the 'Logging' feature in Korvanel (so that files can be re-scanned after your "
     "Anti-Virus definition files are updated)."},
    {"Other Settings (1/2)",
     "Korvanel's Logging Feature\r-If this option is enabled, then if any files fail the Integrity "
     "Check or if any New or Modified Registry entries are scanned, they will be added to the "
     "log.  Users can pull up the logs later on to see what files were scanned, and have the "
     "option to scan them again.  This feature is useful to protect the user from not finding "
     "viruses or trojans due to older Virus Definition files."},
    {"Other Settings (2/2)",
     "Korvanel's 'Secure Shut Down' Feature\r\n-This button will create a shortcut on your Desktop "
     "that will provide an alternative to shutting down your computer via the ShutDown button in "
     "Windows.\r\n-Using the 'Secure Shut Down' method will perform the same actions as the "
     "Auto-Load feature, as well as scanning the registry and also your wininit.ini files for "
     "suspicious entries. Using this method of shutting down is HIGHLY recommended."},
};

std::string LastPage(const std::string& minutes, bool quick) {
  return "Just click on the Save button to save the settings!\r\rThis setup took: " + minutes +
         " minutes to complete." + (quick ? "\r\rThat was quick! Go Speed Racer Go!" : "");
}

void MouseAt(HWND hwnd, UINT msg, int x = 4, int y = 4) {
  SendMessageA(hwnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

class WizardTest : public AppTest {
 protected:
  void SetUp() override {
    MakeDataFolders();
    ASSERT_TRUE(EnsureSettingsFile(app));
    folder.Write("Data\\Integrity.dat", "[DLL]\r\n");
    folder.Write("scanner.exe", "MZ");
    scanner = folder.path("scanner.exe");
    CreateFolder(StartupFolderPath() + "\\");
    DeleteFileAt(autoLoad);
  }
  void TearDown() override {
    SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileAt(autoLoad);
  }
  // The auto-load shortcut is there or not: only its presence counts.
  void PlaceShortcut(bool there) {
    if (there) { ASSERT_TRUE(WriteWholeFile(autoLoad, "L")); }
    else DeleteFileAt(autoLoad);
  }

  // As the Options page opens it: the settings reloaded, then LoadUp.
  vDct& Open() {
    loadSettings(app);
    vDct& w = Wizard(app);
    w.LoadUp();
    return w;
  }
  void Next(vDct& w, int times = 1) {
    for (int i = 0; i < times; ++i) w.Label1_Click();
  }
  void Set(const char* key, const std::string& value) {
    ASSERT_TRUE(WriteEntry(app, app.settingsFile, key, value, "Korvanel"));
  }
  std::string Stored(const char* word) { return ReadSetting(app, word).value_or("<unreadable>"); }

  std::string scanner;
  const std::string autoLoad = AutoLoadShortcutPath();
};

TEST_F(WizardTest, PagesShowTheirTitleDescriptionAndOwnControls) {
  vDct& w = Open();
  ASSERT_TRUE(w.Visible());
  EXPECT_EQ(controls::ControlText(w.hwnd()), "Korvanel - Setup Wizard");
  const std::vector<std::vector<HWND>> own = {
      {},
      {w.vpath, w.varg, w.Label4, w.helpme.hwnd(), w.locate.hwnd()},
      {w.Command1.hwnd()},
      {w.aload.hwnd(), w.drivers.hwnd()},
      {w.Check1.hwnd(), w.Check2.hwnd(), w.Check3.hwnd(), w.Check4.hwnd(), w.Check5.hwnd(),
       w.Check8.hwnd()},
      {w.Check6.hwnd()},
      {w.Check7.hwnd()},
      {w.cButton1.hwnd()},
      {w.Command2.hwnd()}};
  std::vector<HWND> all;
  for (const auto& page : own) all.insert(all.end(), page.begin(), page.end());
  for (int page = 0; page <= vDct::kLastPage; ++page) {
    SCOPED_TRACE(page);
    ASSERT_EQ(w.Page(), page);
    if (page < 8) {
      EXPECT_EQ(w.Title(), kPages[page].title);
      EXPECT_EQ(w.Description(), kPages[page].description);
    } else {
      EXPECT_EQ(w.Title(), "You're done!");
    }
    for (HWND c : all) {
      const bool mine = std::find(own[size_t(page)].begin(), own[size_t(page)].end(), c) !=
                        own[size_t(page)].end();
      EXPECT_EQ(vDct::Shown(c), mine) << controls::ControlText(c);
    }
    EXPECT_EQ(vDct::Shown(w.Label2.hwnd()), page != 0);
    EXPECT_EQ(vDct::Shown(w.Label1.hwnd()), page != 8);
    // Leaving the scanner page without a usable scanner is allowed, with a word.
    if (page == 2) host.ExpectBox(kNoScanner);
    Next(w);
  }
  Next(w);  // nothing beyond the last page
  EXPECT_EQ(w.Page(), 8);
  for (int page = 7; page >= 0; --page) {
    w.Label2_Click();
    EXPECT_EQ(w.Page(), page);
  }
  w.Label2_Click();
  EXPECT_EQ(w.Page(), 0);
  EXPECT_EQ(w.Title(), kPages[0].title);
  EXPECT_TRUE(host.AllBoxesShown());
}

TEST_F(WizardTest, LastPageCountsMinutesHalfToEvenAndPraisesUnderThreeSeconds) {
  Set("antivirus", scanner + "| ");
  vDct& w = Open();
  struct Case {
    int seconds;
    const char* minutes;
    bool quick;
  };
  const Case cases[] = {{0, "0", true},    {2, "0", true},    {3, "0", false}, {30, "0", false},
                        {90, "2", false},  {120, "2", false}, {150, "2", false}, {210, "4", false}};
  const LocalTime base{2007, 1, 5, 8, 17, 49};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    // Back on the first page the time starts again.
    host.now = base;
    if (w.Page() == 0) Next(w);
    while (w.Page() > 0) w.Label2_Click();
    Next(w, 7);
    host.now.minute += c.seconds / 60;
    host.now.second += c.seconds % 60;
    if (host.now.second >= 60) host.now.second -= 60, ++host.now.minute;
    Next(w);
    ASSERT_EQ(w.Page(), 8);
    EXPECT_EQ(w.Description(), LastPage(c.minutes, c.quick));
  }
  // A setup that runs past midnight counts on, not backwards.
  host.now = {2007, 1, 5, 23, 59, 0};
  while (w.Page() > 0) w.Label2_Click();
  host.now = {2007, 1, 6, 0, 1, 0};
  Next(w, 8);
  EXPECT_EQ(w.Description(), LastPage("2", false));
}

TEST_F(WizardTest, LinksLightOneAtATimeActOnReleaseAndCancelAsks) {
  Set("antivirus", scanner + "| ");
  vDct& w = Open();
  MouseAt(w.Label1.hwnd(), WM_MOUSEMOVE);
  EXPECT_EQ(w.Label1.Ink(), RGB(0, 0, 255));
  EXPECT_TRUE(w.Label1.Underlined());
  MouseAt(w.Label3.hwnd(), WM_MOUSEMOVE);
  EXPECT_EQ(w.Label3.State(), WizardLink::Look::Lit);
  EXPECT_EQ(w.Label1.State(), WizardLink::Look::Plain);
  EXPECT_EQ(w.Label1.Ink(), RGB(0, 0, 0));
  // The window's background (and the description, which the pointer passes
  // through) clears them all.
  SendMessageA(w.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 100));
  EXPECT_EQ(w.Label3.State(), WizardLink::Look::Plain);

  MouseAt(w.Label1.hwnd(), WM_LBUTTONDOWN);
  EXPECT_EQ(w.Label1.Ink(), RGB(128, 128, 255));
  EXPECT_EQ(w.Page(), 0);  // pressing alone does nothing
  MouseAt(w.Label1.hwnd(), WM_LBUTTONUP);
  EXPECT_EQ(w.Page(), 1);
  EXPECT_EQ(w.Label1.State(), WizardLink::Look::Plain);
  // Released away from the label: no step.
  MouseAt(w.Label1.hwnd(), WM_LBUTTONDOWN);
  MouseAt(w.Label1.hwnd(), WM_LBUTTONUP, -50, -50);
  EXPECT_EQ(w.Page(), 1);

  // One lit check box caption at a time; the background picture clears
  // boxes, buttons and links alike.
  Next(w, 3);
  const RECT caption = w.Check1.CaptionRect();
  MouseAt(w.Check1.hwnd(), WM_MOUSEMOVE, caption.left + 4, 6);
  ASSERT_TRUE(w.Check1.IsLit());
  MouseAt(w.Check2.hwnd(), WM_MOUSEMOVE, caption.left + 4, 6);
  EXPECT_TRUE(w.Check2.IsLit());
  EXPECT_FALSE(w.Check1.IsLit());
  MouseAt(w.Label2.hwnd(), WM_MOUSEMOVE);
  SendMessageA(w.Image13.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(w.Check2.IsLit());
  EXPECT_EQ(w.Label2.State(), WizardLink::Look::Plain);

  // By keyboard: Enter on the focused Next, Space on Back.
  SetFocus(w.Label1.hwnd());
  PostMessageA(w.Label1.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  PumpPending();
  EXPECT_EQ(w.Page(), 5);
  SetFocus(w.Label2.hwnd());
  PostMessageA(w.Label2.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(w.Label2.hwnd(), WM_KEYUP, VK_SPACE, 0);
  PumpPending();
  EXPECT_EQ(w.Page(), 4);
  // A Space pressed before the link had the focus is not a press of it.
  PostMessageA(w.Label2.hwnd(), WM_KEYUP, VK_SPACE, 0);
  PumpPending();
  EXPECT_EQ(w.Page(), 4);

  // Cancel asks; No stays, anything else hides and writes nothing.
  w.Check1.Value(1);
  const std::string before = folder.Read("Data\\Korvanel.dat");
  host.ExpectBox(kCancelQuestion, MsgAnswer::No);
  w.Label3_Click();
  EXPECT_TRUE(w.Visible());
  host.ExpectBox(kCancelQuestion, MsgAnswer::Yes);
  MouseAt(w.Label3.hwnd(), WM_LBUTTONDOWN);
  MouseAt(w.Label3.hwnd(), WM_LBUTTONUP);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), before);
}

// Opened from the main window, the wizard belongs to it: in front of it,
// centred on it, and its questions are its own. Its links are buttons to a
// screen reader, F1 opens its help and Escape asks to cancel.
TEST_F(WizardTest, OpensOverTheMainWindowAndItsLinksAndQuestionsAreItsOwn) {
  mForm1& main = Form1(app);
  main.Show();
  main.Image11_Click();
  main.options()->cSetW_Click();
  vDct& w = Wizard(app);
  ASSERT_TRUE(w.Visible());
  EXPECT_EQ(GetWindow(w.hwnd(), GW_OWNER), main.hwnd());
  RECT m{}, r{};
  GetWindowRect(main.hwnd(), &m);
  GetWindowRect(w.hwnd(), &r);
  EXPECT_NEAR((r.left + r.right) / 2, (m.left + m.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (m.top + m.bottom) / 2, 1);

  for (WizardLink* link : {&w.Label1, &w.Label2, &w.Label3}) {
    const Accessible a = AskAccessible(link->hwnd());
    EXPECT_EQ(a.name, link->Caption());
    EXPECT_EQ(a.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(a.action, "Press");
  }
  ASSERT_TRUE(DoDefaultAction(w.Label1.hwnd()));
  EXPECT_TRUE(PumpUntil([&] { return w.Page() == 1; }, 2000));

  SetForegroundWindow(w.hwnd());
  SetFocus(w.Label1.hwnd());
  PostMessageA(w.Label1.hwnd(), WM_KEYDOWN, VK_F1, 1);
  PumpPending();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "options.html");

  host.ExpectBox(kCancelQuestion, MsgAnswer::No);
  PostMessageA(w.Label1.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
  PumpPending();
  ASSERT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(host.boxes.back().owner, w.hwnd());
  EXPECT_TRUE(w.Visible());
}

TEST_F(WizardTest, LoadUpFillsTheFieldsAndReportsAnUnreadableFile) {
  Set("settings", "1,0,1");
  Set("antivirus", "C:\\AV\\scan.exe|  /quick ");
  PlaceShortcut(true);
  vDct& w = Wizard(app);
  w.Check4.Value(1);  // beyond the stored elements: kept
  Open();
  EXPECT_EQ(w.aload.Value(), 1);
  EXPECT_EQ(w.Check1.Value(), 1);
  EXPECT_EQ(w.Check2.Value(), 0);
  EXPECT_EQ(w.Check3.Value(), 1);
  EXPECT_EQ(w.Check4.Value(), 1);
  EXPECT_EQ(w.ScannerPath(), "C:\\AV\\scan.exe");
  EXPECT_EQ(w.ScannerArguments(), "/quick");

  // Another program holds the file: the message, then the first page with
  // the fields as they were.
  w.Label1_Click();
  HANDLE held = CreateFileA(app.settingsFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PlaceShortcut(false);
  host.ExpectBox("Could not load Setting file (May be in use)");
  w.LoadUp();
  CloseHandle(held);
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(w.Page(), 0);
  EXPECT_EQ(w.Title(), kPages[0].title);
  EXPECT_EQ(w.ScannerPath(), "C:\\AV\\scan.exe");
  EXPECT_EQ(w.Check3.Value(), 1);
}

TEST_F(WizardTest, LocateTakesThePickAndACancelledDialogChangesNothing) {
  Set("antivirus", scanner + "|/all");
  vDct& w = Open();
  Next(w);
  host.openFileAnswer = "";
  w.locate_Click();
  EXPECT_EQ(w.ScannerPath(), scanner);
  EXPECT_EQ(w.ScannerArguments(), "/all");
  EXPECT_EQ(AntivirusSetup(app).Fields().Text6, "/all");

  // Saved after the cancelled dialog, the working scanner stays stored.
  Next(w, 7);
  host.ExpectBox("Settings Saved Successfully!");
  w.Command2_Click();
  EXPECT_EQ(Stored("ANTIVIRUS"), scanner + "|/all");

  Open();
  Next(w);
  const std::string picked = "C:\\Program Files\\Norton\\NAVW32.EXE";
  host.openFileAnswer = picked;
  w.locate_Click();
  EXPECT_EQ(w.ScannerPath(), picked);
  EXPECT_EQ(w.ScannerArguments(), AutomaticArguments(picked));
  EXPECT_EQ(AntivirusSetup(app).Fields().Text6, AutomaticArguments(picked));
  EXPECT_EQ(AntivirusSetup(app).Fields().Text5, scanner);  // the path is the setup window's own
}

TEST_F(WizardTest, TestItStartsOneScannerOnTheTwoFilesWithoutTheExtraArguments) {
  Set("antivirus", folder.path("missing.exe") + "|/x");
  vDct& w = Open();
  Next(w, 2);
  host.ExpectBox("You must choose a virus scanner before you proceed!");
  w.Command1_Click();
  EXPECT_TRUE(host.starts.empty());

  w.SetScannerPath(scanner);
  w.SetScannerArguments("/never");
  host.ExpectBox(kTestNotice);
  w.Command1_Click();  // quotes on by default, focus off
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine,
            "\"" + scanner + "\" \"" + app.settingsFile + "\" \"" + app.baselineFile + "\"");
  EXPECT_EQ(host.starts[0].showMode, kShowMinimized);

  Set("antivirus2", "0,0,1");
  loadSettings(app);
  host.ExpectBox(kTestNotice);
  w.Command1_Click();
  ASSERT_EQ(host.starts.size(), 2u);
  EXPECT_EQ(host.starts[1].commandLine,
            "\"" + scanner + "\" " + app.settingsFile + " " + app.baselineFile);
  EXPECT_EQ(host.starts[1].showMode, kShowNormal);
}

TEST_F(WizardTest, SaveWritesTheFlagsAndTheScannerAndNothingElse) {
  Set("settings2", "1,1,1,1,1,1");
  Set("av2", "C:\\second.exe|/s");
  Set("advanced", "131072,200,1");
  const std::string before = folder.Read("Data\\Korvanel.dat");
  vDct& w = Open();
  host.ExpectBox(kNoScanner);  // past the scanner page: the warning
  Next(w, 3);
  w.aload.Value(1);
  for (check* box : {&w.Check1, &w.Check2, &w.Check3, &w.Check5, &w.Check8, &w.Check7}) box->Value(1);
  Next(w, 5);
  host.ExpectBox(kNoScanner);
  host.ExpectBox("Settings Saved Successfully!");
  w.Command2_Click();
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(FileExists(autoLoad));
  EXPECT_FALSE(app.autoScanFailed);
  std::string expected = ReplaceAll(before, "settings=0,0,0,0,0,0,0,0\r\n", "settings=1,1,1,0,1,1,0,1\r\n");
  expected = ReplaceAll(expected, "antivirus=\r\n", "antivirus=Anti-Virus Software| \r\n");
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), expected);

  // Again with a usable scanner, auto-scan on and auto-load off.
  Open();
  EXPECT_EQ(w.Check8.Value(), 1);
  w.SetScannerPath(scanner);
  w.SetScannerArguments("/heur");
  w.aload.Value(0);
  w.Check6.Value(1);
  Next(w, 8);
  host.ExpectBox("Settings Saved Successfully!");
  w.Command2_Click();
  EXPECT_FALSE(FileExists(autoLoad));
  EXPECT_TRUE(app.autoScanFailed);
  EXPECT_EQ(Stored("GETSETT"), "1,1,1,0,1,1,1,1");
  EXPECT_EQ(Stored("ANTIVIRUS"), scanner + "|/heur");
  EXPECT_EQ(Stored("AV2"), "C:\\second.exe|/s");
}

TEST_F(WizardTest, SaveOntoAReadOnlySettingsFileSaysItFailedAndKeepsTheEdits) {
  Set("antivirus", scanner + "|/a");
  vDct& w = Open();
  w.Check5.Value(1);
  w.Check6.Value(1);
  Next(w, 8);
  const std::string before = folder.Read("Data\\Korvanel.dat");
  ASSERT_TRUE(SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY));
  host.ExpectBox("ERROR");
  host.ExpectBox("ERROR");
  host.ExpectBox(kNotSaved);
  w.Command2_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), before);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.Page(), 8);
  EXPECT_EQ(w.Check5.Value(), 1);
  EXPECT_EQ(w.ScannerPath(), scanner);
  EXPECT_FALSE(app.autoScanFailed);

  // Writable again, the same page saves.
  SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  host.ExpectBox("Settings Saved Successfully!");
  w.Command2_Click();
  EXPECT_EQ(Stored("GETSETT"), "0,0,0,0,1,0,1,0");
}

TEST_F(WizardTest, LowEditionSaysOnlyThatTheSaveFailed) {
  ScriptedHost lowHost;
  App low(lowHost, LowEdition(), folder.dir());
  vDct& w = Wizard(low);
  w.LoadUp();
  w.SetScannerPath(scanner);
  ASSERT_TRUE(SetFileAttributesA(low.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY));
  lowHost.ExpectBox(kNotSaved);
  w.Command2_Click();
  EXPECT_TRUE(lowHost.AllBoxesShown());
  EXPECT_TRUE(w.Visible());
}

TEST_F(WizardTest, ShortcutHelpKeysDpiAndTheFieldsOtherWindowsFill) {
  // The support list and the setup window reach the wizard before it was
  // ever opened: it is made hidden and keeps what they put in.
  app.windows.SetWizardScannerPath(app, "C:\\AV\\found.exe");
  app.windows.SetWizardScannerArguments(app, "/HEUR:3");
  ASSERT_TRUE(HasWizard(app));
  vDct& w = Wizard(app);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(w.ScannerPath(), "C:\\AV\\found.exe");
  EXPECT_EQ(w.ScannerArguments(), "/HEUR:3");

  Open();
  host.ExpectBox(kNoScanner);
  Next(w, 7);
  host.ExpectBox("Korvanel will now create a shortcut for you to use the Secure ShutDown and Scan "
                 "Feature.\r\n\r\nWould you like this shortcut on your Desktop?",
                 MsgAnswer::No);
  host.ExpectBox("Korvanel will now create a SecureShutDown shortcut in your Korvanel directory.");
  host.ExpectBox("Success!");
  w.cButton1_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_TRUE(FileExists(folder.path("SecureShutDown.lnk")));
  SupportList(app).Tag = "1";
  host.ExpectBox("Please download the latest anti-virus support list");  // none in this folder
  w.helpme_Click();
  EXPECT_EQ(SupportList(app).Tag, "");  // the first scanner's slot
  // Tab walks the page's controls, then the links; Escape asks to cancel.
  w.Label2_Click();
  w.Label2_Click();
  w.Label2_Click();
  ASSERT_EQ(w.Page(), 4);
  SetFocus(w.Check8.hwnd());
  PostMessageA(w.Check8.hwnd(), WM_KEYDOWN, VK_TAB, 0);
  PumpPending();
  EXPECT_EQ(GetFocus(), w.Label3.hwnd());
  host.ExpectBox(kCancelQuestion, MsgAnswer::No);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
  EXPECT_TRUE(host.AllBoxesShown());

  // Moved to a screen of twice the DPI, the layout doubles.
  RECT before{}, after{};
  GetWindowRect(w.Label1.hwnd(), &before);
  RECT suggested{0, 0, 1300, 900};
  SendMessageA(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(2 * w.Dpi(), 2 * w.Dpi()), LPARAM(&suggested));
  GetWindowRect(w.Label1.hwnd(), &after);
  EXPECT_EQ(after.right - after.left, 2 * (before.right - before.left));
  EXPECT_EQ(after.bottom - after.top, 2 * (before.bottom - before.top));
}

}  // namespace

// Kernel drivers land in the system directory's drivers folder, which its
// own check never looks into: one click watches it as a custom folder.
TEST_F(WizardTest, OneClickWatchesTheDriversFolderForEveryKindOfFile) {
  vDct& w = Open();
  const std::string drivers = SystemDirectory() + "drivers\\";
  WriteEntry(app, app.settingsFile, "path", "C:\\Tools\\", "1");
  host.ExpectBox("The drivers folder " + drivers + " is now watched as custom folder 2.  Its first "
                 "scan runs with the next check.");
  w.drivers_Click();
  EXPECT_EQ(ReadEntry(app.settingsFile, "path", "2"), drivers);
  EXPECT_EQ(ReadEntry(app.settingsFile, "args", "2"), "1,1,1,1,1,1,1");
  EXPECT_EQ(ReadEntry(app.settingsFile, "args2", "2"), "1,1,1,1,1,1,1");
  host.ExpectBox("The drivers folder " + drivers + " is already watched (custom folder 2).");
  w.drivers_Click();
  // With every slot taken it says so and changes nothing.
  for (int slot = 1; slot <= 20; ++slot)
    WriteEntry(app, app.settingsFile, "path", "C:\\F" + Dec(slot) + "\\", Dec(slot));
  host.ExpectBox("The drivers folder could not be added: all twenty custom folders are in use, or the "
                 "settings file could not be written.", MsgAnswer::Ok, {}, MsgIcon::Error);
  const std::string full = folder.Read("Data\\Korvanel.dat");
  w.drivers_Click();
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), full);
  EXPECT_TRUE(host.AllBoxesShown());
}
