// The custom-folders window and a folder's first scan, driven through the
// real window, the real settings file and real folders.
#include <windows.h>

#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "customfolders/folder_scan.h"
#include "customfolders/iCust.h"
#include "integrity/checksum/file_checksum.h"
#include "integrity/intCheck.h"
#include "platform/files.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr char kRemoveQuestion[] =
    "Are you sure you want to remove this folder? Doing so will lose all Integrity Checker data "
    "for this folder!";
constexpr char kNoArgs[] = "0,0,0,0,0,0,0";

// The text colour the window gives one of its check boxes.
COLORREF BoxInk(iCust& w, HWND box) {
  HDC dc = GetDC(box);
  SendMessageA(w.hwnd(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(box));
  const COLORREF ink = GetTextColor(dc);
  ReleaseDC(box, dc);
  return ink;
}

class CustomFoldersTest : public AppTest {
 protected:
  void SetUp() override {
    MakeDataFolders();
    ASSERT_TRUE(EnsureSettingsFile(app));
    folder.Write("Data\\Integrity.dat", "//x\r\n[DLL]\r\nNULL*E\r\n");
  }

  // Slot n holds the folder "fn\" (created on disk).
  std::string PutFolder(int slot, const std::string& args = kNoArgs) {
    const std::string dir = folder.path("f" + Dec(slot) + "\\");
    folder.MakeFolder("f" + Dec(slot));
    WriteEntry(app, app.settingsFile, "path", dir, Dec(slot));
    WriteEntry(app, app.settingsFile, "args", args, Dec(slot));
    return dir;
  }
  std::string Stored(const std::string& key, int slot) {
    return ReadEntry(app.settingsFile, key, Dec(slot));
  }
  iCust& Window() {
    iCust& w = CustomFolders(app);
    w.Open();
    return w;
  }
};

TEST_F(CustomFoldersTest, OpeningListsEverySlotWithItsValues) {
  const std::string f2 = PutFolder(2, "1,0,0,0,1,0,1");
  iCust& w = Window();
  const auto lines = w.Lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "1) Empty:");
  EXPECT_EQ(lines[1], "2) " + f2);
  EXPECT_EQ(lines[19], "20) Empty:");
  EXPECT_EQ(w.List3[1], "1,0,0,0,1,0,1");
  EXPECT_EQ(w.List5[1], kNoArgs);
  EXPECT_FALSE(w.settingsEdited);

  // Selecting shows the slot's values without counting as an edit.
  w.Select(1);
  EXPECT_EQ(iCust::Text(w.Label1), "Currently Selected: 2) " + f2);
  EXPECT_TRUE(iCust::Checked(w.Check1));
  EXPECT_TRUE(iCust::ItemSelected(w.List2, 0));
  EXPECT_FALSE(iCust::ItemSelected(w.List2, 1));
  EXPECT_TRUE(iCust::ItemSelected(w.List2, 4));
  EXPECT_TRUE(IsWindowEnabled(w.List2));
  EXPECT_FALSE(iCust::Checked(w.Check2));
  EXPECT_FALSE(IsWindowEnabled(w.List4));
  EXPECT_FALSE(w.settingsEdited);
  // A box that is on is white on navy, one that is off black on red.
  EXPECT_EQ(BoxInk(w, w.Check1), RGB(255, 255, 255));
  EXPECT_EQ(BoxInk(w, w.Check2), RGB(0, 0, 0));
  // Tab walks from the folder list to the first category box; for an empty
  // slot, past the disabled boxes and lists to the first button.
  auto tabFrom = [&](HWND from) {
    SetFocus(from);
    PostMessageA(from, WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(from, WM_KEYUP, VK_TAB, 0);
    PumpPending();
    return GetFocus();
  };
  EXPECT_EQ(tabFrom(w.List1), w.Check1);
  w.Select(0);
  EXPECT_FALSE(IsWindowEnabled(w.Check1));
  EXPECT_FALSE(IsWindowEnabled(w.Check2));
  EXPECT_EQ(tabFrom(w.List1), w.cButton2.hwnd());
}

TEST_F(CustomFoldersTest, AddRefusesTheSystemDirectoryAndAFolderAlreadyListed) {
  const std::string twelve = PutFolder(12);
  iCust& w = Window();
  const auto before = w.Lines();
  const std::string system = SystemDirectory();
  const char* kDefault =
      "This is the default folder that Korvanel scans. It cannot be added to the Custom Integrity "
      "Checker";
  for (const std::string& pick : {LCase(system.substr(0, system.size() - 1)), UCase(system)}) {
    host.folderAnswer = pick;
    host.ExpectBox(kDefault);
    w.cButton2_Click();
  }
  host.folderAnswer = UCase(twelve.substr(0, twelve.size() - 1));
  host.ExpectBox("This folder is already being scanned.");
  w.cButton2_Click();
  host.folderAnswer = "";  // cancelled
  w.cButton2_Click();
  EXPECT_EQ(w.Lines(), before);
  EXPECT_TRUE(w.settingsEdited);
}

TEST_F(CustomFoldersTest, RemovedSlotIsEmptiedAtOnceAndTakesTheNextAdd) {
  for (int slot = 1; slot <= 5; ++slot) PutFolder(slot, "1,1,1,1,1,1,1");
  for (const char* f : {"Data\\3.dat", "Data\\3.bak", "Data\\3-md5.dat", "Data\\3-sha1.bak",
                        "Data\\3-sha256.dat", "Data\\3-sha256.bak"})
    folder.Write(f, "x");
  folder.Write("Data\\13.dat", "another slot's");
  iCust& w = Window();
  w.Select(2);
  host.ExpectBox(kRemoveQuestion, MsgAnswer::Cancel, "Caution!");
  w.Command2_Click();
  EXPECT_TRUE(folder.Exists("Data\\3.dat"));

  host.ExpectBox(kRemoveQuestion, MsgAnswer::Ok, "Caution!", MsgIcon::None, MsgButtons::OkCancel);
  w.Command2_Click();
  EXPECT_EQ(w.Lines()[2], "3) Empty:");
  EXPECT_EQ(w.List3[2], kNoArgs);
  EXPECT_EQ(Stored("path", 3), "NULL");
  EXPECT_EQ(Stored("args", 3), kNoArgs);
  for (const char* f : {"Data\\3.dat", "Data\\3.bak", "Data\\3-md5.dat", "Data\\3-sha1.bak",
                        "Data\\3-sha256.dat", "Data\\3-sha256.bak"})
    EXPECT_FALSE(folder.Exists(f)) << f;
  EXPECT_TRUE(folder.Exists("Data\\13.dat"));

  folder.MakeFolder("new");
  host.folderAnswer = folder.path("new");
  host.ExpectBox("Folder Added.");
  w.cButton2_Click();
  EXPECT_EQ(w.Lines()[2], "3) " + folder.path("new\\"));
  EXPECT_EQ(w.Lines()[5], "6) Empty:");

  // Closing without saving keeps the removal and drops the addition.
  host.ExpectBox("Do you wish to Save your changes?", MsgAnswer::No);
  w.Form_Unload();
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(Stored("path", 3), "NULL");
  EXPECT_FALSE(folder.Exists("Data\\3.dat"));
  EXPECT_EQ(Window().Lines()[2], "3) Empty:");
}

TEST_F(CustomFoldersTest, CategoryEditsAreKeptOnlyWhenSaved) {
  const std::string f1 = PutFolder(1, "1,0,0,0,0,0,1");
  const std::string settingsBefore = folder.Read("Data\\Korvanel.dat");
  int refills = 0;
  iCust& w = CustomFolders(app);
  w.Open([&] { ++refills; });

  // Without a folder chosen an edit is refused.
  host.ExpectBox("Please select a folder to edit its properties!");
  w.List2_Click();

  w.Select(0);
  iCust::SetItemSelected(w.List2, 1, true);
  w.List2_Click();
  EXPECT_EQ(w.List3[0], "1,1,0,0,0,0,1");
  iCust::SetChecked(w.Check2, true);
  w.Check2_Click();
  EXPECT_TRUE(IsWindowEnabled(w.List4));
  EXPECT_EQ(w.List5[0], "0,0,0,0,0,0,1");
  iCust::SetChecked(w.Check1, false);
  w.Check1_Click();
  EXPECT_FALSE(IsWindowEnabled(w.List2));
  EXPECT_EQ(w.List3[0], "1,1,0,0,0,0,0");

  host.ExpectBox("Do you wish to Save your changes?", MsgAnswer::No);
  w.Form_Unload();
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), settingsBefore);
  EXPECT_EQ(refills, 1);

  // Reopened, the window shows what is stored; saved, the edits are stored.
  w.Open();
  w.Select(0);
  EXPECT_TRUE(iCust::Checked(w.Check1));
  EXPECT_FALSE(iCust::ItemSelected(w.List2, 1));
  iCust::SetItemSelected(w.List2, 5, true);
  w.List2_Click();
  host.ExpectBox("Save Successful!");
  w.Command3_Click();
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(refills, 2);
  EXPECT_EQ(Stored("args", 1), "1,0,0,0,0,1,1");
  EXPECT_EQ(Stored("path", 1), f1);
  EXPECT_EQ(Stored("path", 2), "NULL");
  EXPECT_EQ(Stored("args2", 20), kNoArgs);
  // Saving only hides: the window keeps its lists and closes without a question.
  w.Open();
  EXPECT_EQ(w.List3[0], "1,0,0,0,0,1,1");
  w.Form_Unload();
}

