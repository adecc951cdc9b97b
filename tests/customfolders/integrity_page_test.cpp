// The Integrity Checker page of the main window: its folder list, the
// category marks and the check it prepares.
#include <windows.h>
#include <oleacc.h>

#include "app/mForm1.h"
#include "context/settings.h"
#include "core/text.h"
#include "customfolders/folder_scan.h"
#include "customfolders/iCust.h"
#include "customfolders/integrity_page.h"
#include "integrity/intCheck.h"
#include "platform/files.h"
#include "support/accessible_probe.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

class IntegrityPageTest : public AppTest {
 protected:
  void SetUp() override {
    MakeDataFolders();
    ASSERT_TRUE(EnsureSettingsFile(app));
    folder.Write("Data\\Integrity.dat", "//x\r\n[DLL]\r\nNULL*E\r\n");
    Form1(app).Image5_Click();
    page = Form1(app).intF.ContentAs<IntegrityPage>();
    ASSERT_NE(page, nullptr);
  }
  void TearDown() override {
    if (HasCheckWindow(app)) {
      intCheck& w = CheckWindow(app);
      w.ClearList();
      w.Command1_Click();
      PumpUntil([&] { return !w.Running(); });
    }
  }

  std::string PutFolder(int slot, const std::string& args, bool withBaseline = true) {
    const std::string dir = folder.path("f" + Dec(slot) + "\\");
    folder.MakeFolder("f" + Dec(slot));
    WriteEntry(app, app.settingsFile, "path", dir, Dec(slot));
    WriteEntry(app, app.settingsFile, "args", args, Dec(slot));
    if (withBaseline) folder.Write("Data\\" + Dec(slot) + ".dat", "//x\r\n[DLL]\r\nNULL*E\r\n");
    return dir;
  }
  std::vector<bool> Marks() const {
    std::vector<bool> shown;
    for (int i = 0; i < 6; ++i) shown.push_back(page->MarkShown(i));
    return shown;
  }

  IntegrityPage* page = nullptr;
};

TEST_F(IntegrityPageTest, FolderListHoldsTheSystemDirectoryThenTheFoldersInSlotOrder) {
  const std::string f1 = PutFolder(1, "0,0,0,0,0,0,0");
  const std::string f3 = PutFolder(3, "1,0,0,0,1,0,1");
  Form1(app).Image5_Click();
  EXPECT_EQ(page->Folders(), (std::vector<std::string>{SystemDirectory(), f1, f3}));
  EXPECT_EQ(page->Chosen(), 0);

  // Slot 3 is the list's third entry; its categories become the marks.
  page->Choose(2);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false, false, true, false}));
  page->bSCAN_Click();
  const CheckRequest& scan = CheckWindow(app).ShownRequest();
  ASSERT_EQ(scan.folders.size(), 1u);
  EXPECT_EQ(scan.folders[0].slot, 3);
  EXPECT_EQ(scan.folders[0].path, f3);
  EXPECT_EQ(scan.folders[0].categories, (CategorySet{true, false, false, false, true, false}));
  EXPECT_EQ(app.folderBaseline.SectionCount(), 1);

  // Each category button toggles its own mark.
  page->ToggleCategory(1);
  page->ToggleCategory(0);
  EXPECT_EQ(Marks(), (std::vector<bool>{false, true, false, false, true, false}));
}

TEST_F(IntegrityPageTest, SelectAllChecksEveryCategoryOfTheSystemDirectoryOnly) {
  PutFolder(1, "1,1,1,1,1,1,1");
  page->bCLEAR_Click();
  page->bFULL_Click();
  EXPECT_EQ(Marks(), std::vector<bool>(6, true));
  page->bSCAN_Click();
  intCheck& w = CheckWindow(app);
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.TimerArmed());
  const CheckRequest& scan = w.ShownRequest();
  ASSERT_EQ(scan.folders.size(), 1u);
  EXPECT_EQ(scan.folders[0].categories, CategorySet({true, true, true, true, true, true}));
  EXPECT_EQ(scan.folders[0].path, "");
  EXPECT_EQ(scan.why, CheckReason::Manual);
  EXPECT_TRUE(scan.noAutoScanFailing);
}

