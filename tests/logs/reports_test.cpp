// The reports viewer in the main window: the log tree of the Options page,
// the report page and its rescan, over real logs in Data\Log\.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/mForm1.h"
#include "core/log_file.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "logs/LogList.h"
#include "logs/repF.h"
#include "platform/files.h"
#include "support/app_fixture.h"
#include "support/pump.h"

namespace kv {
namespace {

using V = std::vector<std::string>;

constexpr const char* kHeader = "Integrity Checker - These files were either New or Failed the Integrity Check,";
constexpr const char* kFailed =
    "Your Anti-Virus program could not be executed!!!\rPlease verify the path of the software:\r";
constexpr const char* kDone = "Anti-Virus program executed successfully!";

class ReportsTest : public test::AppTest {
 protected:
  // The Options page reads the settings file on every entry.
  void SetUp() override {
    MakeDataFolders();
    folder.Write("Data\\Korvanel.dat", DefaultSettingsText(true));
  }
  void Log(const std::string& name, const std::string& line) { folder.Write("Data\\Log\\" + name, line); }
  bool HasLog(const std::string& name) const { return folder.Exists("Data\\Log\\" + name); }
  void Scanners(const std::string& first, const std::string& second = {}) {
    std::string text = DefaultSettingsText(true);
    text.replace(text.find("antivirus=\r\n"), 12, "antivirus=" + first + "\r\n");
    text.replace(text.find("av2=\r\n"), 6, "av2=" + second + "\r\n");
    text.replace(text.find("antivirus2=1,0,0"), 16, "antivirus2=0,0,0");  // files without quotes
    folder.Write("Data\\Korvanel.dat", text);
  }
  mForm1& form() { return Form1(app); }
  LogList& list() { return *form().logList(); }
  ReportPage& report() { return *form().report(); }
  // The groups sorted, each with its times sorted: the folder's listing
  // order is the system's.
  std::vector<LogList::Group> SortedGroups() {
    auto groups = list().Groups();
    for (auto& g : groups) std::sort(g.times.begin(), g.times.end());
    std::sort(groups.begin(), groups.end(), [](auto& a, auto& b) { return a.date < b.date; });
    return groups;
  }
  void LoadAndView(const std::string& date, const std::string& time) {
    form().Image11_Click();
    list().cReports_Click();
    ASSERT_TRUE(list().Select(date, time));
    list().cViewReport_Click();
  }
  void PressDelete() {
    SendMessageA(list().TreeView2, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageA(list().TreeView2, WM_KEYUP, VK_DELETE, 0);
    test::PumpUntil([&] { return host.AllBoxesShown(); });
    test::PumpPending();
  }
};

void ExpectGroup(const LogList::Group& g, const std::string& date, const V& times) {
  EXPECT_EQ(g.date, date);
  EXPECT_EQ(g.times, times);
}

TEST_F(ReportsTest, LoadLogsGroupsByDateAndSkipsNamesOutsideThePattern) {
  Log("01-05-2007(8_17_49AM).log", std::string(kHeader) + "C:\\a.dll\r\n");
  Log("01-05-2007(10_02_11PM).log", std::string(kHeader) + "C:\\b.dll\r\n");
  Log("01-06-2007(8_17_49AM).log", std::string(kHeader) + "C:\\c.dll\r\n");
  Log("01-05-2007(8_17_49AM-2).LOG", std::string(kHeader) + "C:\\second.dll\r\n");
  Log("notes.log", "not a log of ours\r\n");
  Log("01-07-2007(9_00_00AM).txt", "not a log\r\n");
  form().Image11_Click();
  EXPECT_TRUE(list().Groups().empty()) << "opening the page does not load the tree";
  list().cReports_Click();
  const auto groups = SortedGroups();
  ASSERT_EQ(groups.size(), 2u);
  ExpectGroup(groups[0], "01-05-2007", {"10:02:11 PM", "8:17:49 AM", "8:17:49 AM-2"});
  ExpectGroup(groups[1], "01-06-2007", {"8:17:49 AM"});

  // A group disables View Log, an entry enables it; the second log of a
  // second opens its own file.
  ASSERT_TRUE(list().Select("01-05-2007"));
  EXPECT_FALSE(list().cViewReport.Enabled());
  ASSERT_TRUE(list().Select("01-05-2007", "8:17:49 AM-2"));
  EXPECT_TRUE(list().cViewReport.Enabled());
  list().cViewReport_Click();
  EXPECT_EQ(report().Lines(), (V{std::string(kHeader).substr(0, strlen(kHeader) - 1), "C:\\second.dll"}));
}

TEST_F(ReportsTest, ViewLogShowsTheHeaderThenEveryFileAndCloseGoesBack) {
  const std::string head(kHeader, strlen(kHeader) - 1);
  Log("01-05-2007(8_17_49AM).log", std::string(kHeader) + "C:\\a.dll,C:\\b.exe,C:\\c.sys\r\n");
  LoadAndView("01-05-2007", "8:17:49 AM");
  EXPECT_EQ(report().Lines(), (V{head, "C:\\a.dll", "C:\\b.exe", "C:\\c.sys"}));
  EXPECT_EQ(form().ShownPage(), &form().repF);
  EXPECT_FALSE(IsWindowVisible(list().Label26));
  report().cX.Click();
  EXPECT_EQ(form().ShownPage(), &form().setFq);

  // Empty items in the middle hide none of the files after them.
  Log("01-05-2007(8_17_49AM).log", std::string(kHeader) + "C:\\a.dll,,C:\\b.exe,,,C:\\c.sys\r\n");
  LoadAndView("01-05-2007", "8:17:49 AM");
  EXPECT_EQ(report().Lines(), (V{head, "C:\\a.dll", "C:\\b.exe", "C:\\c.sys"}));

  // A log gone since the tree was loaded: only the message.
  form().Image11_Click();
  list().cReports_Click();
  ASSERT_TRUE(list().Select("01-05-2007", "8:17:49 AM"));
  DeleteFileAt(folder.path("Data\\Log\\01-05-2007(8_17_49AM).log"));
  host.ExpectBox("Error - This report does not exist and could not be opened.");
  list().cViewReport_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(form().ShownPage(), &form().setFq);
  EXPECT_FALSE(IsWindowVisible(list().Label26));
}

TEST_F(ReportsTest, DeleteKeyAndDeleteButtonsRemoveOnlyWhatWasAskedFor) {
  Log("01-05-2007(8_17_49AM).log", std::string(kHeader) + "C:\\a.dll\r\n");
  Log("01-05-2007(10_02_11PM).log", std::string(kHeader) + "C:\\b.dll\r\n");
  Log("01-06-2007(8_17_49AM).log", std::string(kHeader) + "C:\\c.dll\r\n");
  form().Image11_Click();
  list().cReports_Click();

  // Delete on a date group: No leaves everything, Yes takes that date only.
  ASSERT_TRUE(list().Select("01-05-2007"));
  host.ExpectBox("Delete All Logs on this (01-05-2007) Date?", MsgAnswer::No);
  PressDelete();
  EXPECT_EQ(list().Groups().size(), 2u);
  EXPECT_TRUE(HasLog("01-05-2007(8_17_49AM).log"));
  ASSERT_TRUE(list().Select("01-05-2007"));
  host.ExpectBox("Delete All Logs on this (01-05-2007) Date?", MsgAnswer::Yes);
  PressDelete();
  EXPECT_FALSE(HasLog("01-05-2007(8_17_49AM).log"));
  EXPECT_FALSE(HasLog("01-05-2007(10_02_11PM).log"));
  EXPECT_TRUE(HasLog("01-06-2007(8_17_49AM).log"));
  auto groups = list().Groups();
  ASSERT_EQ(groups.size(), 1u);
  ExpectGroup(groups[0], "01-06-2007", {"8:17:49 AM"});

  // Keys that move through the tree ask nothing and change nothing.
  SendMessageA(list().TreeView2, WM_KEYDOWN, VK_DOWN, 0);
  test::PumpPending();
  EXPECT_EQ(list().Groups().size(), 1u);

  // Delete on an entry.
  Log("01-06-2007(9_00_00AM).log", std::string(kHeader) + "C:\\d.dll\r\n");
  list().cReports_Click();
  ASSERT_TRUE(list().Select("01-06-2007", "9:00:00 AM"));
  host.ExpectBox("Delete Log Entry?", MsgAnswer::Yes);
  PressDelete();
  EXPECT_FALSE(HasLog("01-06-2007(9_00_00AM).log"));
  EXPECT_TRUE(HasLog("01-06-2007(8_17_49AM).log"));

  // Delete this Report: the log shown goes, the Options page returns with
  // the tree rebuilt.
  Log("01-07-2007(9_00_00AM).log", std::string(kHeader) + "C:\\e.dll\r\n");
  LoadAndView("01-07-2007", "9:00:00 AM");
  host.ExpectBox("Are you sure you want to delete this Report?", MsgAnswer::No);
  report().cDelLog.Click();
  EXPECT_TRUE(HasLog("01-07-2007(9_00_00AM).log"));
  EXPECT_EQ(form().ShownPage(), &form().repF);
  host.ExpectBox("Are you sure you want to delete this Report?", MsgAnswer::Yes);
  report().cDelLog.Click();
  EXPECT_FALSE(HasLog("01-07-2007(9_00_00AM).log"));
  EXPECT_EQ(form().ShownPage(), &form().setFq);
  groups = list().Groups();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].date, "01-06-2007");

