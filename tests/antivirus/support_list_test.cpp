// The anti-virus support-list window on real files, a real tree search and a
// real HTTP server on the loopback address.
#include <windows.h>

#include <string>
#include <vector>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "app/editions.h"
#include "app/program_windows.h"
#include "context/maker.h"
#include "context/settings.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include "support/app_fixture.h"
#include "support/loopback_server.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr char kSearchWarning[] =
    "Korvanel may become unresponsive during the file search. This is normal.\r\rClick OK to "
    "continue.";
constexpr char kNotFound[] =
    "The default executable for this program was not found! Make sure you selected the correct "
    "anti-virus program, and the correct operating system.";
constexpr char kTestNotice[] =
    "Korvanel will now attempt to scan two files. If the Virus-Scanner you selected scans both "
    "files, then it is fully compatible with Korvanel! If not, make sure you chose the correct EXE "
    "file in your anti-virus folder.";
constexpr char kDownloadFailed[] =
    "Error! Could not download latest antivirus support list!\r\n\r\nPlease try again later.";
constexpr char kShellFailed[] =
    "Could not shell web address. You will need to manually visit the website: ";

std::string Product(int i, const std::string& name, const std::string& exe, const std::string& cmd,
                    const std::string& support = "") {
  const std::string n = Dec(i);
  return "AVName" + n + "=" + name + "\r\nAVExe" + n + "=" + exe + "\r\nAVCMD" + n + "=" + cmd +
         "\r\nAVSupport" + n + "=" + support + "\r\n";
}

std::string List(const std::string& count, const std::string& products) {
  return "[Korvanel]\r\nAVSupported=" + count + "\r\n" + products;
}

// The wizard's scanner fields as the support list fills them.
struct WizardRecord : ProgramWindows {
  std::string path, args;
  void SetWizardScannerPath(App&, const std::string& p) override { path = p; }
  void SetWizardScannerArguments(App&, const std::string& a) override { args = a; }
};

Edition WithRecordedWizard(const Edition& base, WizardRecord& wizard) {
  Edition e = base;
  e.windows = &wizard;
  return e;
}

class SupportListTest : public ::testing::Test {
 protected:
  explicit SupportListTest(const Edition& base = ThisEdition())
      : edition(WithRecordedWizard(base, wizard)), app(host, edition, folder.dir()) {
    folder.MakeFolder("Data");
    folder.MakeFolder("Programs");
    EnsureSettingsFile(app);
    app.quoteChar = "\"";
  }

  aVirHelp& Opened() {
    aVirHelp& w = SupportList(app);
    w.searchRoots = {folder.path("Programs\\")};
    w.Open();
    return w;
  }
  // A scanner file at Programs\<relative>.
  std::string Install(const std::string& dir, const std::string& file) {
    folder.MakeFolder("Programs\\" + dir);
    folder.Write("Programs\\" + dir + "\\" + file, "MZ scanner");
    return folder.path("Programs\\" + dir + "\\");
  }
  void Search(aVirHelp& w, int line, const char* outcome = "Success!") {
    w.Select(line);
    host.ExpectBox(kSearchWarning);
    host.ExpectBox(outcome);
    w.Command4_Click();
    EXPECT_TRUE(host.AllBoxesShown());
  }

  ProgramFolder folder;
  ScriptedHost host;
  WizardRecord wizard;
  Edition edition;
  App app;
};

TEST_F(SupportListTest, ListShowsItsProductsInFileOrderHeldToWhatTheFileNames) {
  // Two billion claimed, two named: the window lists two and opens at once.
  folder.Write("Data\\avsupportlist.dat",
               List("2000000000", Product(0, "Zeta AV", "z.exe", "") + Product(1, "Alpha AV", "a.exe", "")));
  aVirHelp& w = Opened();
  EXPECT_EQ(w.Lines(), (std::vector<std::string>{"Zeta AV", "Alpha AV"}));
  EXPECT_EQ(w.Caption(), "Anti-Virus Auto Configuration Wizard");
  EXPECT_FALSE(w.Command2.Enabled());
  EXPECT_FALSE(w.Command3.Enabled());
  // Without a list file the window says where to get one.
  DeleteFileAt(folder.path("Data\\avsupportlist.dat"));
  host.ExpectBox("Please download the latest anti-virus support list");
  w.LoadList();
  EXPECT_EQ(w.Lines().size(), 2u);  // the list stays as it was
  // The search looks in the Program Files folder, then in C:\.
  ScriptedHost h;
  App fresh(h, ThisEdition(), folder.dir());
  EXPECT_EQ(SupportList(fresh).searchRoots, (std::vector<std::string>{ProgramFilesFolder(), "C:\\"}));
  EXPECT_TRUE(DirectoryExists(ProgramFilesFolder()));
}

