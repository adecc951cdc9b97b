// The secure shut down from the user's choice to the action, through the
// whole chain of checks, with the power requests caught by the test host.
#include <windows.h>
#include <oleacc.h>

#include "core/findings_notice.h"
#include "integrity/intCheck.h"
#include "logs/event_report.h"
#include "logs/run_end.h"
#include "platform/instance.h"
#include "regwatch/actions.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"
#include "shutdown/shutdown_fixture.h"
#include "shutdown/unattended.h"
#include "support/accessible_probe.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr SystemVersion kNewer{2, 5}, kOlder{1, 4};

class SecureShutDownTest : public ShutDownTest {
 protected:
  SecureShutDownTest() {
    app.SetStart(StartMode(StartKind::SecureShutDown));
    LogoffWindow(app).systemVersion = kNewer;
  }
  frmLogoff& Window() { return LogoffWindow(app); }
  // Runs the chain from a choice until it settles: the action, the
  // countdown, or the end of the program.
  void RunChain() {
    ASSERT_TRUE(PumpUntil(
        [&] { return host.ended || !host.powerCalls.empty() || Window().CountdownRunning(); },
        20000));
  }
  // A custom folder checked at secure shut down, holding one new library.
  void FailingFile(bool baselineOnlyAsBackup = false) {
    folder.MakeFolder("watched");
    folder.Write("watched\\a.dll", "changed");
    folder.Write(baselineOnlyAsBackup ? "Data\\1.bak" : "Data\\1.dat", "//x\r\n[DLL]\r\nNULL*E\r\n");
    WriteEntry(app, app.settingsFile, "path", folder.path("watched\\"), "1");
    WriteEntry(app, app.settingsFile, "args2", "1,0,0,0,0,0,1", "1");
  }
  void UseExistingScanner() {
    folder.Write("scanner.exe", "stands in for a scanner");
    WriteEntry(app, app.settingsFile, "antivirus", folder.path("scanner.exe") + "|/scan", "Korvanel");
  }
};

TEST_F(SecureShutDownTest, NothingFoundCarriesTheChosenActionOutAtOnce) {
  Window().Image4_Click();  // Turn Off
  RunChain();
  ASSERT_EQ(host.powerCalls.size(), 1u);
  EXPECT_EQ(host.powerCalls[0].kind, PowerRequest::Kind::ExitWindows);
  EXPECT_EQ(host.powerCalls[0].exitFlags, 25u);
  EXPECT_EQ(Window().ChosenAction(), kTurnOff);
  EXPECT_EQ(CheckWindow(app).ShownRequest().why, CheckReason::SecureShutDown);
  EXPECT_EQ(ShutDownProgress(app).Status(), "Status: All scans completed.  No suspicious files found!");
  EXPECT_TRUE(ShutDownProgress(app).Visible());
  EXPECT_FALSE(Window().Visible());
  EXPECT_FALSE(ShutDownProgress(app).ShutDownNowShown());
  EXPECT_FALSE(host.ended);
  // A second choice while the sequence runs is not a second sequence.
  Window().Image6_Click();
  EXPECT_FALSE(CheckWindow(app).TimerArmed());
  PumpPending();
  EXPECT_EQ(host.powerCalls.size(), 1u);
  EXPECT_EQ(Window().ChosenAction(), kTurnOff);
}

TEST_F(SecureShutDownTest, OlderSystemsGetTheForcedFlags) {
  Window().systemVersion = kOlder;
  Window().Image6_Click();  // Restart
  RunChain();
  ASSERT_EQ(host.powerCalls.size(), 1u);
  EXPECT_EQ(host.powerCalls[0].exitFlags, 7u);
}

TEST_F(SecureShutDownTest, ShiftTurnsStandbyIntoHibernate) {
  frmLogoff& w = Window();
  EXPECT_EQ(w.Label4Text(), "Standby");
  w.Form_KeyDown(VK_SHIFT);
  EXPECT_EQ(w.Label4Text(), "Hibernate");
  w.Form_KeyUp('A');  // any key released
  EXPECT_EQ(w.Label4Text(), "Standby");
  w.Form_KeyDown('A');
  EXPECT_EQ(w.Label4Text(), "Standby");
  w.Form_KeyDown(VK_SHIFT);
  w.Image2_Click();
  RunChain();
  EXPECT_EQ(Window().ChosenAction(), kHibernate);
  ASSERT_EQ(host.powerCalls.size(), 1u);
  EXPECT_EQ(host.powerCalls[0].kind, PowerRequest::Kind::PowerState);
  EXPECT_FALSE(host.powerCalls[0].suspend);
  EXPECT_TRUE(host.powerCalls[0].force);
}