  // Delete All Logs: every ".log" whatever its case or name; other files stay.
  Log("notes.LOG", "x\r\n");
  folder.Write("Data\\Log\\keep.txt", "x");
  host.ExpectBox("Are you sure you want to delete all the logs?", MsgAnswer::No);
  list().cButton3.Click();
  EXPECT_TRUE(HasLog("notes.LOG"));
  host.ExpectBox("Are you sure you want to delete all the logs?", MsgAnswer::Yes);
  list().cButton3.Click();
  EXPECT_EQ(ListDirectory(folder.path("Data\\Log\\")).value_or(V{}), V{"keep.txt"});
  EXPECT_TRUE(list().Groups().empty());
}

TEST_F(ReportsTest, ScanFilesForVirusesHandsTheFilesOverInBatches) {
  // A log holding only its header starts nothing and still reports success.
  Scanners("C:\\av\\scan.exe|/s", "C:\\av\\two.exe| /x");
  Log("01-05-2007(8_17_49AM).log", std::string(kHeader) + "\r\n");
  LoadAndView("01-05-2007", "8:17:49 AM");
  host.ExpectBox(kDone);
  report().cScnLog.Click();
  EXPECT_TRUE(host.starts.empty());

  // 1200 files, 500 a batch: each batch to the first scanner, then the second
  // with its arguments untrimmed; the header is never passed.
  std::string line = kHeader;
  for (int i = 1; i <= 1200; ++i) line += (i > 1 ? "," : "") + std::string("C:\\f") + Dec(i) + ".dll";
  Log("01-05-2007(9_00_00AM).log", line + "\r\n");
  app.filesPerBatch = 500;
  LoadAndView("01-05-2007", "9:00:00 AM");
  ASSERT_EQ(report().Lines().size(), 1201u);
  host.ExpectBox(kDone);
  report().cScnLog.Click();
  ASSERT_EQ(host.starts.size(), 6u);
  const int sizes[3] = {500, 500, 200};
  for (int b = 0; b < 3; ++b) {
    const std::string& one = host.starts[size_t(2 * b)].commandLine;
    const std::string& two = host.starts[size_t(2 * b) + 1].commandLine;
    EXPECT_EQ(one.rfind("\"C:\\av\\scan.exe\" /s C:\\f" + Dec(b * 500 + 1) + ".dll ", 0), 0u) << b;
    EXPECT_EQ(two.rfind("\"C:\\av\\two.exe\"  /x C:\\f" + Dec(b * 500 + 1) + ".dll ", 0), 0u) << b;
    EXPECT_EQ(std::count(one.begin(), one.end(), '\\'), 2 + sizes[b]) << b;
    EXPECT_EQ(one.substr(one.find(' ') + 4), two.substr(two.find(' ') + 5)) << b;
  }
  EXPECT_EQ(host.starts[0].commandLine.find("Integrity"), std::string::npos);

  // Empty items in the middle: every file is still scanned.
  host.starts.clear();
  Scanners("C:\\av\\scan.exe|");
  Log("01-05-2007(9_00_00AM).log", std::string(kHeader) + "C:\\a.dll,,C:\\b.dll,,C:\\c.dll\r\n");
  LoadAndView("01-05-2007", "9:00:00 AM");
  host.ExpectBox(kDone);
  report().cScnLog.Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine, "\"C:\\av\\scan.exe\"  C:\\a.dll C:\\b.dll C:\\c.dll ");

