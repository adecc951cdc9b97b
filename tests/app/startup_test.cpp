#include <windows.h>

#include "app/data_root.h"
#include "app/mForm1.h"
#include "context/seals.h"
#include "context/settings.h"
#include "app/startup.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "integrity/intCheck.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

// The switches are trimmed, exact and case-sensitive. Any other text shows
// the main window as a start by hand does, but is no start by hand: its
// checks are the unattended ones.
TEST(StartMode, EachCommandLineStartsOneModeWithItsAnswers) {
  struct Case {
    const char* arguments;
    StartKind kind;
    bool unattended, quiet, interactive;
  } cases[] = {
      {"", StartKind::ByHand, false, false, true},
      {"   ", StartKind::ByHand, false, false, true},
      {"/r", StartKind::Logon, true, false, false},
      {" /r ", StartKind::Logon, true, false, false},
      {"/s", StartKind::SecureShutDown, true, true, false},
      {"/a", StartKind::ScheduledScan, true, true, false},
      {" /R ", StartKind::Unknown, false, false, false},
      {"-r", StartKind::Unknown, false, false, false},
      {"/r /s", StartKind::Unknown, false, false, false},
      {"/s 3", StartKind::Unknown, false, false, false},
      {"/x", StartKind::Unknown, false, false, false},
      {"/n 3 2", StartKind::Unknown, false, false, false},
      {"/n 3 2 0 0 1", StartKind::Notice, false, false, false},
  };
  for (const Case& c : cases) {
    const StartMode mode = ParseStartMode(c.arguments);
    EXPECT_EQ(mode.Kind(), c.kind) << "'" << c.arguments << "'";
    EXPECT_EQ(mode.Unattended(), c.unattended) << "'" << c.arguments << "'";
    EXPECT_EQ(mode.Quiet(), c.quiet) << "'" << c.arguments << "'";
    EXPECT_EQ(mode.InSecureShutDown(), c.quiet) << "'" << c.arguments << "'";
    EXPECT_EQ(mode.Interactive(), c.interactive) << "'" << c.arguments << "'";
    EXPECT_EQ(mode.Scheduled(), c.kind == StartKind::ScheduledScan) << "'" << c.arguments << "'";
  }
  EXPECT_EQ(ParseStartMode("/n 3 2 0 0 1").NoticeCounts().changed, 2);
}

TEST(StartMode, ArgumentTextDropsTheProgramPath) {
  EXPECT_EQ(ArgumentText("\"C:\\Program Files\\K\\Korvanel.exe\" /r"), "/r");
  EXPECT_EQ(ArgumentText("C:\\K\\Korvanel.exe  /s"), "/s");
  EXPECT_EQ(ArgumentText("Korvanel.exe"), "");
  EXPECT_EQ(ArgumentText("\"unterminated"), "");
}

class StartupTest : public AppTest {
 protected:
  void DeclineFirstScanTwice() {
    for (int i = 0; i < 2; ++i) {
      host.ExpectBox(kFirstRunQuestion, MsgAnswer::No, "Korvanel");
      host.ExpectBox(kFirstRunDeclined);
    }
  }
};

TEST_F(StartupTest, FirstStartInEmptyFolderCreatesDataFoldersAndDefaultSettings) {
  DeclineFirstScanTwice();
  EXPECT_TRUE(RunStartup(app));
  EXPECT_TRUE(folder.Exists("Data\\"));
  EXPECT_TRUE(folder.Exists("Data\\Log\\"));
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), DefaultSettingsText(true));
  EXPECT_FALSE(folder.Exists("Data\\Integrity.dat"));
  EXPECT_EQ(folder.Read("Data\\Registry.dat").substr(0, 8), "[LM/R]\r\n");
  EXPECT_EQ(app.readBufferSize, 65536);
  EXPECT_EQ(app.filesPerBatch, 500);
  EXPECT_EQ(app.quoteChar, "\"");
  EXPECT_EQ(app.algorithmName, "crc32");
  EXPECT_TRUE(app.autoCheckUpdates);
  EXPECT_FALSE(host.ended);
}

