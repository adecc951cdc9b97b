// The anti-virus setup window: what Save stores, the file dialog and its
// automatic arguments, and that the window's edit fields and the run's
// scanner configuration stay one and the same.
#include <windows.h>

#include "antivirus/aVirHelp.h"
#include "antivirus/s_avir.h"
#include "app/mForm1.h"
#include "context/settings.h"
#include "controls/control_text.h"
#include "controls/panel.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "settingsui/settings_pages.h"
#include "support/accessible_probe.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr char kNoFirstScanner[] =
    "You didn't choose an anti-virus software exe.  We recommend that you get one to take full "
    "advantage of Korvanel";

class SetupWindowTest : public AppTest {
 protected:
  SetupWindowTest() {
    MakeDataFolders();
    folder.Write("Data\\Korvanel.dat", DefaultSettingsText(true));
  }
  std::string Stored(const std::string& key) {
    // Untrimmed: the stored value's spaces are part of what is tested.
    return TextBetween(folder.Read("Data\\Korvanel.dat"), 1, "\n" + key + "=", "\r\n");
  }
  static std::string Text(HWND edit) { return controls::ControlText(edit); }
};

TEST_F(SetupWindowTest, UnchangedWindowStoresThePlaceholderAndAnEmptySecondSlot) {
  s_avir& w = app.AntivirusSetup();
  EXPECT_EQ(Text(w.Text5), "Anti-Virus Software");
  EXPECT_EQ(Text(w.Text1), "Anti-Virus Software");
  EXPECT_EQ(Text(w.Text6), "");
  EXPECT_EQ(Text(w.Text2), "");
  w.Open();
  host.ExpectBox(kNoFirstScanner);
  host.ExpectBox("Save Success!");
  w.cButton3_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(Stored("antivirus"), "Anti-Virus Software| ");
  EXPECT_EQ(Stored("av2"), "|");
  EXPECT_FALSE(w.Visible());
  // The settings reader takes a lone "|" for no second scanner.
  EXPECT_EQ(ReadSetting(app, "AV2").value_or("?"), "");
}

TEST_F(SetupWindowTest, ChoosingAFileFillsTheSlotWithItsAutomaticArguments) {
  EXPECT_EQ(AutomaticArguments("c:\\norton\\navw32.exe"), "/HEUR:3");
  EXPECT_EQ(AutomaticArguments("C:\\Panda\\Pavcl.com"), "/NSB /NOM /AUT");
  EXPECT_EQ(AutomaticArguments("C:\\PAVCL\\navwnt.exe"), "/HEUR:3");  // the first rule wins
  EXPECT_EQ(AutomaticArguments("C:\\Tools\\scan.exe"), " ");

  s_avir& w = app.AntivirusSetup();
  host.openFileAnswer = "c:\\norton\\navw32.exe";
  host.ExpectBox("Don't forget to Save!");
  w.cChoose_Click();
  EXPECT_EQ(Text(w.Text5), "c:\\norton\\navw32.exe");
  EXPECT_EQ(Text(w.Text6), "/HEUR:3");
  EXPECT_EQ(app.scanners.Text6, "/HEUR:3");
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].title, "Choose Anti-Virus Executable File");
  EXPECT_EQ(host.fileDialogs[0].filter, ExecutableFilter());
  EXPECT_EQ(host.fileDialogs[0].owner, static_cast<void*>(w.hwnd()));

  host.openFileAnswer = "C:\\Panda\\Pavcl.com";
  host.ExpectBox("Don't forget to Save!");
  w.cButton10_Click();
  EXPECT_EQ(app.scanners.Text1, "C:\\Panda\\Pavcl.com");
  EXPECT_EQ(Text(w.Text2), "/NSB /NOM /AUT");

  // A cancelled dialog changes nothing and says nothing.
  host.openFileAnswer = "";
  w.cChoose_Click();
  w.cButton10_Click();
  EXPECT_EQ(app.scanners.Text5, "c:\\norton\\navw32.exe");
  EXPECT_EQ(app.scanners.Text1, "C:\\Panda\\Pavcl.com");
  EXPECT_TRUE(host.AllBoxesShown());

  // A real file's slot is stored with its arguments as they stand.
  folder.Write("scan.exe", "MZ");
  host.openFileAnswer = folder.path("scan.exe");
  host.ExpectBox("Don't forget to Save!");
  w.cChoose_Click();
  host.ExpectBox("Save Success!");
  w.cButton3_Click();
  EXPECT_EQ(Stored("antivirus"), folder.path("scan.exe") + "| ");
}

