// Files the check cannot fingerprint, met in the running program: one held
// open by another program is reported unreadable by every check and never
// taken into the baseline; a deleted one is reported missing until the user
// accepts that it is gone.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/program_run.h"
#include "platform/ini.h"

using namespace kv::test;

namespace {

// Every category and Auto-Logging; `autoScan` the seventh value, "Auto-Scan
// Failed Files". The scanner records what it is given.
void UseSettings(const ProgramFolder& folder, bool autoScan) {
  const std::string scanner = folder.path("fakescanner.exe");
  CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE);
  const std::string settings = folder.path("Data\\Korvanel.dat");
  ASSERT_TRUE(kv::IniWrite(settings, "settings", autoScan ? "1,1,1,1,1,1,1,1" : "1,1,1,1,1,1,0,1",
                           "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));
}

// The lines of the check window of a "/r" run that found something.
std::vector<std::string> ListedByCheck(const ProgramRun& run, HWND& window) {
  window = FindFindingsWindow(run.processId(), 120000);
  std::vector<std::string> lines;
  if (window) WaitUntil([&] { return !(lines = ListBoxLines(window)).empty(); }, 10000);
  return lines;
}

// A click on one of the check window's text links.
bool ClickLink(HWND window, const std::string& caption) {
  HWND link = nullptr;
  WaitUntil(
      [&] {
        link = FindChild(window, [&](HWND h) { return IsWindowVisible(h) && WindowText(h) == caption; });
        return link != nullptr;
      },
      10000);
  if (!link) return false;
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED), LPARAM(link));
  return true;
}

bool ScanFailingFiles(HWND window) {
  return ClickLink(window, "Repair and Update Failed Files...") && ClickLink(window, "Scan Failing Files...");
}

struct SystemFile {
  std::string path;
  SystemFile(const std::string& name, const std::string& bytes) : path(SystemFolder() + name) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &wrote, nullptr);
    CloseHandle(h);
  }
  ~SystemFile() { DeleteFileA(path.c_str()); }
};

constexpr char kUnreadableLog[] = "Integrity Checker - These files were Unreadable,";
constexpr char kMissingLog[] = "Integrity Checker - These files were Missing,";

}  // namespace

TEST(UnreadAndDeletedE2E, ALockedFileIsUnreadableInEveryCheckAndNeverAccepted) {
  SystemFile locked("kve2e_locked.dll", "bytes nobody else may read");
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string stored = EntryOf(folder.Read("Data\\Integrity.dat"), "kve2e_locked.dll");
  ASSERT_NE(stored, "");
  UseSettings(folder, false);
  // Held open with no sharing, as another program may hold it.
  HANDLE lock = CreateFileA(locked.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  struct Unlock {
    HANDLE h;
    ~Unlock() { CloseHandle(h); }
  } unlock{lock};
  const std::vector<std::string> listed = {locked.path + " *UNREADABLE*"};
  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    HWND window = nullptr;
    ASSERT_EQ(ListedByCheck(run, window), listed);
    // Scanning and accepting what was found leaves it listed and unaccepted.
    ASSERT_TRUE(ScanFailingFiles(window));
    WaitUntil([&] { return folder.Logs().size() == 1; }, 20000);
    ASSERT_EQ(folder.Logs(), std::vector<std::string>{kUnreadableLog + locked.path + "\r\n"});
    EXPECT_EQ(ListBoxLines(window), listed);
  }
  // The next check, unattended, finds it again and ends without taking it in.
  UseSettings(folder, true);
  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(run.WaitForExit(120000));
  }
  EXPECT_EQ(folder.Logs(), std::vector<std::string>(2, kUnreadableLog + locked.path + "\r\n"));
  EXPECT_EQ(folder.Read("scanner-args.txt"), "") << "the scanner was handed a file it cannot open";
  EXPECT_EQ(EntryOf(folder.Read("Data\\Integrity.dat"), "kve2e_locked.dll"), stored);
}

TEST(UnreadAndDeletedE2E, ADeletedFileIsMissingUntilAcceptedAndTheNextCheckIsClean) {
  std::string gone;
  ProgramFolder folder;
  {
    SystemFile deleted("kve2e_gone.exe", "a program that will be deleted");
    gone = deleted.path;
    ASSERT_TRUE(BuildBaselineInteractively(folder));
  }
  ASSERT_NE(EntryOf(folder.Read("Data\\Integrity.dat"), "kve2e_gone.exe"), "");
  UseSettings(folder, false);
  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    HWND window = nullptr;
    ASSERT_EQ(ListedByCheck(run, window), std::vector<std::string>{gone + " *MISSING*"});
    ASSERT_TRUE(ScanFailingFiles(window));
    ASSERT_NE(FindProcessWindow(run.processId(), "Integrity File(s) Updated", 30000), nullptr);
  }
  EXPECT_EQ(folder.Logs(), std::vector<std::string>{kMissingLog + gone + "\r\n"});
  EXPECT_EQ(folder.Read("scanner-args.txt"), "");
  EXPECT_EQ(EntryOf(folder.Read("Data\\Integrity.dat"), "kve2e_gone.exe"), "");
  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(run.WaitForExit(120000)) << "accepted, the deletion is no finding any more";
    EXPECT_EQ(run.ExitCode(), 0u);
  }
  EXPECT_EQ(folder.Logs().size(), 1u);
}
