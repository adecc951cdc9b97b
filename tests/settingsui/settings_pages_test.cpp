// The settings pages of the main window: what each entry shows from the
// settings file, what each Save stores, the warning label, the automatic
// update box, the lit check captions, the read-buffer comparison, and the
// low edition's Options page.
#include <windows.h>

#include "app/editions.h"
#include "antivirus/s_avir.h"
#include "app/mForm1.h"
#include "context/settings.h"
#include "controls/control_text.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "logs/LogList.h"
#include "settingsui/settings_pages.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

class SettingsPagesTest : public AppTest {
 protected:
  SettingsPagesTest() {
    MakeDataFolders();
    folder.Write("Data\\Korvanel.dat", DefaultSettingsText(true));
  }
  void Set(const std::string& key, const std::string& value) {
    ASSERT_TRUE(WriteEntry(app, app.settingsFile, key, value, "Korvanel"));
  }
  std::string Stored(const std::string& key) {
    return TextBetween(folder.Read("Data\\Korvanel.dat"), 1, "\n" + key + "=", "\r\n");
  }
  OptionsPage& Options() {
    mForm1& f = Form1(app);
    f.Image11_Click();
    EXPECT_NE(f.options(), nullptr);
    return *f.options();
  }
  AdvancedSettingsPage& Advanced() {
    OptionsPage& o = Options();
    o.cButton2_Click();
    return *o.advanced;
  }
  MainSettingsPage& Main() {
    OptionsPage& o = Options();
    o.cSettings_Click();
    return *o.main;
  }
  static bool On(HWND option) { return AdvancedSettingsPage::Checked(option); }
  // A click on a standard check box, as the user gives it.
  static void Click(HWND box) { SendMessageA(box, BM_CLICK, 0, 0); }
};

TEST_F(SettingsPagesTest, OpenersShowTheirPagesWithTheStoredValues) {
  Set("settings", "1,0,1,0,1,0,1,0");
  Set("settings2", "0,1,0,1,0,1");
  Set("autocheckupdates", "False");
  OptionsPage& o = Options();
  mForm1& f = Form1(app);
  EXPECT_EQ(f.Title(), "Options");
  EXPECT_EQ(f.ShownPage(), &f.setFq);
  EXPECT_EQ(o.chkAutoCheckUpdates.Value(), 0);
  f.logList()->cViewReport.Enabled(true);  // as after choosing a log
  f.Image11_Click();
  EXPECT_FALSE(f.logList()->cViewReport.Enabled());
  EXPECT_EQ(o.cDetect.Caption(), "Integrate Anti-Virus app with Korvanel");

  o.cSettings_Click();
  MainSettingsPage& m = *o.main;
  EXPECT_TRUE(f.settF.Visible() && f.qSett.Visible());
  EXPECT_FALSE(f.setFq.Visible() || f.advF.Visible());
  EXPECT_EQ(m.Label21, f.qSett.HeadingLabel());
  EXPECT_EQ(ui::TextOf(m.Label21), "Main Korvanel Settings:");
  const int general[] = {m.Check2.Value(), m.Check3.Value(), m.Check4.Value(), m.Check5.Value(),
                         m.Check6.Value(), m.Check9.Value(), m.Check8.Value(), m.Check7.Value()};
  EXPECT_EQ(std::vector<int>(std::begin(general), std::end(general)),
            (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(m.Check14.Value() + m.Check12.Value() + m.Check17.Value(), 3);
  EXPECT_EQ(m.Check15.Value() + m.Check13.Value() + m.Check16.Value(), 0);

  // Unsaved changes go at the next entry; Cancel writes nothing.
  m.Check2.Value(0);
  m.cCancelSett_Click();
  EXPECT_TRUE(f.setFq.Visible());
  EXPECT_FALSE(f.settF.Visible());
  EXPECT_EQ(Stored("settings"), "1,0,1,0,1,0,1,0");
  o.cSettings_Click();
  EXPECT_EQ(m.Check2.Value(), 1);

  o.cButton2_Click();
  EXPECT_TRUE(f.settF.Visible() && f.advF.Visible());
  EXPECT_FALSE(f.qSett.Visible() || f.setFq.Visible());
  // The advanced page's Help is the main window's.
  o.advanced->chlp_Click();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "index.html");
}

TEST_F(SettingsPagesTest, MainSaveStoresTheBoxesInOrder) {
  MainSettingsPage& m = Main();
  for (check* c : {&m.Check2, &m.Check3, &m.Check4, &m.Check5, &m.Check6, &m.Check9}) c->Value(1);
  m.Check7.Value(0);
  m.Check8.Value(0);
  m.Check15.Value(1);
  m.Check17.Value(1);
  m.Check1.Value(0);
  host.ExpectBox("Settings Saved Successfully");
  m.cSave_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(Stored("settings"), "1,1,1,1,1,1,0,0");
  EXPECT_EQ(Stored("settings2"), "1,0,0,0,0,1");
  EXPECT_FALSE(app.autoScanFailed);
  m.Check8.Value(1);
  host.ExpectBox("Settings Saved Successfully");
  m.cSave_Click();
  EXPECT_TRUE(app.autoScanFailed);
  EXPECT_EQ(Stored("settings"), "1,1,1,1,1,1,1,0");
}

TEST_F(SettingsPagesTest, SavesOntoAReadOnlyFileSayTheyFailedAndKeepTheEdits) {
  MainSettingsPage& m = Main();
  m.Check4.Value(1);
  m.Check1.Value(0);
  ASSERT_TRUE(SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY));
  host.ExpectBox(kSettingsNotSaved, MsgAnswer::Ok, {}, MsgIcon::Error);
  m.cSave_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(m.Check4.Value(), 1);
  EXPECT_TRUE(Form1(app).qSett.Visible());

  SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  AdvancedSettingsPage& a = Advanced();
  Click(a.Option[13]);
  ASSERT_TRUE(SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_READONLY));
  host.ExpectBox(kSettingsNotSaved, MsgAnswer::Ok, {}, MsgIcon::Error);
  a.cSave2_Click();
  SetFileAttributesA(app.settingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_TRUE(On(a.Option[13]));
  EXPECT_EQ(Stored("algo"), "crc32");
  EXPECT_EQ(Stored("settings"), "0,0,0,0,0,0,0,0");
}