// The six file types are check boxes to a screen reader, checked while
// chosen, whatever chose them; the custom-folders window opens over the
// main window, names its lists, and Escape closes it.
TEST_F(IntegrityPageTest, FileTypesAreCheckBoxesAndTheFoldersWindowOpensOverThePage) {
  const auto checked = [&] {
    std::vector<bool> out;
    for (cButton& b : page->category) {
      const Accessible a = AskAccessible(b.hwnd());
      EXPECT_EQ(a.role, ROLE_SYSTEM_CHECKBUTTON) << b.Caption();
      out.push_back((a.state & STATE_SYSTEM_CHECKED) != 0);
    }
    return out;
  };
  EXPECT_EQ(checked(), std::vector<bool>(6, true));
  page->category[1].Click();
  EXPECT_EQ(checked(), Marks());
  EXPECT_FALSE(checked()[1]);
  page->bCLEAR_Click();
  ASSERT_TRUE(DoDefaultAction(page->category[4].hwnd()));
  ASSERT_TRUE(PumpUntil([&] { return page->MarkShown(4); }, 2000));
  EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, false, true, false}));
  PutFolder(1, "0,1,0,0,0,1,1");
  page->loadf();
  page->Choose(1);
  EXPECT_EQ(checked(), Marks());
  EXPECT_EQ(checked(), (std::vector<bool>{false, true, false, false, false, true}));
  EXPECT_EQ(AskAccessible(page->Combo1).name, "Folder to scan");

  mForm1& main = Form1(app);
  main.Show();
  page->addRem.Click();
  iCust& w = CustomFolders(app);
  ASSERT_TRUE(w.Visible());
  EXPECT_EQ(GetWindow(w.hwnd(), GW_OWNER), main.hwnd());
  EXPECT_EQ(AskAccessible(w.List1).name, "Custom Folder List");
  EXPECT_EQ(AskAccessible(w.List4).name, "Categories checked at secure shut down");
  SetFocus(w.List1);
  PostMessageA(w.List1, WM_KEYDOWN, VK_F1, 1);
  PumpPending();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "integrity.html");
  PostMessageA(w.List1, WM_KEYDOWN, VK_ESCAPE, 1);
  PumpPending();
  EXPECT_FALSE(w.Visible());
}

TEST_F(IntegrityPageTest, NoCategoryChosenStartsNothing) {
  page->bCLEAR_Click();
  host.ExpectBox("Please select the files to scan.");
  page->bSCAN_Click();
  EXPECT_FALSE(HasCheckWindow(app));
}

TEST_F(IntegrityPageTest, DeclinedOrFailedFirstScanReturnsToTheSystemDirectory) {
  const std::string f2 = PutFolder(2, "1,0,0,0,0,0,1", false);
  const std::string f5 = PutFolder(5, "1,0,0,0,0,0,1", false);
  page->Opening();
  page->ToggleCategory(3);
  const auto marks = Marks();
  host.ExpectBox(FirstScanQuestion(f2), MsgAnswer::No);
  host.ExpectBox(kFirstScanDeclined);
  page->Choose(1);
  EXPECT_EQ(page->Chosen(), 0);
  EXPECT_EQ(Marks(), marks);
  EXPECT_FALSE(folder.Exists("Data\\2.dat"));

  // The folder went away after it was listed.
  RemoveDirectoryA(f5.c_str());
  host.ExpectBox(FirstScanQuestion(f5), MsgAnswer::Yes);
  host.ExpectBox(FolderNotListedMessage(f5));
  page->Choose(2);
  EXPECT_EQ(page->Chosen(), 0);
  EXPECT_FALSE(folder.Exists("Data\\5.dat"));
}

TEST_F(IntegrityPageTest, ChosenFolderWithoutBaselineGetsItsFirstScan) {
  const std::string f4 = PutFolder(4, "0,0,0,0,0,1,1", false);
  folder.Write("f4\\s.scr", "saver");
  page->Opening();
  host.ExpectBox(FirstScanQuestion(f4), MsgAnswer::Yes);
  host.ExpectBox("Initial Custom Folder Scan Completed Successfully!");
  page->Choose(1);
  EXPECT_EQ(Marks(), (std::vector<bool>{false, false, false, false, false, true}));
  intCheck& w = CheckWindow(app);
  ASSERT_TRUE(PumpUntil([&] { return host.AllBoxesShown() && !w.TimerArmed() && !w.Running(); }, 20000));
  EXPECT_NE(folder.Read("Data\\4.dat").find("s.scr="), std::string::npos);
  EXPECT_EQ(folder.Read("Data\\4.dat").find("=NULL*E"), std::string::npos);
}

