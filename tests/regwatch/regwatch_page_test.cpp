// The RegWatch page in the main window against the real registry: choosing
// entries in the tree and the warning list, deleting exactly the chosen
// value, and handing entries to the scanners through the scripted host.
#include <windows.h>
#include <commctrl.h>

#include "app/mForm1.h"
#include "core/regwatch_rules.h"
#include "platform/files.h"
#include "regwatch/registry_fixture.h"
#include "regwatch/actions.h"
#include "regwatch/regF.h"
#include "regwatch/snapshot.h"
#include "regwatch/signing/trusted_root.h"
#include "shutdown/shortcuts.h"
#include "platform/shell_folders.h"
#include <shlobj.h>
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kExeOpen = "Software\\Classes\\exefile\\shell\\open\\command";

std::string DeleteQuestion(const std::string& name, const std::string& key) {
  return "WARNING!\r\nYou are about to Delete the key: " + name +
         "\r\nFrom: Software\\Microsoft\\Windows\\CurrentVersion\\" + key +
         "\\\r\nDoing this may have unpredictable results!\r\n\r\nContinue?";
}

class RegWatchPageTest : public RegistryTest {
 protected:
  RegWatchPageTest() {
    folder.Write("Data\\Korvanel.dat",
                 "antivirus=C:\\scan.exe|/scan\r\nav2=C:\\scan2.exe| /x \r\n");
    app.quoteChar = "\"";
    EnsureRegistrySnapshot(app);
  }
  RegWatchPage& OpenPage() {
    mForm1& f = Form1(app);
    f.Image7_Click();
    RegWatchPage* page = f.regF.ContentAs<RegWatchPage>();
    EXPECT_NE(page, nullptr);
    return *page;
  }
  // Chooses an entry node the way a click does: through the tree's own
  // selection notification.
  static void ChooseNode(RegWatchPage& page, const std::string& text, const std::string& parent) {
    HTREEITEM node = page.FindNode(text, parent);
    ASSERT_NE(node, nullptr) << text;
    TreeView_SelectItem(page.TreeView1, node);
  }
  static int LineIndex(RegWatchPage& page, const std::string& line) {
    const auto lines = page.ListLines();
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == line) return int(i);
    return -1;
  }
  static void ChooseLine(RegWatchPage& page, int index) {
    SendMessageA(page.List5, LB_SETCURSEL, WPARAM(index), 0);
    SendMessageA(GetParent(page.List5), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(page.List5), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(page.List5));
  }
};

// Its frame is a window of the program's own, which lays out at 96 DPI; the
// tree inside it takes the frame's pixels as they are, so at 150% its
// scroll bars and border stay in view.
TEST_F(RegWatchPageTest, TheTreeFillsItsFrameAtAScaleOtherThan100) {
  controls::ScreenOverride screen{RECT{0, 0, 2400, 1500}, 144};
  RegWatchPage& page = OpenPage();
  RECT frame{}, tree{};
  GetClientRect(page.treeHost.hwnd(), &frame);
  GetWindowRect(page.TreeView1, &tree);
  ASSERT_GT(frame.bottom, 100);
  EXPECT_EQ(tree.right - tree.left, frame.right);
  EXPECT_EQ(tree.bottom - tree.top, frame.bottom);
}

