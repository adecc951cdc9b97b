#include <windows.h>

#include <utility>
#include <vector>

#include "context/settings.h"
#include "core/baseline.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "platform/files.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

class SettingsTest : public AppTest {
 protected:
  void SetUp() override {
    MakeDataFolders();
    ASSERT_TRUE(EnsureSettingsFile(app));
  }
};

TEST_F(SettingsTest, EnsureLeavesAnExistingFileAlone) {
  folder.Write("Data\\Korvanel.dat", "[Korvanel]\r\nalgo=md5\r\n");
  EXPECT_TRUE(EnsureSettingsFile(app));
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), "[Korvanel]\r\nalgo=md5\r\n");
}

TEST_F(SettingsTest, ReadSettingOnTheDefaultFile) {
  EXPECT_EQ(ReadSetting(app, "GETSETT2"), "");
  EXPECT_EQ(ReadSetting(app, "algo"), "crc32");
  EXPECT_EQ(ReadSetting(app, "AV2"), "");
  EXPECT_EQ(ReadSetting(app, "AUTO"), "True");
  EXPECT_EQ(ReadSetting(app, "nonsense"), "");
}

TEST_F(SettingsTest, WrittenSettings2LandsAtTheEndOfTheMainSection) {
  ASSERT_TRUE(WriteEntry(app, app.settingsFile, "settings2", "1,1,0,0,1,1", "Korvanel"));
  const std::string text = folder.Read("Data\\Korvanel.dat");
  EXPECT_NE(text.find("lastcheckedupdates=\r\nsettings2=1,1,0,0,1,1\r\n\r\n[1]\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadSetting(app, "GETSETT2"), "1,1,0,0,1,1");
  // Everything else of the file is untouched.
  EXPECT_EQ(text.size(), DefaultSettingsText(true).size() + std::string("settings2=1,1,0,0,1,1\r\n").size());
}

TEST_F(SettingsTest, ReadEntryCutsLongValuesAndKnowsSlots) {
  EXPECT_EQ(ReadEntry(app.settingsFile, "path", "7"), "NULL");
  EXPECT_EQ(ReadEntry(app.settingsFile, "ARGS2", "20"), "0,0,0,0,0,0,0");
  EXPECT_EQ(ReadEntry(app.settingsFile, "path", "21"), "");
  EXPECT_EQ(ReadEntry(app.appDir + "Data\\missing.dat", "path", "1"), "");
  const std::string longPath = "C:\\" + std::string(300, 'x');
  ASSERT_TRUE(WriteEntry(app, app.settingsFile, "path", longPath, "3"));
  EXPECT_EQ(ReadEntry(app.settingsFile, "path", "3"), longPath.substr(0, 249));
}

TEST_F(SettingsTest, LoadSettingsAppliesEveryValue) {
  WriteEntry(app, app.settingsFile, "settings", "1,0,1,0,1,0,1,1", "Korvanel");
  WriteEntry(app, app.settingsFile, "advanced", "262144,99999,1", "Korvanel");
  WriteEntry(app, app.settingsFile, "antivirus", "C:\\av\\scan.exe|  /quiet  ", "Korvanel");
  WriteEntry(app, app.settingsFile, "av2", "|", "Korvanel");
  WriteEntry(app, app.settingsFile, "antivirus2", "0,1,1", "Korvanel");
  WriteEntry(app, app.settingsFile, "autocheckupdates", "False", "Korvanel");
  loadSettings(app);
  EXPECT_EQ(app.boxes.Check2, 1);
  EXPECT_EQ(app.boxes.Check3, 0);
  EXPECT_EQ(app.boxes.Check8, 1);
  EXPECT_TRUE(app.autoScanFailed);
  EXPECT_EQ(app.readBufferSize, 262144);
  EXPECT_EQ(app.filesPerBatch, 99999);
  EXPECT_EQ(app.useScriptingHost, 1);
  EXPECT_EQ(app.scanners.Text5, "C:\\av\\scan.exe");
  EXPECT_EQ(app.scanners.Text6, "/quiet");
  EXPECT_EQ(app.scanners.Text1, "");  // "|" alone is no second scanner
  EXPECT_EQ(app.quoteChar, "");
  EXPECT_TRUE(app.useShortPaths);
  EXPECT_EQ(app.boxes.avfocus, 1);
  EXPECT_FALSE(app.autoCheckUpdates);
}

TEST_F(SettingsTest, BaselineWritesChangeOnlyTheBaselineInMemory) {
  const std::string file = app.appDir + "Data\\Integrity.dat";
  app.systemBaseline = Baseline::FromText("//x\r\n[DLL]\r\nNULL*E\r\n[EXE]\r\nNULL*E\r\n");
  app.folderBaseline = Baseline::FromText("//x\r\n[DLL]\r\nNULL*E\r\n");
  EXPECT_TRUE(WriteEntry(app, file, "a.dll", "1A*E", "DLL"));
  EXPECT_EQ(app.systemBaseline.LookupEntry("a.dll", "DLL"), "1A");
  EXPECT_EQ(app.folderBaseline.LookupEntry("a.dll", "DLL"), "");
  EXPECT_TRUE(WriteEntry(app, app.appDir + "Data\\3.dat", "b.dll", "2B*E", "DLL"));
  EXPECT_EQ(app.folderBaseline.LookupEntry("b.dll", "DLL"), "2B");
  EXPECT_FALSE(folder.Exists("Data\\Integrity.dat"));
  EXPECT_FALSE(folder.Exists("Data\\3.dat"));
}

TEST_F(SettingsTest, RefusedNamesAreAFailedWriteThatLeavesTheFileAlone) {
  const std::string before = folder.Read("Data\\Korvanel.dat");
  const std::string snapshot = app.registryFile;
  for (const auto& [key, section] : std::vector<std::pair<std::string, std::string>>{
           {"a=b", "Korvanel"}, {"key\r\nx", "Korvanel"}, {"key", "Kor\nvanel"}, {" ", "Korvanel"}}) {
    EXPECT_FALSE(WriteEntry(app, app.settingsFile, key, "1", section)) << key << "/" << section;
    // A missing snapshot stays missing: an empty file would pass for one.
    EXPECT_FALSE(WriteEntry(app, snapshot, key, "1", section)) << key << "/" << section;
  }
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), before);
  EXPECT_FALSE(folder.Exists("Data\\Registry.dat"));
}

