// The scheduled scan of the real program: pending reboot files, the file
// check and the registry, each handed to the scanner and logged, then the
// program ends by itself, its exit code telling a clean run from one that
// found something, and its findings in findings.jsonl.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "e2e/program_run.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "support/app_fixture.h"

using namespace kv::test;

namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kValue[] = "KvScheduledE2E";

// What the test puts outside its program folder, taken away again.
struct Outside {
  std::string changed = SystemFolder() + "kvsched_changed.dll";
  std::string wininit;
  Outside() {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    wininit = std::string(dir, n) + "\\wininit.ini";
    kv::WriteWholeFile(changed, "first version");
  }
  ~Outside() {
    DeleteFileA(changed.c_str());
    DeleteFileA(wininit.c_str());
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kValue);
      RegCloseKey(key);
    }
  }
};

TEST(ScheduledScanE2E, ScansPendingFilesChangedFilesAndNewEntriesThenEnds) {
  Outside outside;
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string scanner = folder.path("fakescanner.exe");
  ASSERT_TRUE(CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  ASSERT_TRUE(kv::IniWrite(settings, "settings", "0,0,0,0,0,0,0,1", "Korvanel"));  // Auto-Logging
  ASSERT_TRUE(kv::IniWrite(settings, "settings2", "1,0,0,0,0,0", "Korvanel"));     // libraries
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus2", "1,0,0", "Korvanel"));
  {
    ProgramRun clean(folder, "Korvanel.exe", "/a");
    ASSERT_TRUE(clean.WaitForExit(180000));
    EXPECT_EQ(clean.ExitCode(), 0u) << folder.Read("Data\\Log\\findings.jsonl");
  }

  kv::WriteWholeFile(outside.changed, "second version");
  const std::string pending = folder.path("pending.tmp");
  folder.Write("pending.tmp", "to be deleted at the next start");
  ASSERT_TRUE(kv::WriteWholeFile(outside.wininit, "[rename]\r\nNUL=" + pending + "\r\n"));
  const std::string program = folder.path("runner.exe");
  folder.Write("runner.exe", "started at logon");
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                 DWORD(program.size() + 1));
  RegCloseKey(key);

  {
    ProgramRun run(folder, "Korvanel.exe", "/a");
    ASSERT_TRUE(run.WaitForExit(180000)) << "a scheduled scan must end by itself";
    // What it found waits for the user in a notice of its own process.
    const HWND notice = FindNotice();
    ASSERT_NE(notice, nullptr);
    DWORD noticeProcess = 0;
    GetWindowThreadProcessId(notice, &noticeProcess);
    EXPECT_NE(noticeProcess, run.processId());
    EXPECT_FALSE(IsWindowVisible(notice));
    EXPECT_EQ(run.ExitCode(), 1u);
  }
  EXPECT_EQ(FindNotice(0), nullptr) << "closing the notice ends it";
  std::string record;
  WaitUntil(
      [&] {
        record = folder.Read("scanner-record.txt");
        return std::count(record.begin(), record.end(), '\n') >= 3;
      },
      20000);
  EXPECT_NE(record.find(" /scan \"" + pending + "\" "), std::string::npos) << record;
  EXPECT_NE(record.find(" /scan \"" + outside.changed + "\" "), std::string::npos) << record;
  EXPECT_NE(record.find(" /scan  \"" + program + "\""), std::string::npos) << record;

  const auto logs = folder.Logs();
  ASSERT_EQ(logs.size(), 3u);
  EXPECT_EQ(logs[0], "Integrity Checker - These files were either New or Failed the Integrity Check," +
                         outside.changed + "\r\n");
  EXPECT_EQ(logs[1], "Registry Action - Scan and Update Multiple Entries," + program + "\r\n");
  EXPECT_EQ(logs[2], "The following Files were scanned as a precaution (being renamed or deleted "
                     "from Wininit)," + pending + "\r\n");
  EXPECT_NE(folder.Read("Data\\Registry.dat").find(std::string(kValue) + "= (" + program + ")"),
            std::string::npos);

  // The clean run's end, then one line per finding and the run's end.
  std::vector<nlohmann::json> lines;
  std::istringstream jsonl(folder.Read("Data\\Log\\findings.jsonl"));
  for (std::string line; std::getline(jsonl, line);) lines.push_back(nlohmann::json::parse(line));
  const auto kindOf = [&](const std::string& kind) {
    return std::find_if(lines.begin(), lines.end(), [&](const auto& j) { return j["kind"] == kind; });
  };
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0]["exit"], 0);
  for (const auto& j : lines) EXPECT_EQ(j["run"], "scheduled");
  ASSERT_NE(kindOf("pending"), lines.end());
  EXPECT_EQ((*kindOf("pending"))["path"], pending);
  EXPECT_EQ((*kindOf("pending"))["action"], "scanned");
  ASSERT_NE(kindOf("changed"), lines.end());
  EXPECT_EQ((*kindOf("changed"))["path"], outside.changed);
  EXPECT_EQ((*kindOf("changed"))["action"], "accepted");
  EXPECT_NE((*kindOf("changed"))["old"], (*kindOf("changed"))["new"]);
  ASSERT_NE(kindOf("registry-new"), lines.end());
  EXPECT_EQ((*kindOf("registry-new"))["name"], kValue);
  EXPECT_EQ((*kindOf("registry-new"))["action"], "accepted");
  EXPECT_EQ(lines[4]["kind"], "run-end");
  EXPECT_EQ(lines[4]["exit"], 1);
}