TEST_F(SettingsPagesTest, AdvancedPageSelectsStoredValuesAndStoresTheChoices) {
  Set("advanced", "65536,500,0");
  AdvancedSettingsPage& a = Advanced();
  EXPECT_TRUE(On(a.Option[1]));
  EXPECT_TRUE(On(a.Option[10]));
  EXPECT_TRUE(On(a.Option[11]));  // crc32
  int selected = 0;
  for (size_t i = 1; i <= 14; ++i) selected += On(a.Option[i]);
  EXPECT_EQ(selected, 3);

  // Values that match no option select none, and are saved back as they were.
  Set("advanced", "65600,75,1");  // a few bytes over 64 Kb is still no option
  Set("algo", "whatever");
  a.cButton1_Click();
  Options().cButton2_Click();
  for (size_t i = 1; i <= 15; ++i) EXPECT_FALSE(On(a.Option[i])) << "Option" << i;
  EXPECT_EQ(a.wsh.Value(), 1);
  Set("algo", "crc32");
  Options().cButton2_Click();
  host.ExpectBox("Save Success!");
  a.cSave2_Click();
  EXPECT_EQ(Stored("advanced"), "65600,75,1");

  // "Pass All Files" and SHA-1: the algorithm switches the baseline file and
  // leaves the old one on disk.
  folder.Write("Data\\Integrity.dat", "[DLL]\r\n");
  Click(a.Option[5]);
  Click(a.Option[13]);
  Click(a.Option[4]);
  a.wsh.Value(0);
  host.ExpectBox("Save Success!");
  a.cSave2_Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(Stored("advanced"), "524288,99999,0");
  EXPECT_EQ(Stored("algo"), "SHA1");
  EXPECT_EQ(app.algorithmName, "SHA1");
  EXPECT_EQ(app.filesPerBatch, 99999);
  EXPECT_EQ(app.baselineFile, folder.path("Data\\Integrity-sha1.dat"));
  EXPECT_TRUE(folder.Exists("Data\\Integrity.dat"));
  Options().cButton2_Click();
  EXPECT_TRUE(On(a.Option[13]) && On(a.Option[5]) && On(a.Option[4]));

  // SHA-256 follows SHA-1 among the choices and has baselines of its own.
  EXPECT_EQ(GetNextDlgGroupItem(GetParent(a.Option[13]), a.Option[13], FALSE), a.Option[15]);
  EXPECT_EQ(GetNextDlgGroupItem(GetParent(a.Option[15]), a.Option[15], FALSE), a.Option[14]);
  Click(a.Option[15]);
  host.ExpectBox("Save Success!");
  a.cSave2_Click();
  EXPECT_EQ(Stored("algo"), "SHA256");
  EXPECT_EQ(app.baselineFile, folder.path("Data\\Integrity-sha256.dat"));
  Options().cButton2_Click();
  EXPECT_TRUE(On(a.Option[15]) && !On(a.Option[13]));
}