TEST_F(CustomFoldersTest, UnattendedFirstScanWritesTheSkeletonOfWatchedFilesOnly) {
  const std::string dir = PutFolder(4);
  for (const char* name : {"a.dll", "b.exe", "readme.txt", "x,y.dll"}) folder.Write("f4\\" + std::string(name), "x");
  app.SetStart(StartMode(StartKind::Logon));
  const std::string file = folder.path("Data\\4.dat");
  EXPECT_TRUE(FirstCustomFolderScan(app, dir.substr(0, dir.size() - 1), file, 4));
  const std::string text = folder.Read("Data\\4.dat");
  EXPECT_EQ(text.rfind("//Do not edit this file\r\n//This file contains the Integrity Checker "
                       "Data\r\n\r\n[DLL]\r\n", 0), 0u) << text;
  const Baseline b = Baseline::FromText(text);
  ASSERT_EQ(b.SectionCount(), 9);
  // In the system's listing order; the name with a "," stays one entry.
  const std::string dll = b.SectionText(1);
  EXPECT_TRUE(dll == "[DLL]\r\na.dll=NULL*E\r\nx,y.dll=NULL*E\r\nNULL*E\r\n" ||
              dll == "[DLL]\r\nx,y.dll=NULL*E\r\na.dll=NULL*E\r\nNULL*E\r\n") << dll;
  EXPECT_EQ(b.SectionText(6), "[EXE]\r\nb.exe=NULL*E\r\nNULL*E\r\n");
  for (int s : {2, 3, 4, 5, 7, 8, 9}) EXPECT_EQ(b.SectionText(s), "[" + b.SectionName(s) + "]\r\nNULL*E\r\n");
  EXPECT_EQ(text.find("readme"), std::string::npos);
  EXPECT_FALSE(HasCheckWindow(app)) << "the run in progress checks the folder";
}