TEST_F(RegWatchPageTest, DeleteKeyRemovesExactlyTheChosenValue) {
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvTool", "C:\\kvtool.exe");
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvTool (x86)", "C:\\kvtool86.exe");
  SetText(HKEY_CURRENT_USER, kRun, "Kv=b", "C:\\kvab.exe");
  SetText(HKEY_CURRENT_USER, kRun, "Kv-b", "C:\\kvab2.exe");
  RegWatchPage& page = OpenPage();
  EXPECT_FALSE(page.Command3.Enabled());
  EXPECT_FALSE(page.Command11.Enabled());
  EXPECT_FALSE(page.cScnUpd.Enabled());
  page.Command1_Click();
  EXPECT_TRUE(page.cScnUpd.Enabled());
  EXPECT_FALSE(page.Command3.Enabled());

  // A category node chooses nothing; an entry node chooses itself.
  ChooseNode(page, "Loaded in Run", "HKEY_LOCAL_MACHINE");
  EXPECT_FALSE(page.Command3.Enabled());
  ChooseNode(page, "KvTool (x86) (C:\\kvtool86.exe)", "Loaded in Run");
  EXPECT_TRUE(page.Command3.Enabled());
  EXPECT_TRUE(page.Command11.Enabled());
  EXPECT_EQ(page.Text4Text(), "KvTool (x86) (C:\\kvtool86.exe)");
  EXPECT_EQ(page.Label19Text(), page.Text4Text());
  EXPECT_EQ(page.selectedPlace, "HKEY_LOCAL_MACHINE|Loaded in Run");

  host.ExpectBox(DeleteQuestion("KvTool (x86)", "Run"), MsgAnswer::Yes);
  page.Command3_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "KvTool (x86)"));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRun, "KvTool"));
  EXPECT_EQ(page.Text4Text(), "");
  EXPECT_FALSE(page.Command3.Enabled());
  EXPECT_EQ(page.FindNode("KvTool (x86) (C:\\kvtool86.exe)"), nullptr);  // refreshed

  // From the warning list: the line shows "a-b", the value is "a=b".
  const int at = LineIndex(page, "HKEY_CURRENT_USER|Loaded in Run\\Kv-b (C:\\kvab.exe) New Entry!");
  ASSERT_GT(at, 0);
  ChooseLine(page, at);
  ChooseLine(page, at);  // ") " is appended once
  EXPECT_EQ(page.ListLines()[size_t(at)],
            "HKEY_CURRENT_USER|Loaded in Run\\Kv-b (C:\\kvab.exe) New Entry!) ");
  EXPECT_EQ(page.ListTip(), page.ListLines()[size_t(at)]);
  EXPECT_EQ(page.Text4Text(), "Kv-b (C:\\kvab.exe)");
  EXPECT_EQ(page.selectedPlace, "HKEY_CURRENT_USER|Loaded in Run");
  // Chosen, then deleted by someone else: nothing else goes in its place.
  host.ExpectBox(DeleteQuestion("Kv=b", "Run"), MsgAnswer::Yes);
  page.Command3_Click();
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRun, "Kv=b"));
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRun, "Kv-b"));

  // The title line chooses nothing.
  ChooseLine(page, 0);
  EXPECT_FALSE(page.Command11.Enabled());

  // Open commands are changed by hand, in the registry editor.
  SetText(HKEY_LOCAL_MACHINE, kExeOpen, "", "C:\\kvopen.exe \"%1\"");
  page.Command1_Click();
  ChooseNode(page, " (C:\\kvopen.exe \"%1\")", "Spawned with EXE's");
  host.ExpectBox("This key will not be deleted.\r\nYou must change the value manually. Would you "
                 "like to open the Registry for Editing now?",
                 MsgAnswer::Yes, "Caution");
  page.Command3_Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine, "\"" + WindowsDirectory() + "regedit.exe\"");
  EXPECT_EQ(host.starts[0].showMode, kShowMinimized);
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kExeOpen, ""));
}

TEST_F(RegWatchPageTest, ScanningAnEntryHandsItsProgramAsOneQuotedPath) {
  SetText(HKEY_CURRENT_USER, kRun, "KvQuoted",
          "\"C:\\Program Files\\Kv Tool\\kv.exe\" /S \"C:\\other.exe\"");
  SetText(HKEY_CURRENT_USER, kRun, "KvNowhere", "kvnowhere-at-all");
  RegWatchPage& page = OpenPage();
  page.Command1_Click();
  ChooseNode(page, "KvQuoted (\"C:\\Program Files\\Kv Tool\\kv.exe\" /S \"C:\\other.exe\")",
             "Loaded in Run");
  page.Command11_Click();
  ASSERT_EQ(host.starts.size(), 2u);
  EXPECT_EQ(host.starts[0].commandLine, "\"C:\\scan.exe\" /scan \"C:\\Program Files\\Kv Tool\\kv.exe\"");
  EXPECT_EQ(host.starts[1].commandLine, "\"C:\\scan2.exe\" /x \"C:\\Program Files\\Kv Tool\\kv.exe\"");

  ChooseNode(page, "KvNowhere (kvnowhere-at-all)", "Loaded in Run");
  host.ExpectBox("Cannot find file, please scan manually");
  page.Command11_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(host.starts.size(), 2u);
}