// Sets a Run value of the user for the length of a test.
struct RunValue {
  std::string name;
  RunValue(std::string n, const std::string& data) : name(std::move(n)) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD(data.size() + 1));
    RegCloseKey(key);
  }
  ~RunValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, name.c_str());
      RegCloseKey(key);
    }
  }
};

TEST(ScheduledScanE2E, RegistryFindingsAreAcceptedOnlyOnceAScannerHasThemAndTheyAreLogged) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string program = folder.path("kvlater.exe");
  RunValue scanned("KvScheduledScanned", program);
  RunValue nowhere("KvScheduledNowhere", "kvnowhere-at-all -x");
  const auto accepted = [&](const std::string& name) {
    return folder.Read("Data\\Registry.dat").find(name + "=") != std::string::npos;
  };
  const auto runScheduledScan = [&] {
    ProgramRun run(folder, "Korvanel.exe", "/a");
    return run.WaitForExit(180000);
  };

  // No scanner and no Auto-Logging, as the program comes: the findings go
  // into a log all the same and stay reported.
  ASSERT_TRUE(runScheduledScan());
  EXPECT_FALSE(accepted(scanned.name));
  EXPECT_FALSE(accepted(nowhere.name));
  auto logs = folder.Logs();
  EXPECT_EQ(logs, std::vector<std::string>{"Registry Action - Scan and Update Multiple Entries," +
                                           program + "\r\n"});

  // A scanner, but no log can be written: nothing is accepted.
  const std::string scanner = folder.path("fakescanner.exe");
  ASSERT_TRUE(CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  ASSERT_TRUE(kv::IniWrite(settings, "settings", "0,0,0,0,0,0,0,1", "Korvanel"));  // Auto-Logging
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));
  const std::string logFolder = folder.path("Data\\Log");
  WIN32_FIND_DATAA fd;
  HANDLE found = FindFirstFileA((logFolder + "\\*").c_str(), &fd);  // findings.jsonl too
  if (found != INVALID_HANDLE_VALUE) {
    do DeleteFileA((logFolder + "\\" + fd.cFileName).c_str());
    while (FindNextFileA(found, &fd));
    FindClose(found);
  }
  ASSERT_TRUE(RemoveDirectoryA(logFolder.c_str()));
  folder.Write("Data\\Log", "a file where the log folder should be");
  ASSERT_TRUE(runScheduledScan());
  EXPECT_TRUE(WaitUntil(
      [&] { return folder.Read("scanner-record.txt").find("\"" + program + "\"") != std::string::npos; },
      20000));
  EXPECT_FALSE(accepted(scanned.name));
  EXPECT_FALSE(accepted(nowhere.name));

  // With the log written, the scanned entry is accepted; the one whose file
  // no scanner was given stays reported.
  ASSERT_TRUE(DeleteFileA(logFolder.c_str()));
  ASSERT_TRUE(runScheduledScan());
  EXPECT_TRUE(accepted(scanned.name));
  EXPECT_FALSE(accepted(nowhere.name));
  EXPECT_EQ(folder.Logs(), std::vector<std::string>{"Registry Action - Scan and Update Multiple "
                                                     "Entries," + program + "\r\n"});
}

}  // namespace

namespace {

TEST(SecureShutDownE2E, ASecondCopyOfTheProgramIsTurnedAway) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  ProgramRun open(folder, "Korvanel.exe", "");
  ASSERT_NE(FindProcessWindow(open.processId(), "Welcome to Korvanel"), nullptr);
  {
    ProgramRun secure(folder, "Korvanel.exe", "/s");
    EXPECT_TRUE(secure.Answer("You must close Korvanel before using the Shut Down Feature."));
    EXPECT_TRUE(secure.WaitForExit());
  }
  EXPECT_FALSE(open.WaitForExit(0));
}

}  // namespace