TEST_F(SecureShutDownTest, TheChoicesAreButtonsToScreenReadersAndTheArrowsWalkThem) {
  frmLogoff& w = Window();
  w.Open();
  SetForegroundWindow(w.hwnd());
  const std::pair<Picture*, const char*> choices[] = {{&w.Image1, "Standby"}, {&w.Image3, "Turn Off"},
                                                      {&w.Image5, "Restart"}, {&w.Label2, "Log Off..."},
                                                      {&w.Label1, "Cancel"}};
  for (auto [p, name] : choices) {
    const Accessible a = AskAccessible(p->hwnd());
    EXPECT_EQ(a.name, name);
    EXPECT_EQ(a.role, ROLE_SYSTEM_PUSHBUTTON) << name;
    EXPECT_EQ(a.action, "Press") << name;
  }
  w.Form_KeyDown(VK_SHIFT);
  EXPECT_EQ(AskAccessible(w.Image1.hwnd()).name, "Hibernate");
  w.Form_KeyUp(VK_SHIFT);

  SetFocus(w.Image1.hwnd());
  const auto press = [](WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PumpPending();
  };
  press(VK_RIGHT);
  EXPECT_EQ(GetFocus(), w.Image3.hwnd());
  press(VK_DOWN);
  EXPECT_EQ(GetFocus(), w.Image5.hwnd());
  press(VK_LEFT);
  press(VK_LEFT);
  press(VK_UP);
  EXPECT_EQ(GetFocus(), w.Label1.hwnd()) << "round from the first to the last";
  EXPECT_EQ(w.ChosenAction(), -1) << "arrows choose nothing";
  press(VK_F1);
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "unattended.html");
}

TEST_F(SecureShutDownTest, HoverShowsTheHighlightAndTheBackgroundClearsIt) {
  frmLogoff& w = Window();
  w.PointerOver(3);
  w.PointerOver(12);
  EXPECT_TRUE(w.HighlightShown(4));
  EXPECT_FALSE(w.HighlightShown(2));
  EXPECT_EQ(w.LabelInk(2), RGB(255, 255, 255));
  EXPECT_EQ(w.LabelInk(1), RGB(0, 0, 0));
  w.PointerOver(0);
  EXPECT_FALSE(w.HighlightShown(4));
  EXPECT_EQ(w.LabelInk(2), RGB(0, 0, 0));
}

TEST_F(SecureShutDownTest, AFindingWaitsTwoMinutesThenActsOnce) {
  FailingFile();
  UseExistingScanner();
  Window().Label2_Click();  // Log Off...
  RunChain();
  ASSERT_TRUE(Window().CountdownRunning());
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine,
            "\"" + folder.path("scanner.exe") + "\" /scan \"" + folder.path("watched\\a.dll") + "\" ");
  EXPECT_TRUE(app.report.shutDownFindings);
  EXPECT_EQ(Logs().size(), 1u);
  sProg& p = ShutDownProgress(app);
  EXPECT_EQ(p.Status(), "Status: Some files were scanned...Shutting Down in 2 minutes");
  EXPECT_TRUE(p.ShutDownNowShown());
  EXPECT_EQ(p.Range(), 120);
  for (int tick = 1; tick < 120; ++tick) Window().Timer1_Timer();
  EXPECT_TRUE(host.powerCalls.empty());
  EXPECT_EQ(p.Progress(), 119);
  Window().Timer1_Timer();
  ASSERT_EQ(host.powerCalls.size(), 1u);
  EXPECT_EQ(host.powerCalls[0].exitFlags, 20u);
  EXPECT_EQ(p.Progress(), 120);
  EXPECT_FALSE(Window().CountdownRunning());
  for (int tick = 0; tick < 200; ++tick) Window().Timer1_Timer();
  EXPECT_EQ(host.powerCalls.size(), 1u);
}

TEST_F(SecureShutDownTest, ShutDownNowActsAtOnceAndOnlyOnce) {
  FailingFile();
  UseExistingScanner();
  Window().Image2_Click();  // Standby
  RunChain();
  ASSERT_TRUE(Window().CountdownRunning());
  for (int tick = 0; tick < 30; ++tick) Window().Timer1_Timer();
  ShutDownProgress(app).Command1.Click();  // "ShutDown Now"
  ASSERT_EQ(host.powerCalls.size(), 1u);
  EXPECT_TRUE(host.powerCalls[0].suspend);
  // Back from standby: the countdown is over and never fires again.
  EXPECT_FALSE(Window().CountdownRunning());
  for (int tick = 0; tick < 200; ++tick) Window().Timer1_Timer();
  PumpPending();
  EXPECT_EQ(host.powerCalls.size(), 1u);
}

TEST_F(SecureShutDownTest, AScannerThatCannotStartStopsNobody) {
  FailingFile();
  UseExistingScanner();
  host.startSucceeds = false;
  Window().Image4_Click();  // no box may appear: nobody is there
  RunChain();
  ASSERT_EQ(host.powerCalls.size(), 1u);  // nothing was handed over: no countdown
  EXPECT_EQ(host.starts.size(), 1u);
}