TEST_F(SettingsPagesTest, WarningShowsExactlyWhenQuotesAndShortPathsAreBothOff) {
  Set("antivirus2", "0,0,1");
  AdvancedSettingsPage& a = Advanced();
  EXPECT_TRUE(a.WarningVisible());
  EXPECT_EQ(ui::TextOf(a.Label1), "Warning! Current options may cause errors!");
  Click(a.Check10);
  EXPECT_FALSE(a.WarningVisible());
  Click(a.Check11);
  Click(a.Check10);
  EXPECT_FALSE(a.WarningVisible());
  Click(a.Check11);
  EXPECT_TRUE(a.WarningVisible());
  // The focus option is in force at once; the others after the next load.
  EXPECT_EQ(app.boxes.avfocus, 1);
  Click(a.avfocus);
  EXPECT_EQ(app.boxes.avfocus, 0);
  host.ExpectBox("Save Success!");
  a.cSave2_Click();
  EXPECT_EQ(Stored("antivirus2"), "0,0,0");
  Set("antivirus2", "0,1,0");
  Options().cButton2_Click();
  EXPECT_FALSE(a.WarningVisible());
}

TEST_F(SettingsPagesTest, UpdateBoxIsWrittenWhenItLosesTheFocusAfterAClick) {
  OptionsPage& o = Options();
  EXPECT_EQ(o.chkAutoCheckUpdates.Value(), 1);
  SetFocus(o.chkAutoCheckUpdates.hwnd());
  SetFocus(o.cAbout.hwnd());  // no click: nothing written
  EXPECT_EQ(Stored("autocheckupdates"), "True");
  SetFocus(o.chkAutoCheckUpdates.hwnd());
  SendMessageA(o.chkAutoCheckUpdates.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(o.chkAutoCheckUpdates.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(o.chkAutoCheckUpdates.Value(), 0);
  EXPECT_EQ(Stored("autocheckupdates"), "True");
  SetFocus(o.cSettings.hwnd());
  EXPECT_EQ(Stored("autocheckupdates"), "False");
  EXPECT_TRUE(app.autoCheckUpdates);  // until the next settings load
}

TEST_F(SettingsPagesTest, LightingACheckCaptionClearsTheOthersOnEveryPage) {
  MainSettingsPage& m = Main();
  AdvancedSettingsPage& a = *Form1(app).options()->advanced;
  auto light = [](check& c) {
    const RECT r = c.CaptionRect();
    SendMessageA(c.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2));
  };
  light(a.wsh);
  EXPECT_TRUE(a.wsh.IsLit());
  light(m.Check2);
  EXPECT_TRUE(m.Check2.IsLit());
  EXPECT_FALSE(a.wsh.IsLit());
  light(m.Check9);
  EXPECT_TRUE(m.Check9.IsLit());
  EXPECT_FALSE(m.Check2.IsLit());
}

TEST_F(SettingsPagesTest, BufferComparisonListsEachPassAndRestoresTheBufferSize) {
  EXPECT_EQ(FormatSeconds(0.25f).size(), 4u);
  EXPECT_EQ(FormatSeconds(999.0f), "999");
  EXPECT_EQ(QuickestLine(999.0f, 0), "Quickest Calculation at: 999 seconds. Using Buffer of: 0 Kb");
  EXPECT_EQ(BufferTestLine(2, 128, 737, 10, 0.0f),
            "Test 2 Buffer (128 Kb) 737 byte file (calculated 10x): 0 seconds");

  folder.Write("Korvanel.exe", std::string(5000, 'k'));
  AdvancedSettingsPage& a = Advanced();
  EXPECT_EQ(a.cSpeeds.Caption(), "Compare Buffers");
  app.readBufferSize = 131072;
  a.cSpeeds_Click();
  EXPECT_EQ(app.readBufferSize, 131072);
  EXPECT_EQ(a.cSpeeds.Caption(), "Compare Speeds");
  EXPECT_TRUE(a.cSpeeds.Enabled());
  EXPECT_TRUE(IsWindowEnabled(a.List1));
  const auto lines = controls::ListLines(a.List1);
  ASSERT_EQ(lines.size(), 17u);
  const char* kb[] = {"64", "128", "256", "512"};
  const int times[] = {5, 10, 100};
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < 4; ++i) {
      const std::string& line = lines[size_t(pass * 6 + i)];
      EXPECT_EQ(line.rfind("Test " + std::to_string(pass + 1) + " Buffer (" + kb[i] +
                               " Kb) 5000 byte file (calculated " + std::to_string(times[pass]) + "x): ",
                           0),
                0u)
          << line;
      EXPECT_EQ(Right(line, 8), " seconds");
    }
    EXPECT_EQ(lines[size_t(pass * 6 + 4)].rfind("Quickest Calculation at: ", 0), 0u);
    if (pass < 2) { EXPECT_EQ(lines[size_t(pass * 6 + 5)], ""); }
  }
  EXPECT_FALSE(On(a.Option[2]));  // the page's choice is untouched
}