// A scheduled scan asks nothing (nobody is there): its message goes to the
// log. All three end with a non-zero exit code.
TEST_F(StartupTest, UnattendedModesWithoutBaselineEndWithTheirMessage) {
  struct Case {
    const char* arg;
    const char* message;
  } cases[] = {
      {" /r ", "Cannot start Auto-Load.  Primary Full Scan has not yet been completed.\r\nClosing"},
      {"/s", "Cannot start Secure Shut Down.  Primary Full Scan has not yet been completed.\r\n"
             "Closing."},
      {"/a", nullptr},
  };
  for (const Case& c : cases) {
    ScriptedHost h;
    App a(h, ThisEdition(), folder.dir());
    a.SetStart(ParseStartMode(c.arg));
    if (c.message) {
      for (int i = 0; i < 2; ++i) {
        h.ExpectBox(kFirstRunQuestion, MsgAnswer::No);
        h.ExpectBox(kFirstRunDeclined);
      }
      h.ExpectBox(c.message, MsgAnswer::Ok, "Korvanel");
    }
    EXPECT_FALSE(RunStartup(a)) << c.arg;
    EXPECT_TRUE(h.ended) << c.arg;
    EXPECT_EQ(h.exitCode, kExitCouldNotRun) << c.arg;
  }
  EXPECT_EQ(folder.Logs(), std::vector<std::string>{"Cannot run Scheduled Scan.  Primary Full Scan "
                                                    "has not yet been completed. Closing.,\r\n"});
}

// A per-machine installation keeps its data where the program may write:
// the marker beside the program names the folder (with environment
// variables); without it, or empty, the data stays beside the program.
TEST_F(StartupTest, ADataFolderMarkerMovesTheDataAndTheRunsRecordThere) {
  ProgramFolder data;
  EXPECT_EQ(DataRootFor(folder.dir()), folder.dir());
  folder.Write("DataFolder.txt", "\r\n");
  EXPECT_EQ(DataRootFor(folder.dir()), folder.dir());
  SetEnvironmentVariableA("KV_TEST_DATA", data.dir().substr(0, data.dir().size() - 1).c_str());
  folder.Write("DataFolder.txt", "\xEF\xBB\xBF %KV_TEST_DATA%\\Korvanel\r\nignored\r\n");
  const std::string root = DataRootFor(folder.dir());
  EXPECT_EQ(root, data.path("Korvanel\\"));

  ScriptedHost h;
  App a(h, ThisEdition(), folder.dir(), root);
  a.SetStart(StartMode(StartKind::ScheduledScan));
  EXPECT_FALSE(RunStartup(a));
  EXPECT_EQ(h.exitCode, kExitCouldNotRun);
  EXPECT_TRUE(data.Exists("Korvanel\\Data\\Korvanel.dat"));
  EXPECT_FALSE(folder.Exists("Data"));
  ASSERT_EQ(h.events.size(), 1u);
  EXPECT_EQ(h.events[0].id, 3003u);
  EXPECT_EQ(h.events[0].text, "Korvanel could not run its check (scheduled run).\r\nThe first full scan "
                              "has not been made yet: there is no Integrity.dat to check against.");
  EXPECT_NE(data.Read("Korvanel\\Data\\Log\\findings.jsonl").find("\"exit\":2"), std::string::npos);
}

// Nothing on the way to a scheduled scan waits for an answer: the backup is
// restored unasked, and a settings value that cannot be read is logged
// while every other value still applies.
TEST_F(StartupTest, ScheduledScanRestoresTheBackupAndLogsSettingsProblems) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.bak", "//Do not edit this file\r\n[DLL]\r\nNULL*E\r\n");
  folder.Write("Data\\Korvanel.dat",
               ReplaceAll(DefaultSettingsText(true), "settings=0,0,0,0,0,0,0,0", "settings=1,x"));
  ASSERT_TRUE(WriteEntry(app, app.settingsFile, "advanced", "131072,50,0", "Korvanel"));
  app.SetStart(StartMode(StartKind::ScheduledScan));
  EXPECT_FALSE(RunStartup(app));
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(folder.Read("Data\\Integrity.dat"), folder.Read("Data\\Integrity.bak"));
  EXPECT_TRUE(folder.Exists("Data\\Integrity.bak"));
  EXPECT_EQ(folder.Logs(), std::vector<std::string>{std::string(kSettingsUnreadable) + ",\r\n"});
  EXPECT_EQ(app.readBufferSize, 131072);
  EXPECT_EQ(app.filesPerBatch, 50);
  EXPECT_EQ(app.algorithmName, "crc32");
}