TEST_F(CustomFoldersTest, FirstScanByHandFingerprintsEveryFileIntoTheFolderBaseline) {
  const std::string dir = PutFolder(7);
  folder.Write("f7\\a.dll", "library");
  folder.Write("f7\\b.scr", "screen saver");
  const std::string file = folder.path("Data\\7.dat");
  host.ExpectBox(FirstScanQuestion(dir), MsgAnswer::Yes);
  host.ExpectBox("Initial Custom Folder Scan Completed Successfully!");
  EXPECT_TRUE(FirstCustomFolderScan(app, dir, file, 7));
  intCheck& w = CheckWindow(app);
  ASSERT_TRUE(PumpUntil([&] { return host.AllBoxesShown() && !w.TimerArmed() && !w.Running(); }, 20000));
  const Baseline b = Baseline::FromText(folder.Read("Data\\7.dat"));
  EXPECT_EQ(b.LookupEntry("a.dll", "DLL"), FileChecksum(app, dir + "a.dll"));
  EXPECT_EQ(b.LookupEntry("b.scr", "SCR"), FileChecksum(app, dir + "b.scr"));
  EXPECT_EQ(w.ShownRequest().why, CheckReason::Manual) << "the folder's files are taken in";
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(folder.Read("Data\\Integrity.dat").find("a.dll") == std::string::npos);
  EXPECT_TRUE(ListDirectory(folder.path("Data\\Log\\"))->empty()) << "a first scan is not logged";
}

TEST_F(CustomFoldersTest, DeclinedOrUnreadableFirstScanLeavesNoBaseline) {
  const std::string dir = PutFolder(2);
  const std::string file = folder.path("Data\\2.dat");
  host.ExpectBox(FirstScanQuestion(dir), MsgAnswer::No);
  host.ExpectBox(kFirstScanDeclined);
  EXPECT_FALSE(FirstCustomFolderScan(app, dir, file, 2));
  EXPECT_FALSE(folder.Exists("Data\\2.dat"));

  const std::string gone = folder.path("gone\\");
  host.ExpectBox(FirstScanQuestion(gone), MsgAnswer::Yes);
  host.ExpectBox(FolderNotListedMessage(gone));
  EXPECT_FALSE(FirstCustomFolderScan(app, gone, file, 2));
  EXPECT_FALSE(folder.Exists("Data\\2.dat"));
  EXPECT_FALSE(HasCheckWindow(app));
}

}  // namespace