TEST_F(SettingsPagesTest, TabOrderFollowsTheRowsOfEachPage) {
  OptionsPage& o = Options();
  HWND root = Form1(app).hwnd();
  const HWND options[] = {o.cSetW.hwnd(), o.cSettings.hwnd(), o.cButton2.hwnd(), o.cCreateSS.hwnd(),
                          o.cDetect.hwnd(), o.cUpdates.hwnd(), o.cAbout.hwnd(),
                          o.chkAutoCheckUpdates.hwnd(), Form1(app).logList()->TreeView2};
  for (size_t i = 0; i + 1 < std::size(options); ++i)
    EXPECT_EQ(GetNextDlgTabItem(root, options[i], FALSE), options[i + 1]) << "after stop " << i;
  MainSettingsPage& m = Main();
  EXPECT_EQ(GetNextDlgTabItem(root, m.Check8.hwnd(), FALSE), m.Check2.hwnd());
  EXPECT_EQ(GetNextDlgTabItem(root, m.Check17.hwnd(), FALSE), m.cButton10.hwnd());
  AdvancedSettingsPage& a = Advanced();
  // One stop per group of choices: the chosen one.
  EXPECT_EQ(GetNextDlgTabItem(root, a.Option[11], FALSE), a.Option[1]);
  EXPECT_EQ(GetNextDlgTabItem(root, a.Option[1], FALSE), a.Option[10]);
  EXPECT_EQ(GetNextDlgTabItem(root, a.Option[10], FALSE), a.Check10);
}

TEST(LowEditionSettingsPages, OptionsPageHasNoSupportListNorUpdateBox) {
  ProgramFolder folder;
  ScriptedHost host;
  folder.MakeFolder("Data");
  folder.Write("Data\\Korvanel.dat", DefaultSettingsText(false));
  App app(host, LowEdition(), folder.dir());
  mForm1& f = Form1(app);
  f.Image11_Click();
  ASSERT_NE(f.options(), nullptr);
  EXPECT_EQ(f.options()->cDetect.hwnd(), nullptr);
  EXPECT_EQ(f.options()->chkAutoCheckUpdates.hwnd(), nullptr);
  f.options()->cButton2_Click();
  AdvancedSettingsPage& a = *f.options()->advanced;
  EXPECT_EQ(a.cSpeeds.Caption(), "Compare Speeds");
  // The comparison times this program's own file, not the main program's.
  folder.Write("Korvanel.exe", std::string(5000, 'k'));
  folder.Write("KorvanelLow.exe", std::string(700, 'l'));
  a.cSpeeds_Click();
  const auto lines = controls::ListLines(a.List1);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find(" 700 byte file "), std::string::npos) << lines[0];
  EXPECT_EQ(ui::TextOf(AntivirusSetup(app).hwnd()), "Anti-Virus/Trojan Selection Screen");
  EXPECT_EQ(AntivirusSetup(app).chlpFind.Caption(), "Help me find the correct exe file...");
  EXPECT_EQ(AntivirusSetup(app).cButton1.Caption(), "Help me find the correct exe file...");
}

}  // namespace