  // A path with spaces, which the log cut into pieces, goes over whole.
  host.starts.clear();
  folder.MakeFolder("My Files");
  folder.Write("My Files\\a b.dll", "x");
  const std::string spaced = folder.path("My Files\\a b.dll");
  Log("01-05-2007(9_00_00AM).log", LogLine(std::string(kHeader) + "\"" + spaced + "\" \"C:\\c.dll\" "));
  LoadAndView("01-05-2007", "9:00:00 AM");
  host.ExpectBox(kDone);
  report().cScnLog.Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine, "\"C:\\av\\scan.exe\"  " + spaced + " C:\\c.dll ");

  // A first scanner without "|": the failure message at once, nothing started.
  host.starts.clear();
  Scanners("C:\\av\\scan.exe /s");
  host.ExpectBox(kFailed);
  report().cScnLog.Click();
  EXPECT_TRUE(host.starts.empty());

  // A scanner that cannot be started ends the rescan with its path.
  Scanners("C:\\av\\scan.exe|/s");
  host.startSucceeds = false;
  host.ExpectBox(std::string(kFailed) + "C:\\av\\scan.exe");
  report().cScnLog.Click();
  EXPECT_EQ(host.starts.size(), 1u);
  EXPECT_TRUE(host.AllBoxesShown());
}

}  // namespace
}  // namespace kv
