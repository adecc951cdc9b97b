// The shortcuts through the real shell link object and scripting host:
// the auto-load shortcut made, refreshed and removed by the settings page
// and the wizard rule, the secure-shut-down shortcut, and the settings
// load's auto-load box following the file.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/mForm1.h"
#include "context/settings.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include "settingsui/settings_pages.h"
#include "settingsui/vDct.h"
#include "shutdown/shortcuts.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

namespace {

struct LinkFacts {
  bool loaded = false;
  std::string path, arguments, description;
  int showCommand = 0;
};

// Reads a shortcut back through the shell's own link object.
LinkFacts ReadLink(const std::string& link) {
  LinkFacts facts;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkA* shell = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH + 1] = L"";
      MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        facts.loaded = true;
        char buf[MAX_PATH + 1] = "";
        if (SUCCEEDED(shell->GetPath(buf, sizeof buf, nullptr, SLGP_RAWPATH))) facts.path = buf;
        buf[0] = 0;
        if (SUCCEEDED(shell->GetArguments(buf, sizeof buf))) facts.arguments = buf;
        buf[0] = 0;
        if (SUCCEEDED(shell->GetDescription(buf, sizeof buf))) facts.description = buf;
        shell->GetShowCmd(&facts.showCommand);
      }
      file->Release();
    }
    shell->Release();
  }
  CoUninitialize();
  return facts;
}

class ShortcutsTest : public AppTest {
 protected:
  ShortcutsTest() {
    MakeDataFolders();
    folder.Write("Data\\Korvanel.dat", DefaultSettingsText(true));
    link = AutoLoadShortcutPath();
    for (const std::string& f : StartupFolderPaths()) CreateFolder(f + "\\");
    for (const std::string& l : AutoLoadShortcutPaths()) DeleteFileAt(l);
  }
  ~ShortcutsTest() override {
    for (const std::string& l : AutoLoadShortcutPaths()) DeleteFileAt(l);
  }
  std::string link;
};

// A Startup folder nobody can write to: a file stands where it should be.
class ClosedFolder {
 public:
  explicit ClosedFolder(std::string path) : path_(std::move(path)) {
    closed = RemoveDirectoryA(path_.c_str()) && WriteWholeFile(path_, "not a folder");
  }
  ~ClosedFolder() {
    DeleteFileAt(path_);
    CreateFolder(path_ + "\\");
  }
  bool closed = false;

 private:
  std::string path_;
};

TEST_F(ShortcutsTest, SettingsPageSaveMakesRefreshesAndRemovesTheAutoLoadShortcut) {
  const std::string startup = StartupFolderPath();
  ASSERT_FALSE(startup.empty());
  EXPECT_NE(startup.back(), ' ');
  EXPECT_EQ(link, startup + (startup.back() == '\\' ? "" : "\\") + "Korvanel.lnk");

  ApplyAutoLoadFromSettingsPage(app, true);
  ASSERT_TRUE(FileExists(link));
  LinkFacts facts = ReadLink(link);
  ASSERT_TRUE(facts.loaded);
  EXPECT_EQ(facts.arguments, " /r");
  EXPECT_EQ(facts.description, "Access Shortcut");
  // Show command 5 is stored; the link format knows only normal, maximised
  // and minimised, and reads any other value back as normal.
  EXPECT_EQ(facts.showCommand, SW_SHOWNORMAL);
  EXPECT_EQ(facts.path, ProgramFile(app));
  EXPECT_EQ(ProgramFile(app), folder.path("test_settingsui.exe"));
  loadSettings(app);
  EXPECT_EQ(app.boxes.Check1, 1);

  // Refreshed: a broken file is replaced by a working shortcut.
  ASSERT_TRUE(WriteWholeFile(link, "stale"));
  ApplyAutoLoadFromSettingsPage(app, true);
  EXPECT_TRUE(ReadLink(link).loaded);

  ApplyAutoLoadFromSettingsPage(app, false);
  EXPECT_FALSE(FileExists(link));
  loadSettings(app);
  EXPECT_EQ(app.boxes.Check1, 0);

  // Through the page: the box shows the file and its Save follows the box.
  mForm1& f = Form1(app);
  f.Image11_Click();
  f.options()->cSettings_Click();
  MainSettingsPage& m = *f.options()->main;
  EXPECT_EQ(m.Check1.Value(), 0);
  m.Check1.Value(1);
  host.ExpectBox("Settings Saved Successfully");
  m.cSave_Click();
  EXPECT_TRUE(FileExists(link));
  f.options()->cSettings_Click();
  EXPECT_EQ(m.Check1.Value(), 1);
}