TEST_F(SettingsTest, TheDefaultFileIsNeverWrittenInPlace) {
  DeleteFileAt(app.settingsFile);
  // The new file cannot be made beside the settings file: no half-written
  // settings file is left for the next start to accept.
  folder.MakeFolder("Data\\Korvanel.dat.new");
  EXPECT_FALSE(EnsureSettingsFile(app));
  EXPECT_FALSE(folder.Exists("Data\\Korvanel.dat"));
  RemoveDirectoryA(folder.path("Data\\Korvanel.dat.new").c_str());
  EXPECT_TRUE(EnsureSettingsFile(app));
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), DefaultSettingsText(true));
}

TEST_F(SettingsTest, LoadSettingsSetsOnlyAsManyBoxesAsThereAreValues) {
  app.boxes.Check15 = app.boxes.Check14 = 1;  // settings2 is absent from the default file
  WriteEntry(app, app.settingsFile, "settings", "1,1", "Korvanel");
  app.boxes.Check4 = 1;
  loadSettings(app);
  EXPECT_EQ(app.boxes.Check15, 1);
  EXPECT_EQ(app.boxes.Check14, 1);
  EXPECT_EQ(app.boxes.Check2, 1);
  EXPECT_EQ(app.boxes.Check3, 1);
  EXPECT_EQ(app.boxes.Check4, 1);  // no third value
}

TEST_F(SettingsTest, LoadSettingsReportsAnyFailureBeforeTheSecondScannerAndStops) {
  const std::string defaults = DefaultSettingsText(true);
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"junk in advanced", ReplaceAll(defaults, "advanced=65536,500,0", "advanced=lots,500,0")},
      {"advanced cut short", ReplaceAll(defaults, "advanced=65536,500,0", "advanced=131072,100")},
      {"junk in a box list", ReplaceAll(defaults, "settings=0,0,0,0,0,0,0,0", "settings=1,x,0")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.Write("Data\\Korvanel.dat", c.file);
    app.algorithmName = "untouched";
    host.ExpectBox(kSettingsUnreadable);
    loadSettings(app);
    EXPECT_TRUE(host.AllBoxesShown());
    EXPECT_EQ(app.algorithmName, "untouched");  // loading ended at the failure
  }
  EXPECT_EQ(app.readBufferSize, 131072);  // what came before a failure stays
  EXPECT_EQ(app.boxes.Check2, 1);
}

TEST_F(SettingsTest, AFileSavedWithLfLineEndsLoadsLikeOneWithCrLf) {
  std::string text = ReplaceAll(DefaultSettingsText(true), "advanced=65536,500,0", "advanced=131072,50,1");
  text = ReplaceAll(ReplaceAll(text, "algo=crc32", "algo=md5"), "\r\n", "\n");
  folder.Write("Data\\Korvanel.dat", text);
  loadSettings(app);  // no box: every value is read
  EXPECT_EQ(app.readBufferSize, 131072);
  EXPECT_EQ(app.filesPerBatch, 50);
  EXPECT_EQ(app.algorithmName, "md5");
  EXPECT_TRUE(app.autoCheckUpdates);
  EXPECT_EQ(ReadSetting(app, "AV2"), "");  // an empty value never runs on into the next line
}

// The file is read once and answered from memory: a read handles no waiting
// message and does not care that another program holds the file; a write
// goes to the file first, and what does not reach it is not read back.
// A file another copy of the program replaced is read again.
TEST_F(SettingsTest, ReadsComeFromMemoryWithoutPumpingAndWritesGoThroughTheFile) {
  ASSERT_EQ(ReadSetting(app, "ALGO"), "crc32");
  PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  HANDLE held = CreateFileA(app.settingsFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadSetting(app, "ALGO"), "crc32");
  EXPECT_EQ(SettingsEntry(app, "algo", "Korvanel"), "crc32");
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE)) << "a read pumped";
  EXPECT_FALSE(WriteEntry(app, app.settingsFile, "algo", "md5", "Korvanel"));
  EXPECT_EQ(ReadSetting(app, "ALGO"), "crc32");
  CloseHandle(held);

  ASSERT_TRUE(WriteEntry(app, app.settingsFile, "algo", "md5", "Korvanel"));
  EXPECT_EQ(ReadSetting(app, "ALGO"), "md5");
  EXPECT_NE(folder.Read("Data\\Korvanel.dat").find("\r\nalgo=md5\r\n"), std::string::npos);

  std::string text = folder.Read("Data\\Korvanel.dat");
  text.replace(text.find("algo=md5"), 8, "algo=sha1");
  folder.Write("Data\\Korvanel.dat", text);
  loadSettings(app);
  EXPECT_EQ(app.algorithmName, "sha1");
  EXPECT_EQ(ReadSetting(app, "ALGO"), "sha1");
}
