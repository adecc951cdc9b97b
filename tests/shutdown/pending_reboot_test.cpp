// Pending reboot files: read from wininit.ini and the registry of the
// private prefix, scanned as a precaution at the start of a secure shut
// down, and listed on the RegWatch page.
#include <windows.h>

#include "app/mForm1.h"
#include "regwatch/regF.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"
#include "shutdown/shutdown_fixture.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr char kWininitHeader[] =
    "The following Files were scanned as a precaution (being renamed or deleted from Wininit),";
constexpr char kRegistryHeader[] =
    "The following Files were scanned as a precaution (being renamed or deleted from the Registry),";

std::string Quoted(const std::string& path) { return "\"" + path + "\" "; }

TEST_F(ShutDownTest, PrecautionaryScanHandsOverTheExistingFilesOfBothSources) {
  const std::string x = MakeFile("x.tmp"), fresh = MakeFile("a.new"), a = MakeFile("a.tmp");
  WriteWininit("[rename]\r\nNUL=" + x + "\r\nC:\\WINDOWS\\SYSTEM\\a.dll=" + fresh + "\r\nnul=" +
               folder.path("missing.tmp") + "\r\n");
  // A path with a double quote names no file; without the quote it would
  // name the decoy beside it.
  MakeFile("d.tmp");
  const std::string quoted = folder.path("d\".tmp");
  QueueRenames({"\\??\\" + a, "!\\??\\" + folder.path("b.dll"), "\\??\\" + quoted});
  UseScanners();
  PrecautionaryScan(app, ReadPendingOperations());

  const std::string wininitBatch = Quoted(x) + Quoted(fresh);
  EXPECT_EQ(StartLines(), (std::vector<std::string>{
                              "\"C:\\av\\first.exe\" /one " + wininitBatch,
                              "\"C:\\av\\second.exe\" /two " + wininitBatch,
                              "\"C:\\av\\first.exe\" /one " + Quoted(a),
                              "\"C:\\av\\second.exe\" /two " + Quoted(a),
                          }));
  EXPECT_EQ(Logs(), (std::vector<std::string>{kWininitHeader + x + "," + fresh + "\r\n",
                                              kRegistryHeader + a + "\r\n"}));
  EXPECT_EQ(ShutDownProgress(app).Progress(), 100);
  EXPECT_EQ(ShutDownProgress(app).Status(), "Status: Checking Startup/Delete/Replace Entries...");
  EXPECT_FALSE(app.report.shutDownFindings);  // no shut down is running
}

TEST_F(ShutDownTest, AStartUpFileWithoutExistingFilesStartsOnlyTheSecondScanner) {
  WriteWininit("[rename]\r\nNUL=" + folder.path("gone.tmp") + "\r\n");
  UseScanners();
  PrecautionaryScan(app, ReadPendingOperations());
  EXPECT_EQ(StartLines(), std::vector<std::string>{"\"C:\\av\\second.exe\" /two "});
  EXPECT_TRUE(Logs().empty());
  EXPECT_EQ(ShutDownProgress(app).Progress(), 50);
}

TEST_F(ShutDownTest, RegistryFilesGoInBatchesWithEachFileOncePerBatch) {
  PendingOperations ops;
  for (int i = 0; i < 1200; ++i) ops.registry.push_back(MakeFile("f" + std::to_string(i) + ".dll"));
  ops.registry.insert(ops.registry.begin() + 1, ops.registry[0]);  // source and destination alike
  UseScanners();
  PrecautionaryScan(app, ops);
  ASSERT_EQ(host.starts.size(), 6u);
  const size_t sizes[] = {500, 500, 200};
  for (size_t i = 0; i < 6; ++i) {
    const std::string& line = host.starts[i].commandLine;
    EXPECT_EQ(line.rfind(i % 2 ? "\"C:\\av\\second.exe\"" : "\"C:\\av\\first.exe\"", 0), 0u) << i;
    // The program's two quotes, then two for each file.
    EXPECT_EQ(size_t(std::count(line.begin(), line.end(), '"')), 2 + 2 * sizes[i / 2]) << i;
  }
  EXPECT_NE(host.starts[4].commandLine.find("f1199.dll"), std::string::npos);
}

TEST_F(ShutDownTest, ALongRenameValueIsReadWhole) {
  std::vector<std::string> strings, expected;
  for (int i = 0; i < 16; ++i) {
    const std::string path = "C:\\queued\\a-padded-name-for-the-queue-" + std::to_string(i) + ".dll";
    strings.push_back("\\??\\" + path);
    strings.emplace_back();  // a delete: no destination
    expected.push_back(path);
  }
  QueueRenames(strings);
  const PendingOperations ops = ReadPendingOperations();
  EXPECT_FALSE(ops.wininitExists);
  EXPECT_EQ(ops.registry, expected);
  // Well past the 256 bytes a fixed buffer once held.
  size_t bytes = 0;
  for (const auto& s : strings) bytes += s.size() + 1;
  EXPECT_GT(bytes, 600u);
}