TEST_F(RegWatchPageTest, ScanAndUpdateStartsEachScannerOnceWithEveryFindingThenAcceptsThem) {
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvA", "C:\\kva.exe -min");
  SetText(HKEY_CURRENT_USER, kRun, "KvB", "\"C:\\Kv B\\kvb.exe\" /q");
  SetText(HKEY_CURRENT_USER, kRunOnce, "KvC", "C:\\kvc.exe");
  app.filesPerBatch = 1;  // the registry findings go in one start all the same
  app.boxes.Check7 = 1;   // Auto-Logging
  RegWatchPage& page = OpenPage();
  page.Command1_Click();
  ASSERT_EQ(page.ListLines().size(), 4u);
  // A value that arrives while the findings are being scanned was never
  // listed: it is not accepted with them.
  const std::string late = "HKEY_CURRENT_USER|Loaded in Run\\KvLate (C:\\late.exe) New Entry!";
  host.onStart = [this](const std::string&) {
    if (!HasValue(HKEY_CURRENT_USER, kRun, "KvLate"))
      SetText(HKEY_CURRENT_USER, kRun, "KvLate", "C:\\late.exe");
  };
  page.cScnUpd_Click();

  const std::string files = "  \"C:\\kva.exe\" \"C:\\Kv B\\kvb.exe\" \"C:\\kvc.exe\"";
  ASSERT_EQ(host.starts.size(), 2u);
  EXPECT_EQ(host.starts[0].commandLine, "\"C:\\scan.exe\" /scan" + files);
  EXPECT_EQ(host.starts[1].commandLine, "\"C:\\scan2.exe\" /x" + files);
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, late}));
  EXPECT_TRUE(page.cScnUpd.Enabled());
  EXPECT_FALSE(app.registryAcceptMode);

  const auto logs = folder.Logs();
  ASSERT_EQ(logs.size(), 1u);
  const std::string& log = logs[0];
  EXPECT_EQ(log.rfind("Registry Action - Scan and Update Multiple Entries,", 0), 0u) << log;
  EXPECT_NE(log.find("C:\\kvc.exe"), std::string::npos) << log;

  // Accepted: the next pass finds only the late one.
  page.Command1_Click();
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, late}));
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("KvLate"), std::string::npos);
}

TEST_F(RegWatchPageTest, FindingsWhoseLogCannotBeWrittenStayListed) {
  SetText(HKEY_CURRENT_USER, kRun, "KvUnlogged", "C:\\unlogged.exe");
  app.boxes.Check7 = 1;  // Auto-Logging
  ASSERT_TRUE(RemoveDirectoryA(folder.path("Data\\Log").c_str()));
  folder.Write("Data\\Log", "a file where the log folder should be");
  RegWatchPage& page = OpenPage();
  page.Command1_Click();
  const std::vector<std::string> listed = page.ListLines();
  ASSERT_EQ(listed.size(), 2u);
  host.ExpectBox(kLogNotWritten);
  page.cScnUpd_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(host.starts.size(), 2u);
  EXPECT_EQ(page.ListLines(), listed);
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("KvUnlogged"), std::string::npos);

  // Once the log can be written, they are accepted.
  DeleteFileA(folder.path("Data\\Log").c_str());
  folder.MakeFolder("Data\\Log");
  page.cScnUpd_Click();
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, kNoWarnings}));
  EXPECT_EQ(folder.Logs().size(), 1u);
}

// Nothing is trusted before every scanner that was handed the files has
// ended, and ended with exit code 0.
TEST_F(RegWatchPageTest, FindingsAreAcceptedOnlyOnceEveryScannerPassedThem) {
  SetText(HKEY_CURRENT_USER, kRun, "KvSuspect", "C:\\suspect.exe");
  RegWatchPage& page = OpenPage();
  page.Command1_Click();
  const std::vector<std::string> listed = page.ListLines();
  ASSERT_EQ(listed.size(), 2u);
  host.exitCodes = {0, 1};  // the second scanner found something
  const std::string problem =
      "Your anti-virus program reported a problem (exit code 1). The files were not accepted into "
      "the baseline.";
  host.ExpectBox(problem, MsgAnswer::Ok, {}, MsgIcon::Warning);
  page.cScnUpd_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(host.waitTimeouts, (std::vector<unsigned long>{1800000, 1800000}));
  EXPECT_EQ(page.ListLines(), listed);
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("KvSuspect"), std::string::npos);
  // On record whatever Auto-Logging says, naming the scanner.
  const auto logs = folder.Logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind(problem + " Anti-virus program: C:\\scan2.exe,", 0), 0u) << logs[0];

  // A scanner still running when the wait ends has said nothing either.
  host.scannersFinish = false;
  host.ExpectBox("Your anti-virus program did not finish checking the files. The files were not "
                 "accepted into the baseline.",
                 MsgAnswer::Ok, {}, MsgIcon::Warning);
  page.cScnUpd_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(page.ListLines(), listed);

  // Passed by both, they are accepted as before.
  host.scannersFinish = true;
  page.cScnUpd_Click();
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, kNoWarnings}));
}

}  // namespace