TEST_F(ShortcutsTest, AutoLoadTakesTheUsersStartupFolderWhenTheCommonOneIsClosed) {
  const std::vector<std::string> links = AutoLoadShortcutPaths();
  ASSERT_EQ(links.size(), 2u);
  const std::string own = links[1];
  ASSERT_EQ(links[0], link);
  // Switched off, both go, whichever rule removes them.
  for (auto off : {ApplyAutoLoadFromSettingsPage, ApplyAutoLoadFromWizard}) {
    ASSERT_TRUE(WriteWholeFile(link, "a"));
    ASSERT_TRUE(WriteWholeFile(own, "b"));
    EXPECT_EQ(off(app, false), "");
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FileExists(own));
  }

  folder.Write("scanner.exe", "MZ");
  ASSERT_TRUE(WriteEntry(app, app.settingsFile, "antivirus", folder.path("scanner.exe") + "| ", "Korvanel"));
  mForm1& f = Form1(app);
  f.Image11_Click();
  f.options()->cSettings_Click();
  MainSettingsPage& m = *f.options()->main;
  ClosedFolder common(StartupFolderPath());
  ASSERT_TRUE(common.closed);
  m.Check1.Value(1);
  host.ExpectBox("Settings Saved Successfully");
  m.cSave_Click();
  EXPECT_EQ(ReadLink(own).arguments, " /r");
  f.options()->cSettings_Click();
  EXPECT_EQ(m.Check1.Value(), 1);
  vDct& w = Wizard(app);
  w.LoadUp();
  EXPECT_EQ(w.aload.Value(), 1);
  app.useScriptingHost = 1;
  EXPECT_EQ(ApplyAutoLoadFromWizard(app, true), "");
  EXPECT_EQ(ReadLink(own).arguments, "/r");
  app.useScriptingHost = 0;
  EXPECT_TRUE(host.AllBoxesShown());

  // Neither folder takes it: said so, never "saved successfully"; the
  // settings themselves are written and the wizard stays open.
  DeleteFileAt(own);
  ClosedFolder user(StartupFolderPaths()[1]);
  ASSERT_TRUE(user.closed);
  const std::string notCreated = "Could not create the shortcut " + own + ".";
  for (int method : {0, 1}) {
    app.useScriptingHost = method;
    m.Check7.Value(method);
    host.ExpectBox(notCreated, MsgAnswer::Ok, {}, MsgIcon::Error);
    m.cSave_Click();
    EXPECT_EQ(Right(ReadSetting(app, "GETSETT").value_or(""), 1), method ? "1" : "0");
    host.ExpectBox(notCreated, MsgAnswer::Ok, {}, MsgIcon::Error);
    w.aload.Value(1);
    w.Command2_Click();
    EXPECT_TRUE(w.Visible());
    EXPECT_TRUE(host.AllBoxesShown());
  }
}

TEST_F(ShortcutsTest, WizardRuleKeepsAnExistingShellLinkAndRemovesWhenOff) {
  ASSERT_TRUE(WriteWholeFile(link, "kept"));
  ApplyAutoLoadFromWizard(app, true);
  EXPECT_EQ(ReadWholeFile(link).value_or(""), "kept");
  ApplyAutoLoadFromWizard(app, false);
  EXPECT_FALSE(FileExists(link));
  ApplyAutoLoadFromWizard(app, true);
  EXPECT_EQ(ReadLink(link).arguments, " /r");
}

TEST_F(ShortcutsTest, ScriptingHostWritesItsOwnShortcuts) {
  app.useScriptingHost = 1;
  ApplyAutoLoadFromWizard(app, true);
  ASSERT_TRUE(FileExists(link));
  LinkFacts facts = ReadLink(link);
  ASSERT_TRUE(facts.loaded);
  EXPECT_EQ(facts.arguments, "/r");
  EXPECT_EQ(facts.description, "Korvanel");
  EXPECT_EQ(facts.path, ProgramFile(app));
  // The scripting host overwrites what is there.
  ASSERT_TRUE(WriteWholeFile(link, "old"));
  ApplyAutoLoadFromWizard(app, true);
  EXPECT_TRUE(ReadLink(link).loaded);

  // A name without a shortcut ending gets ".lnk".
  EXPECT_TRUE(CreateScriptedShortcut(folder.path("Plain"), "d", ProgramFile(app), "/x", 0));
  EXPECT_TRUE(folder.Exists("Plain.lnk"));
  EXPECT_FALSE(CreateShellLink("", ProgramFile(app), "", "", "", 0, 5));
  EXPECT_FALSE(CreateShellLink(folder.path("a.lnk"), "", "", "", "", 0, 5));
}

TEST_F(ShortcutsTest, SecureShutDownShortcutIsMadeOnceAndAFailureIsReported) {
  const std::string question =
      "Korvanel will now create a shortcut for you to use the Secure ShutDown and Scan "
      "Feature.\r\n\r\nWould you like this shortcut on your Desktop?";
  const std::string here = "Korvanel will now create a SecureShutDown shortcut in your Korvanel directory.";
  host.ExpectBox(question, MsgAnswer::No);
  host.ExpectBox(here);
  host.ExpectBox("Success!");
  CreateSecureShutDownShortcut(app);
  const LinkFacts facts = ReadLink(folder.path("SecureShutDown.lnk"));
  ASSERT_TRUE(facts.loaded);
  EXPECT_EQ(facts.arguments, " /s");
  EXPECT_EQ(facts.description, "Access Shortcut");
  // Asked again: nothing is written, and it is there.
  ASSERT_TRUE(WriteWholeFile(folder.path("SecureShutDown.lnk"), "mine"));
  host.ExpectBox(question, MsgAnswer::No);
  host.ExpectBox(here);
  host.ExpectBox("Success!");
  CreateSecureShutDownShortcut(app);
  EXPECT_EQ(folder.Read("SecureShutDown.lnk"), "mine");
  EXPECT_TRUE(host.AllBoxesShown());

  // A folder of that name stands where the shortcut would go.
  DeleteFileAt(folder.path("SecureShutDown.lnk"));
  folder.MakeFolder("SecureShutDown.lnk");
  host.ExpectBox(question, MsgAnswer::No);
  host.ExpectBox(here);
  host.ExpectBox("Could not create the shortcut " + folder.path("SecureShutDown.lnk") + ".",
                 MsgAnswer::Ok, {}, MsgIcon::Error);
  CreateSecureShutDownShortcut(app);
  EXPECT_TRUE(host.AllBoxesShown());
}

}  // namespace