TEST_F(StartupTest, ExistingBaselineSetsTheWelcomeTitle) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.dat", "//Do not edit this file\r\n");
  EXPECT_TRUE(RunStartup(app));
  EXPECT_EQ(Form1(app).Caption(), "Welcome to Korvanel");
}

// Changed behind the program's back: the snapshot and the baseline are each
// asked about before they are used, and the main window, made later, still
// shows what became of them. A logon check reports and does not use them.
TEST_F(StartupTest, ChangedDataFilesAreAskedAboutBeforeTheyAreUsed) {
  MakeDataFolders();
  const std::string baseline = "//Do not edit this file\r\n[DLL]\r\na.dll=1*E\r\nNULL*E\r\n";
  ASSERT_TRUE(app.seals.Replace(app.baselineFile, baseline));
  ASSERT_TRUE(app.seals.Replace(app.registryFile, "[LM/R]\r\n"));
  folder.Write("Data\\Integrity.dat", ReplaceAll(baseline, "a.dll=1", "a.dll=2"));
  folder.Write("Data\\Registry.dat", "[LM/R]\r\nEvil=(C:\\evil.exe)\r\n");
  {
    ScriptedHost h;
    App a(h, ThisEdition(), folder.dir());
    a.SetStart(StartMode(StartKind::Logon));
    h.ExpectBox(SealReport("Registry.dat", false), MsgAnswer::Ok, {}, MsgIcon::Warning);
    EXPECT_FALSE(RunStartup(a));
    EXPECT_EQ(h.exitCode, kExitCouldNotRun);
    EXPECT_FALSE(HasCheckWindow(a)) << "the check must not run";
  }
  host.ExpectBox(SealQuestion("Registry.dat", false), MsgAnswer::Yes, "Data file changed", MsgIcon::Warning);
  host.ExpectBox(SealQuestion("Integrity.dat", false), MsgAnswer::Yes, "Data file changed", MsgIcon::Warning);
  EXPECT_TRUE(RunStartup(app));
  EXPECT_EQ(app.systemBaseline.LookupEntry("a.dll", "DLL"), "2");
  EXPECT_EQ(Form1(app).Status(),
            "Status: Integrity.dat was changed outside Korvanel and is trusted again");
  EXPECT_EQ(app.seals.Check(app.registryFile).verdict, SealVerdict::Matches);
}

TEST_F(StartupTest, UnreadableSettingsAreReportedAndStartupGoesOn) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.dat", "//Do not edit this file\r\n");
  folder.Write("Data\\Korvanel.dat", "[Korvanel]\r\nsettings=1,1\r\n");
  // Another program holds the file open without sharing it.
  HANDLE lock = CreateFileA(folder.path("Data\\Korvanel.dat").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  host.ExpectBox(kSettingsUnreadable);
  EXPECT_TRUE(RunStartup(app));
  CloseHandle(lock);
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), "[Korvanel]\r\nsettings=1,1\r\n");
  EXPECT_EQ(Form1(app).Caption(), "Welcome to Korvanel");
}

TEST_F(StartupTest, DamagedSettingsFilesNeverStopTheStart) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.dat", "//Do not edit this file\r\n");
  const std::string damaged[] = {
      "",
      "[Korvanel]\r\nsettings=1,0,1",  // truncated mid-line
      std::string("\0\xff\x01[\r\n=\r\nadvanced=\xfe\0,,\r\n", 23),
      "[Korvanel]\r\nadvanced=abc,-5,9999999999999\r\nantivirus=|\r\nalgo=\r\n",
  };
  for (const std::string& bytes : damaged) {
    folder.Write("Data\\Korvanel.dat", bytes);
    ScriptedHost h;
    h.ExpectBox(kSettingsUnreadable);  // said once, and the start goes on
    App a(h, ThisEdition(), folder.dir());
    EXPECT_TRUE(RunStartup(a));
    EXPECT_FALSE(h.ended);
  }
}