#ifdef KV_SIGNING_DIR
TEST_F(RegWatchPageTest, SelectedEntryShowsWhoSignedItAndDoubtfulFindingsComeFirst) {
  TrustedTestRoot root;
  ASSERT_TRUE(root.added());
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"KvMissing", "C:\\kvmissing.exe"},
      {"KvSigned", Sample("signed.exe")},
      {"KvUnsigned", Sample("unsigned.exe") + " /x"},
      {"KvTampered", Sample("tampered.exe")}};
  for (const auto& [name, data] : entries) SetText(HKEY_LOCAL_MACHINE, kRun, name, data);
  SetText(HKEY_CURRENT_USER, kRun, "KvMs", Sample("mssigned.exe"));
  RegWatchPage& page = OpenPage();
  EXPECT_EQ(page.chkHideMicrosoft.Value(), 0);
  page.Command1_Click();
  const auto line = [](const std::pair<std::string, std::string>& e) {
    return "HKEY_LOCAL_MACHINE|Loaded in Run\\" + e.first + " (" + e.second + ") New Entry!";
  };
  // The registry lists the values by name; the doubtful ones move up.
  const std::string msLine = "HKEY_CURRENT_USER|Loaded in Run\\KvMs (" + Sample("mssigned.exe") + ") New Entry!";
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, line(entries[3]), line(entries[2]),
                                                        line(entries[0]), line(entries[1]), msLine}));

  const std::vector<std::string> expected = {"File not found", "Signed: Korvanel Test Publisher",
                                             "Not signed", "Signature not valid"};
  for (size_t i = 0; i < entries.size(); ++i) {
    ChooseNode(page, entries[i].first + " (" + entries[i].second + ")", "Loaded in Run");
    EXPECT_EQ(page.SignerText(), expected[i]) << entries[i].first;
  }
  ChooseLine(page, 1);
  EXPECT_EQ(page.SignerText(), "Signature not valid");

  // Hiding Microsoft's entries hides them from the tree only, and is kept.
  const std::string msNode = "KvMs (" + Sample("mssigned.exe") + ")";
  ASSERT_NE(page.FindNode(msNode), nullptr);
  SendMessageA(page.chkHideMicrosoft.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(page.chkHideMicrosoft.hwnd(), WM_KEYUP, VK_SPACE, 0);
  ASSERT_EQ(page.chkHideMicrosoft.Value(), 1);
  EXPECT_EQ(page.FindNode(msNode), nullptr);
  EXPECT_NE(page.FindNode("KvSigned (" + Sample("signed.exe") + ")"), nullptr);
  EXPECT_EQ(page.ListLines().back(), msLine);
  EXPECT_NE(folder.Read("Data\\Korvanel.dat").find("hidemicrosoftsigned=True\r\n"), std::string::npos);
  page.Command1_Click();
  EXPECT_EQ(page.FindNode(msNode), nullptr);
  page.Opening();
  EXPECT_EQ(page.chkHideMicrosoft.Value(), 1);
  // Nothing of it reaches the snapshot.
  page.cScnUpd_Click();
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, kNoWarnings}));
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("Signature"), std::string::npos);
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("Korvanel Test"), std::string::npos);
}
#endif