TEST_F(SupportListTest, FoundScannerGivesItsShortFolderWhateverTheCaseOfItsName) {
  const std::string dir = Install("Scan Tools Suite", "scan.exe");
  folder.Write("Data\\avsupportlist.dat",
               List("2", Product(0, "Other", "other.exe", "") +
                             Product(1, "Big Scan", "SCAN.EXE", "/S %PATH% %PATH%scan.log")));
  aVirHelp& w = Opened();
  Search(w, 1);
  EXPECT_TRUE(EqualsNoCase(w.Location(), dir + "scan.exe")) << w.Location();
  // The folder (with its "\"), short and without spaces, stands for %PATH%
  // even though the list spells the file name in capitals.
  const std::string shortDir = ShortPathOf(dir);
  ASSERT_FALSE(shortDir.empty());
  EXPECT_EQ(shortDir.find(' '), std::string::npos) << shortDir;
  EXPECT_EQ(shortDir.back(), '\\');
  EXPECT_EQ(w.Arguments(), "/S " + shortDir + " " + shortDir + "scan.log");
  EXPECT_TRUE(w.Command2.Enabled());
  EXPECT_FALSE(w.Command3.Enabled());

  // Nothing found: the message, an empty location and nothing to test or save.
  Search(w, 0, kNotFound);
  EXPECT_EQ(w.Location(), "");
  EXPECT_FALSE(w.Command2.Enabled());
  EXPECT_FALSE(w.Command3.Enabled());
}

TEST_F(SupportListTest, TestRunsTheScannerOnTwoFilesThenSaveFillsTheChosenSlot) {
  const std::string dir = Install("Guard", "guard.exe");
  Install("Sentry", "sentry.exe");
  folder.Write("Data\\avsupportlist.dat",
               List("2", Product(0, "Guard", "guard.exe", "/all") + Product(1, "Sentry", "sentry.exe", "-q")));
  aVirHelp& w = Opened();

  host.ExpectBox("You must choose a virus scanner before you proceed!");
  w.Command2_Click();
  EXPECT_TRUE(host.starts.empty());

  Search(w, 0);
  host.ExpectBox(kTestNotice);
  w.Command2_Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine,
            "\"" + w.Location() + "\" /all \"" + app.settingsFile + "\" \"" +
                app.baselineFile + "\"");
  EXPECT_TRUE(w.Command3.Enabled());
  // Another search keeps Save enabled.
  Search(w, 1);
  EXPECT_TRUE(w.Command3.Enabled());

  // First slot: the setup window's first fields and the wizard; the window closes.
  const std::string sentry = w.Location();
  w.Command3_Click();
  EXPECT_EQ(AntivirusSetup(app).Fields().Text5, sentry);
  EXPECT_EQ(AntivirusSetup(app).Fields().Text6, "-q");
  EXPECT_EQ(wizard.path, sentry);
  EXPECT_EQ(wizard.args, "-q");
  EXPECT_FALSE(w.Visible());

  // Second slot: Text1 and Text2 only, and the marker is cleared. The window
  // opens afresh after it was closed.
  wizard = {};
  w.Tag = "1";
  w.Open();
  EXPECT_EQ(w.Location(), "");
  EXPECT_FALSE(w.Command3.Enabled());
  Search(w, 0);
  w.Command3_Click();
  EXPECT_EQ(AntivirusSetup(app).Fields().Text1, dir + "guard.exe");
  EXPECT_EQ(AntivirusSetup(app).Fields().Text2, "/all");
  EXPECT_EQ(AntivirusSetup(app).Fields().Text5, sentry);
  EXPECT_EQ(wizard.path, "");
  EXPECT_EQ(w.Tag, "");
  // Closing with the close box clears the marker too.
  w.Tag = "1";
  SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(w.Tag, "");
}