TEST_F(SetupWindowTest, EditsAreTheScannerConfigurationAndSurviveCancel) {
  s_avir& w = app.AntivirusSetup();
  w.Open();
  SetWindowTextA(w.Text5, "D:\\av\\scan.exe");  // as the user types
  SetWindowTextA(w.Text2, "/all");
  EXPECT_EQ(w.Fields().Text5, "D:\\av\\scan.exe");
  EXPECT_EQ(w.Fields().Text2, "/all");
  w.cButton2_Click();
  EXPECT_FALSE(w.Visible());
  w.Open();
  EXPECT_EQ(Text(w.Text5), "D:\\av\\scan.exe");
  EXPECT_EQ(Text(w.Text2), "/all");
  EXPECT_EQ(Stored("antivirus"), "");  // Cancel wrote nothing

  // Other windows write through the window; it shows their values.
  w.SetSecond("E:\\two.exe", " ");
  EXPECT_EQ(Text(w.Text1), "E:\\two.exe");
  w.SetFirstArguments("/quick");
  EXPECT_EQ(Text(w.Text6), "/quick");

  // The settings load puts the stored values into the open window.
  WriteEntry(app, app.settingsFile, "antivirus", "C:\\stored.exe|  /x ", "Korvanel");
  loadSettings(app);
  EXPECT_EQ(Text(w.Text5), "C:\\stored.exe");
  EXPECT_EQ(Text(w.Text6), "/x");

  // The close box drops the window; the next touch loads it again.
  SendMessageA(w.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(app.HasAntivirusSetup());
  s_avir& again = app.AntivirusSetup();
  EXPECT_EQ(Text(again.Text5), "C:\\stored.exe");
  EXPECT_EQ(Text(again.Text1), "Anti-Virus Software");
}

TEST_F(SetupWindowTest, SaveOntoAReadOnlySettingsFileSaysSoAndKeepsTheEdits) {
  folder.Write("scan.exe", "MZ");
  s_avir& w = app.AntivirusSetup();
  w.Open();
  w.SetFirst(folder.path("scan.exe"), "/x");
  const std::string before = folder.Read("Data\\Korvanel.dat");
  ASSERT_TRUE(SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY));
  host.ExpectBox(kSettingsNotSaved, MsgAnswer::Ok, {}, MsgIcon::Error);
  w.cButton3_Click();
  SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), before);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(Text(w.Text5), folder.path("scan.exe"));
  EXPECT_EQ(Text(w.Text6), "/x");
}

}  // namespace

namespace {

TEST_F(SetupWindowTest, KeyboardReachesEveryFieldAndButtonInOrder) {
  s_avir& w = app.AntivirusSetup();
  w.Open();
  const HWND order[] = {w.Text5,          w.cChoose.hwnd(),   w.chlpFind.hwnd(), w.Text6,
                        w.Text1,          w.cButton10.hwnd(), w.cButton1.hwnd(), w.Text2,
                        w.cButton3.hwnd(), w.cButton2.hwnd(),  w.Text5};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(GetNextDlgTabItem(w.hwnd(), order[i], FALSE), order[i + 1]) << "after stop " << i;
  EXPECT_EQ(ui::TextOf(w.cButton2.hwnd()), "Cancel");  // what a screen reader reads
  SetFocus(w.cButton2.hwnd());
  SendMessageA(w.cButton2.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(w.cButton2.hwnd(), WM_KEYUP, VK_RETURN, 0);
  EXPECT_FALSE(w.Visible());
}

// Opened from the settings page, the setup window belongs to the main window
// and the support list to the setup window: each in front of its opener and
// centred on it, each closed by Escape, each with its help on F1.
TEST_F(SetupWindowTest, OpensOverItsOpenerAndEscapeClosesItAndTheSupportList) {
  mForm1& main = app.Form1();
  main.Show();
  main.Image11_Click();
  main.options()->cSettings_Click();
  main.options()->main->cButton10.Click();
  ASSERT_TRUE(app.HasAntivirusSetup());
  s_avir& w = app.AntivirusSetup();
  ASSERT_TRUE(w.Visible());
  EXPECT_EQ(GetWindow(w.hwnd(), GW_OWNER), main.hwnd());
  RECT m{}, r{};
  GetWindowRect(main.hwnd(), &m);
  GetWindowRect(w.hwnd(), &r);
  EXPECT_NEAR((r.left + r.right) / 2, (m.left + m.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (m.top + m.bottom) / 2, 1);

  host.ExpectBox("Please download the latest anti-virus support list");
  w.chlpFind.Click();
  aVirHelp& list = app.SupportList();
  ASSERT_TRUE(list.Visible());
  EXPECT_EQ(GetWindow(list.hwnd(), GW_OWNER), w.hwnd());
  EXPECT_EQ(host.boxes.back().owner, list.hwnd());
  EXPECT_EQ(AskAccessible(list.List1).name, "Anti-virus products");
  const auto press = [](HWND at, WPARAM key) {
    SetFocus(at);
    PostMessageA(at, WM_KEYDOWN, key, 1);
    PumpPending();
  };
  press(list.List1, VK_F1);
  press(w.Text5, VK_F1);
  ASSERT_EQ(host.shellCalls.size(), 2u);
  EXPECT_EQ(host.shellCalls[0].file, "options.html");
  EXPECT_EQ(host.shellCalls[1].file, "options.html");
  // Closing the setup window leaves the list it opened open.
  press(w.Text5, VK_ESCAPE);
  EXPECT_FALSE(app.HasAntivirusSetup());
  ASSERT_TRUE(list.Visible());
  EXPECT_EQ(GetWindow(list.hwnd(), GW_OWNER), main.hwnd());
  press(list.List1, VK_ESCAPE);
  EXPECT_FALSE(list.Visible());
}

}  // namespace
