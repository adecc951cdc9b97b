// What an auto-load run with "Auto-Scan Failed Files" does with the files
// that changed: hands them to the scanner, logs them, accepts them and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/program_run.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "support/app_fixture.h"

using namespace kv::test;

namespace {

void PutFile(const std::string& path, const std::string& bytes) { kv::WriteWholeFile(path, bytes); }

std::vector<std::string> FolderNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

// Scanners are not waited for: the record may still be on its way.
std::string WaitForRecord(const ProgramFolder& folder, size_t lines) {
  std::string record;
  WaitUntil(
      [&] {
        record = folder.Read("scanner-record.txt");
        return size_t(std::count(record.begin(), record.end(), '\n')) >= lines;
      },
      20000);
  return record;
}

struct ChangedSystemFiles {
  std::string changed = SystemFolder() + "kvfind_changed.dll";
  std::string added = SystemFolder() + "kvfind_added.exe";
  ChangedSystemFiles() {
    PutFile(changed, "first version");
    DeleteFileA(added.c_str());
  }
  ~ChangedSystemFiles() {
    DeleteFileA(changed.c_str());
    DeleteFileA(added.c_str());
  }
};

const char kHeader[] = "Integrity Checker - These files were either New or Failed the Integrity Check,";

}  // namespace

TEST(FindingsE2E, AutoLoadRunScansLogsAndAcceptsChangedFilesThenEnds) {
  ChangedSystemFiles files;
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string scanner = folder.path("fakescanner.exe");
  ASSERT_TRUE(CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  // All six categories, "Auto-Scan Failed Files" and "Auto-Logging"; files in quotes.
  ASSERT_TRUE(kv::IniWrite(settings, "settings", "1,1,1,1,1,1,1,1", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus2", "1,0,0", "Korvanel"));

  PutFile(files.changed, "second version");
  PutFile(files.added, "new program");
  {
    ProgramRun changed(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(changed.WaitForExit(120000)) << "the run must end once its findings are handled";
  }
  const std::string expected =
      "\"" + scanner + "\" /scan \"" + files.changed + "\" \"" + files.added + "\" \r\n";
  EXPECT_EQ(WaitForRecord(folder, 1), expected);
  const auto logs = FolderNames(folder.path("Data\\Log\\*.log"));
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(folder.Read("Data\\Log\\" + logs[0]),
            kHeader + files.changed + "," + files.added + "\r\n");
  EXPECT_TRUE(folder.Exists("Data\\Integrity.bak"));

  // Both files were accepted: the next run passes them and ends quietly.
  {
    ProgramRun clean(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(clean.WaitForExit(120000)) << "an accepted change must pass the next check";
  }
  EXPECT_EQ(folder.Read("scanner-record.txt"), expected);  // no scanner start at all
  EXPECT_EQ(FolderNames(folder.path("Data\\Log\\*.log")).size(), 1u);
}