TEST_F(SupportListTest, OnlyWebPagesOpenAsDocumentation) {
  folder.Write("Data\\avsupportlist.dat",
               List("3", Product(0, "Plain", "p.exe", "") +
                             Product(1, "Tricky", "t.exe", "", "C:\\Windows\\System32\\calc.exe") +
                             Product(2, "Documented", "d.exe", "", "https://docs.example/setup")));
  aVirHelp& w = Opened();
  w.Select(0);
  EXPECT_FALSE(w.SpecialVisible());
  w.Select(1);
  EXPECT_TRUE(w.SpecialVisible());
  EXPECT_EQ(w.SpecialText(), "Tricky may require additional steps to complete the setup.  Click here "
                             "to view the online documentation.");
  host.ExpectBox(std::string(kShellFailed) + "C:\\Windows\\System32\\calc.exe");
  w.lblSpecial_Click();
  EXPECT_TRUE(host.shellCalls.empty());

  w.Select(2);
  w.lblSpecial_Click();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "https://docs.example/setup");
  host.shellResults.push_back(31);  // no browser
  host.ExpectBox(std::string(kShellFailed) + "https://docs.example/setup");
  w.lblSpecial_Click();

  // Help for products not listed goes to the maker's home page.
  host.ExpectBox("There is a very good chance that your anti-virus software is compatible.  As long "
                 "as it supports command line arguments, then it will work.\rKorvanel will now "
                 "redirect you to Brackwater Online.\r\rSimply click on Korvanel, and click on "
                 "Anti-Virus support.");
  w.Command1_Click();
  EXPECT_EQ(host.shellCalls.back().file, maker::kWebAddress);
}

TEST_F(SupportListTest, DownloadReplacesTheListOnlyWithARealList) {
  LoopbackServer server;
  app.downloadServer = server.Url();
  const std::string old = List("1", Product(0, "Old AV", "o.exe", ""));
  folder.Write("Data\\avsupportlist.dat", old);
  aVirHelp& w = Opened();
  auto download = [&] {
    w.lblDLUpdates_Click();
    EXPECT_EQ(w.DownloadLinkText(), "Downloading - Please wait...");
    EXPECT_EQ(w.DownloadLinkColor(), RGB(0, 64, 64));
    w.lblDLUpdates_Click();  // a second click while it runs does nothing
    EXPECT_EQ(w.Downloader1.Pending(), 1);
    ASSERT_TRUE(PumpUntil([&] { return w.Downloader1.Pending() == 0; }, 20000));
    EXPECT_EQ(w.DownloadLinkText(), "Download Latest Anti-Virus Support List");
    EXPECT_EQ(w.DownloadLinkColor(), RGB(0, 0, 128));
    EXPECT_TRUE(IsWindowEnabled(w.lblDLUpdates));
  };

  // Failed: the error message, the unchanged list, and no "Download OK".
  const std::string cut = List("2", Product(0, "Cut", "c.exe", ""));
  for (const LoopbackServer::Reply& bad :
       {LoopbackServer::Reply{404, "Not Found", {}},
        LoopbackServer::Reply{200, cut, 4000},
        LoopbackServer::Reply{200, cut, (size_t(1) << 32) + cut.size()},  // 4 GB more than sent
        LoopbackServer::Reply{200, "<html>a portal's login page</html>", {}},
        LoopbackServer::Reply{200, List("1", std::string(300 * 1024, ';')), {}}}) {
    server.Serve("/avsupportlist.dat", bad);
    SetWindowTextA(w.hwnd(), "Anti-Virus Auto Configuration Wizard");
    host.ExpectBox(kDownloadFailed);
    download();
    EXPECT_TRUE(host.AllBoxesShown());
    EXPECT_EQ(w.Caption(), "Anti-Virus Auto Configuration Wizard");
    EXPECT_EQ(folder.Read("Data\\avsupportlist.dat"), old);
    EXPECT_EQ(w.Lines(), (std::vector<std::string>{"Old AV"}));
  }

  const std::string fresh = List("2", Product(0, "New AV", "n.exe", "") + Product(1, "Newer AV", "m.exe", ""));
  server.Serve("/avsupportlist.dat", fresh);
  download();
  EXPECT_EQ(folder.Read("Data\\avsupportlist.dat"), fresh);
  EXPECT_EQ(w.Lines(), (std::vector<std::string>{"New AV", "Newer AV"}));
  EXPECT_EQ(w.Caption(), "Anti-Virus Shell Help - Download OK");
  EXPECT_EQ(server.Requests("/avsupportlist.dat"), 6);
}