TEST_F(RegWatchPageTest, AddedPlacesAreScannedByTheirProgramAndAccepted) {
  const std::string ifeo =
      "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\kvpage.exe";
  const std::string svc = "SYSTEM\\CurrentControlSet\\Services\\KvPageSvc";
  NewKey(HKEY_LOCAL_MACHINE, ifeo);
  SetText(HKEY_LOCAL_MACHINE, ifeo, "Debugger", "C:\\kv\\dbg.exe -x");
  NewKey(HKEY_LOCAL_MACHINE, svc);
  Set(HKEY_LOCAL_MACHINE, svc, "ImagePath", std::string("\\SystemRoot\\kv\\svc.exe -k kv") + '\0',
      REG_EXPAND_SZ);
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell",
          "C:\\kv\\shell.exe");
  const std::string link = ShellFolderPath(CSIDL_STARTUP) + "\\KvPage.lnk";
  ASSERT_TRUE(CreateShellLink(link, "C:\\Kv Dir\\tool.exe", "C:\\", "/min", "", 0, SW_SHOWNORMAL));
  undo_.push_back([link] { DeleteFileAt(link); });

  RegWatchPage& page = OpenPage();
  page.Command1_Click();
  ASSERT_EQ(page.ListLines().size(), 5u);
  page.cScnUpd_Click();
  const std::string files = "  \"C:\\kv\\dbg.exe\" \"" + WindowsDirectory() +
                            "kv\\svc.exe\" \"C:\\kv\\shell.exe\" \"C:\\Kv Dir\\tool.exe\"";
  ASSERT_EQ(host.starts.size(), 2u);
  EXPECT_EQ(host.starts[0].commandLine, "\"C:\\scan.exe\" /scan" + files);
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, kNoWarnings}));
  page.Command1_Click();
  EXPECT_EQ(page.ListLines(), (std::vector<std::string>{kWarningsTitle, kNoWarnings}));
}

// An added place's entry is deleted only where deleting is safe, and the
// question names the key the value really is in.
TEST_F(RegWatchPageTest, DeleteKeyOnAddedPlacesDeletesOnlyWhatIsSafe) {
  const std::string policies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
  const std::string winlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
  const std::string ifeo =
      "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\kvdel.exe";
  NewKey(HKEY_CURRENT_USER, policies);
  SetText(HKEY_CURRENT_USER, policies, "KvPol", "C:\\kv\\pol.exe");
  SetText(HKEY_CURRENT_USER, winlogon, "Shell", "C:\\kv\\shell.exe");
  NewKey(HKEY_LOCAL_MACHINE, ifeo);
  SetText(HKEY_LOCAL_MACHINE, ifeo, "Debugger", "C:\\kv\\dbg.exe");
  const std::string link = ShellFolderPath(CSIDL_STARTUP) + "\\KvDel.lnk";
  ASSERT_TRUE(CreateShellLink(link, "C:\\kv\\tool.exe", "C:\\", "", "", 0, SW_SHOWNORMAL));
  undo_.push_back([link] { DeleteFileAt(link); });
  RegWatchPage& page = OpenPage();
  page.Command1_Click();

  ChooseNode(page, "KvPol (C:\\kv\\pol.exe)", "Loaded in Policies Run");
  host.ExpectBox("WARNING!\r\nYou are about to Delete the key: KvPol\r\nFrom: " + policies +
                     "\\\r\nDoing this may have unpredictable results!\r\n\r\nContinue?",
                 MsgAnswer::Yes);
  page.Command3_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, policies.c_str(), "KvPol"));

  const std::string byHand =
      "This key will not be deleted.\r\nYou must change the value manually. Would you like to open "
      "the Registry for Editing now?";
  ChooseNode(page, "Shell (C:\\kv\\shell.exe)", "Loaded in Winlogon");
  host.ExpectBox(byHand, MsgAnswer::No, "Caution");
  page.Command3_Click();
  ChooseNode(page, "kvdel.exe\\Debugger (C:\\kv\\dbg.exe)", "Loaded as Debugger");
  host.ExpectBox(byHand, MsgAnswer::No, "Caution");
  page.Command3_Click();
  ChooseNode(page, "KvDel.lnk (C:\\kv\\tool.exe)", "Loaded in Startup folder");
  host.ExpectBox("This entry will not be deleted.\r\nIt is a file in a Startup folder: remove it there.",
                 MsgAnswer::Ok, "Caution");
  page.Command3_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, winlogon.c_str(), "Shell"));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, ifeo.c_str(), "Debugger"));
  EXPECT_TRUE(FileExists(link));
  EXPECT_TRUE(host.starts.empty());
}