class PendingViewTest : public ShutDownTest {
 protected:
  PendingViewTest() {
    folder.Write("Data\\Korvanel.dat", "antivirus=C:\\scan.exe|/scan\r\nav2=C:\\scan2.exe| /x \r\n");
    snapshot_ = folder.Read("Data\\Registry.dat");
  }
  RegWatchPage& OpenPage() {
    mForm1& f = Form1(app);
    f.Image7_Click();
    RegWatchPage* page = f.regF.ContentAs<RegWatchPage>();
    EXPECT_NE(page, nullptr);
    return *page;
  }
  std::string snapshot_;
};

TEST_F(PendingViewTest, ListsBothSourcesAndScansTheFilesInBatchesWithoutTouchingTheRegistry) {
  const std::string x = MakeFile("x.tmp"), fresh = MakeFile("a.new"), a = MakeFile("a.tmp");
  WriteWininit("[rename]\r\nNUL=" + x + "\r\nC:\\WINDOWS\\SYSTEM\\a.dll=" + fresh + "\r\n");
  // A path with a double quote names no file; without the quote it would
  // name the decoy beside it.
  MakeFile("d.tmp");
  const std::string quoted = folder.path("d\".tmp");
  QueueRenames({"\\??\\" + a, "!\\??\\" + folder.path("b.dll"), "\\??\\" + quoted});
  // A finding of the registry that the view's scan must leave alone.
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KvPending",
          "C:\\kvpending.exe");
  RegWatchPage& page = OpenPage();
  page.cMod_Click();
  EXPECT_TRUE(page.PendingView());
  EXPECT_EQ(page.List6Lines(),
            (std::vector<std::string>{kPendingViewHeader, x + " {To be Deleted}",
                                      fresh + " {To be Overwritten}", a, folder.path("b.dll"),
                                      quoted}));
  EXPECT_EQ(page.Command11.Caption(), "Scan all Files for Viruses");
  EXPECT_TRUE(page.Command11.Enabled());
  EXPECT_FALSE(page.cScnUpd.Enabled());

  // The header line chooses nothing.
  SendMessageA(page.List6, LB_SETCURSEL, 0, 0);
  page.List6_Click();
  EXPECT_EQ(page.Text4Text(), "");
  SendMessageA(page.List6, LB_SETCURSEL, 3, 0);
  page.List6_Click();
  EXPECT_EQ(page.Text4Text(), a);

  app.filesPerBatch = 2;
  host.ExpectBox("Unable to find the file: " + folder.path("b.dll") + "\r\nPlease scan manually.");
  host.ExpectBox("Unable to find the file: " + quoted + "\r\nPlease scan manually.");
  page.Command11_Click();
  EXPECT_EQ(StartLines(), (std::vector<std::string>{
                              "\"C:\\scan.exe\" /scan " + Quoted(x) + Quoted(fresh),
                              "\"C:\\scan2.exe\" /x " + Quoted(x) + Quoted(fresh),
                              "\"C:\\scan.exe\" /scan " + Quoted(a),
                              "\"C:\\scan2.exe\" /x " + Quoted(a),
                          }));
  EXPECT_EQ(page.List6Lines()[1], x);  // the kinds come off the lines
  EXPECT_EQ(Logs(), std::vector<std::string>{
                        "Precautionary Scan - These files were to be renamed/deleted/overwritten at "
                        "startup," + x + "," + fresh + "," + a + "," +
                        folder.path("d<U+0022>.tmp") + "\r\n"});
  EXPECT_EQ(folder.Read("Data\\Registry.dat"), snapshot_);

  page.Command1_Click();  // Refresh: back to the registry, whose finding still stands
  EXPECT_FALSE(page.PendingView());
  EXPECT_EQ(page.Command11.Caption(), "Scan File for Viruses");
  EXPECT_NE(page.ListLines()[1].find("KvPending"), std::string::npos);
}

TEST_F(PendingViewTest, NothingQueuedSaysSo) {
  RegWatchPage& page = OpenPage();
  host.ExpectBox("No files will be modified or deleted on Restart!");
  page.cMod_Click();
  EXPECT_EQ(page.List6Lines(), std::vector<std::string>{kPendingViewHeader});
  EXPECT_FALSE(page.Command11.Enabled());
}

}  // namespace