TEST_F(SupportListTest, WorksByKeyboardAndFollowsTheDpi) {
  LoopbackServer server;
  app.downloadServer = server.Url();
  server.Serve("/avsupportlist.dat", List("1", Product(0, "Keyed AV", "k.exe", "")));
  folder.Write("Data\\avsupportlist.dat", List("1", Product(0, "Old AV", "o.exe", "")));
  aVirHelp& w = Opened();
  // Tab walks from the list through the fields to the links and buttons.
  std::vector<HWND> order{w.List1};
  for (HWND at = w.List1;;) {
    at = GetNextDlgTabItem(w.hwnd(), at, FALSE);
    if (!at || at == w.List1) break;
    order.push_back(at);
  }
  EXPECT_EQ(order, (std::vector<HWND>{w.List1, w.Command4.hwnd(), w.Text2, w.txtCmd, w.lblDLUpdates,
                                      w.Command1.hwnd()}));  // Test and Save disabled, no documentation
  // Enter on the focused link follows it.
  SetFocus(w.lblDLUpdates);
  PostMessageA(w.lblDLUpdates, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(PumpUntil([&] { return w.Lines() == std::vector<std::string>{"Keyed AV"}; }, 20000));

  RECT suggested{0, 0, 1200, 1000}, list{};
  SendMessageA(w.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  GetWindowRect(w.List1, &list);
  EXPECT_EQ(list.right - list.left, 2 * 528);  // laid out at 96 DPI as 528 pixels wide
}

class PlainSupportListTest : public SupportListTest {
 protected:
  PlainSupportListTest() : SupportListTest(LowEdition()) {}
};

TEST_F(PlainSupportListTest, FixedTableSearchTestAndUseKeepTheirState) {
  aVirHelp& w = Opened();
  EXPECT_EQ(w.Caption(), "Anti-Virus Shell Help");
  const std::vector<std::string> lines = w.Lines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines.front(), "AVAST 4 (All Operating Systems)");
  EXPECT_EQ(lines[10], "McAfee 6.02 and later (All Operating Systems)");
  EXPECT_EQ(lines.back(), "Sophos Anti Virus (All-OS)");
  EXPECT_EQ(w.txtCmd, nullptr);
  EXPECT_EQ(w.lblDLUpdates, nullptr);
  EXPECT_FALSE(w.Command2.Enabled());
  EXPECT_FALSE(w.Command3.Enabled());

  const std::string dir = Install("Sweeper", "SWEEP.EXE");
  Search(w, 15);
  EXPECT_TRUE(EqualsNoCase(w.Location(), dir + "sweep.exe"));
  host.ExpectBox(kTestNotice);
  w.Command2_Click();
  ASSERT_EQ(host.starts.size(), 1u);
  // No arguments part.
  EXPECT_EQ(host.starts[0].commandLine,
            "\"" + w.Location() + "\" \"" + app.settingsFile + "\" \"" + app.baselineFile + "\"");

  w.Tag = "1";
  const std::string found = w.Location();
  w.Command3_Click();
  EXPECT_EQ(AntivirusSetup(app).Fields().Text1, found);
  EXPECT_EQ(AntivirusSetup(app).Fields().Text2, AutomaticArguments(found));
  EXPECT_EQ(wizard.path, "");
  EXPECT_EQ(w.Tag, "");
  EXPECT_FALSE(w.Visible());
  // Use It! only hides: the next opening shows the same selection and state.
  w.Open();
  EXPECT_EQ(int(SendMessageA(w.List1, LB_GETCURSEL, 0, 0)), 15);
  EXPECT_EQ(w.Location(), found);
  EXPECT_TRUE(w.Command3.Enabled());
  w.Command3_Click();
  EXPECT_EQ(wizard.path, found);
  EXPECT_EQ(AntivirusSetup(app).Fields().Text5, found);
}

}  // namespace
