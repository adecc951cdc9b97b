// The low-resource edition's plainer main window, chosen by the edition's
// plainControls: four plain buttons, Help/About/Exit always there, no
// header, and a start on the About panel.
#include <windows.h>

#include <gtest/gtest.h>

#include "context/app.h"
#include "app/editions.h"
#include "app/mForm1.h"
#include "app/pages/about_page.h"
#include "customfolders/iCust.h"
#include "integrity/intCheck.h"
#include "support/program_folder.h"
#include "support/pump.h"
#include "support/scripted_host.h"

namespace kv {
namespace {

const Edition& kLow = LowEdition();

std::string Text(HWND w) {
  char buf[256] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

class PlainWindowTest : public ::testing::Test {
 protected:
  PlainWindowTest() : app(host, kLow, folder.dir()) {}
  bool ButtonsShown() {
    mForm1& f = app.Form1();
    for (cButton* b : {&f.cButton6, &f.cButton7, &f.cButton9})
      if (!(GetWindowLongPtrA(b->hwnd(), GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
  }
  test::ProgramFolder folder;
  test::ScriptedHost host;
  App app;
};

TEST_F(PlainWindowTest, StartsOnTheAboutPanelWithItsDesignVersionUntilAboutIsUsed) {
  mForm1& f = app.Form1();
  EXPECT_EQ(f.ShownPage(), &f.Frame2);
  EXPECT_EQ(Text(f.about()->Label33), "Version: 2.0");
  EXPECT_FALSE(f.nav);
  ASSERT_TRUE(f.plainNav);
  EXPECT_EQ(f.plainNav->Image5.Caption(), "Integrity Scan");
  EXPECT_TRUE(f.plainNav->Image5.Plain());
  f.cButton7.Click();
  EXPECT_EQ(Text(f.about()->Label33), "Version: 2.1.1");
}

TEST_F(PlainWindowTest, PagesOpenWithoutHeaderAndTheCommandButtonsStay) {
  folder.MakeFolder("Data");
  folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
  mForm1& f = app.Form1();
  f.plainNav->Image7.Click();
  EXPECT_EQ(f.ShownPage(), &f.regF);
  f.plainNav->Image5.Click();
  EXPECT_EQ(f.ShownPage(), &f.intF);
  EXPECT_EQ(f.Title(), "");
  EXPECT_EQ(f.Description(), "");
  EXPECT_TRUE(ButtonsShown());
  EXPECT_EQ(f.mainF.hwnd(), nullptr);  // no Home page, no hidden panel
  EXPECT_EQ(f.eggF.hwnd(), nullptr);
}

TEST_F(PlainWindowTest, TheArrowKeysWalkTheFourButtons) {
  mForm1& f = app.Form1();
  f.Show();
  SetForegroundWindow(f.hwnd());
  SetFocus(f.plainNav->Image5.hwnd());
  const auto press = [](WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    test::PumpPending();
  };
  press(VK_DOWN);
  EXPECT_EQ(GetFocus(), f.plainNav->Image7.hwnd());
  press(VK_RIGHT);
  EXPECT_EQ(GetFocus(), f.plainNav->Image9.hwnd());
  press(VK_UP);
  press(VK_UP);
  press(VK_LEFT);
  EXPECT_EQ(GetFocus(), f.plainNav->Image11.hwnd()) << "round from the first to the last";
  EXPECT_EQ(f.ShownPage(), &f.Frame2) << "arrows only move";
}

TEST_F(PlainWindowTest, AMissingDatabaseRestartsTheOwnProgramWithoutAFollowUpMessage) {
  host.startSucceeds = false;
  host.ExpectBox(
      "You have not yet completed the full system scan.  This is required before using the "
      "Integrity Checker.  Perform scan now?",
      MsgAnswer::Yes, "Missing File");
  host.ExpectBox("Korvanel needs to be re-started");
  app.Form1().plainNav->Image5.Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine, "\"" + folder.dir() + "KorvanelLow.exe\"");
  EXPECT_TRUE(app.ended);
}

// The check window's buttons in place of pictures, and the custom folders
// window's own save caption.
TEST_F(PlainWindowTest, OtherWindowsCarryTheirPlainCaptions) {
  folder.MakeFolder("Data");
  intCheck& check = CheckWindow(app);
  EXPECT_EQ(check.Image9.Caption(), "Pause");
  EXPECT_EQ(check.Image11.Caption(), "Cancel");
  EXPECT_EQ(app.CustomFolders().Command3.Caption(), "Save and Exit");
}

}  // namespace
}  // namespace kv