TEST_F(IntegrityPageTest, TheCustomFoldersWindowRefillsTheListWhenSaved) {
  page->addRem_Click();
  iCust& w = CustomFolders(app);
  EXPECT_TRUE(w.Visible());
  folder.MakeFolder("added");
  host.folderAnswer = folder.path("added");
  host.ExpectBox("Folder Added.");
  w.cButton2_Click();
  host.ExpectBox("Save Successful!");
  w.Command3_Click();
  EXPECT_EQ(page->Folders(), (std::vector<std::string>{SystemDirectory(), folder.path("added\\")}));
}

}  // namespace

namespace {

constexpr char kRemoveQuestion[] =
    "Are you sure you want to remove this folder? Doing so will lose all Integrity Checker data "
    "for this folder!";

TEST_F(IntegrityPageTest, AReusedSlotIsNeverCheckedAgainstTheFolderItHeldBefore) {
  const std::string old = PutFolder(1, "1,0,0,0,0,0,1");
  page->Opening();
  page->addRem_Click();
  iCust& w = CustomFolders(app);
  w.Select(0);
  host.ExpectBox(kRemoveQuestion, MsgAnswer::Ok, "Caution!", MsgIcon::None, MsgButtons::OkCancel);
  w.Command2_Click();
  folder.MakeFolder("later");
  host.folderAnswer = folder.path("later");
  host.ExpectBox("Folder Added.");
  w.cButton2_Click();

  // Until the window is saved the page still lists the removed folder: slot 1
  // no longer holds it, so it gets no first scan there.
  ASSERT_EQ(page->Folders(), (std::vector<std::string>{SystemDirectory(), old}));
  page->Choose(1);
  EXPECT_EQ(page->Folders(), (std::vector<std::string>{SystemDirectory()}));
  EXPECT_FALSE(folder.Exists("Data\\1.dat"));

  // Baselines of the slot that outlived the removal go when it takes the new folder.
  for (const char* f : {"Data\\1.dat", "Data\\1.bak", "Data\\1-md5.dat", "Data\\1-sha1.bak"})
    folder.Write(f, "//x\r\n[DLL]\r\nold.dll=1*E\r\nNULL*E\r\n");
  folder.Write("Data\\10.dat", "another slot's");
  host.ExpectBox("Save Successful!");
  w.Command3_Click();
  for (const char* f : {"Data\\1.dat", "Data\\1.bak", "Data\\1-md5.dat", "Data\\1-sha1.bak"})
    EXPECT_FALSE(folder.Exists(f)) << f;
  EXPECT_TRUE(folder.Exists("Data\\10.dat"));

  // So the new folder starts with its own first scan; declined, it is not checked.
  host.ExpectBox(FirstScanQuestion(folder.path("later\\")), MsgAnswer::No);
  host.ExpectBox(kFirstScanDeclined);
  page->Choose(1);
  EXPECT_EQ(page->Chosen(), 0);
}

TEST_F(IntegrityPageTest, ScanFolderNowWithoutTheFoldersBaselineChecksNothing) {
  const std::string f1 = PutFolder(1, "1,0,0,0,0,0,1");
  const std::string f2 = PutFolder(2, "1,0,0,0,0,0,1");
  page->Opening();
  page->Choose(1);
  page->bSCAN_Click();
  intCheck& w = CheckWindow(app);
  ASSERT_TRUE(PumpUntil([&] { return !w.TimerArmed() && !w.Running(); }, 20000));
  ASSERT_EQ(w.ShownRequest().folders[0].path, f1);

  // Folder 2's baseline goes after it was chosen, and its first scan is declined.
  page->Choose(2);
  ASSERT_TRUE(DeleteFileAt(folder.path("Data\\2.dat")));
  host.ExpectBox(FirstScanQuestion(f2), MsgAnswer::No);
  host.ExpectBox(kFirstScanDeclined);
  page->bSCAN_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_FALSE(w.TimerArmed() || w.Running());
  EXPECT_NE(w.ShownRequest().folders[0].path, f2);
  EXPECT_EQ(app.folderBaseline.SectionCount(), 0);
  EXPECT_EQ(page->Chosen(), 0);
}

}  // namespace