TEST_F(SecureShutDownTest, ScheduledScanWithFindingsAndNoScannerEndsByItselfWithTheForcedLog) {
  FailingFile(/*baselineOnlyAsBackup=*/true);
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KvScheduled",
          "C:\\kvscheduled.exe");
  app.boxes.Check7 = 0;  // Auto-Logging off: the logs below are forced
  app.SetStart(StartMode(StartKind::ScheduledScan));
  StartRunReport(app, false);  // as start-up opens the run's record
  RunScheduledScan(app);  // no box may appear: nobody is there
  RunChain();
  ASSERT_TRUE(host.ended);
  EXPECT_EQ(Window().ChosenAction(), kScheduledScan);
  EXPECT_TRUE(host.powerCalls.empty());
  EXPECT_FALSE(ShutDownProgress(app).Visible());
  EXPECT_FALSE(Window().Visible());
  const auto logs = Logs();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0], "Integrity Checker - These files were logged because you didn't setup an "
                     "Anti-Virus Scanner," + folder.path("watched\\a.dll") + "\r\n");
  EXPECT_EQ(logs[1], "Registry Action - Scan and Update Multiple Entries,C:\\kvscheduled.exe\r\n");
  // The backup stood in for the missing baseline; no scanner saw the new
  // file or the entry, so both stay reported.
  EXPECT_TRUE(folder.Exists("Data\\1.dat"));
  EXPECT_EQ(folder.Read("Data\\1.dat").find("a.dll="), std::string::npos);
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("KvScheduled"), std::string::npos);
  // Nobody waits for the scan: its findings are announced by a notice of
  // their own, which the scan starts and leaves.
  ASSERT_EQ(host.starts.size(), 1u);
  const std::string program = "\"" + app.appDir + app.edition.ownFileName + "\" ";
  ASSERT_EQ(host.starts[0].commandLine.rfind(program, 0), 0u) << host.starts[0].commandLine;
  const auto counts = ParseNoticeArguments(host.starts[0].commandLine.substr(program.size()));
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->Files(), 1);
  EXPECT_EQ(counts->registry, 1);
  // One warning per kind found, and the exit code of a run with findings.
  EXPECT_EQ(host.exitCode, kExitFindings);
  ASSERT_EQ(host.events.size(), 2u);
  EXPECT_EQ(host.events[0].id, kEventFiles);
  EXPECT_EQ(host.events[1].type, EventType::Warning);
  EXPECT_EQ(host.events[1].text, "Registry entries new or modified (scheduled run).\r\nNew: 1, modified: 0.\r\n"
                                 "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run | "
                                 "KvScheduled");
}

TEST_F(SecureShutDownTest, RegistryFindingsWhoseLogCannotBeWrittenAreKeptSilently) {
  UseExistingScanner();
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KvUnlogged",
          "C:\\kvunlogged.exe");
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KvNowhere",
          "kvnowhere-at-all");
  ASSERT_TRUE(RemoveDirectoryA(folder.path("Data\\Log").c_str()));
  folder.Write("Data\\Log", "a file where the log folder should be");
  Window().Image4_Click();  // no box may appear: nobody is there
  RunChain();
  ASSERT_TRUE(Window().CountdownRunning());  // the scanner has the file
  EXPECT_EQ(folder.Read("Data\\Registry.dat").find("KvUnlogged"), std::string::npos);

  // With the log written, the scanned entry is accepted; the one whose file
  // no scanner was given is not.
  DeleteFileA(folder.path("Data\\Log").c_str());
  folder.MakeFolder("Data\\Log");
  std::vector<std::string> lines = setReg(app).list;
  ASSERT_EQ(lines.size(), 3u);
  const RegistryPass pass = setReg(app);
  ScanAndUpdateWarnings(app, lines, pass.warnings);
  const std::string snapshot = folder.Read("Data\\Registry.dat");
  EXPECT_NE(snapshot.find("KvUnlogged="), std::string::npos);
  EXPECT_EQ(snapshot.find("KvNowhere"), std::string::npos);
}

TEST_F(SecureShutDownTest, ASecondInstanceIsTurnedAway) {
  app.anotherInstance = true;
  host.ExpectBox(kAlreadyRunning);
  ShowSecureShutDown(app);
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(Window().Visible());

  const std::string marker = "Local\\KorvanelTestMarker" + std::to_string(GetCurrentProcessId());
  EXPECT_FALSE(TakeInstanceMarker(marker));
  EXPECT_TRUE(TakeInstanceMarker(marker));
}

TEST_F(SecureShutDownTest, CancelEndsTheProgramAndClosingTheProgressWindowAsks) {
  host.ExpectBox("Cancel Shutdown?", MsgAnswer::No);
  ShutDownProgress(app).CloseBox();
  EXPECT_FALSE(host.ended);
  host.ExpectBox("Cancel Shutdown?", MsgAnswer::Yes);
  ShutDownProgress(app).CloseBox();
  EXPECT_TRUE(host.ended);
}

TEST_F(SecureShutDownTest, CancelBeforeAnyChoiceEndsWithoutActing) {
  StartRunReport(app, false);
  Window().Label1_Click();
  EXPECT_TRUE(host.ended);
  EXPECT_TRUE(host.events.empty()) << "nothing was checked: no event says it was clean";
  EXPECT_TRUE(host.powerCalls.empty());
  EXPECT_TRUE(host.starts.empty());
}

}  // namespace
