// Failures as a user meets them in the running program: each is said, and
// nothing afterwards claims success.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "platform/files.h"
#include "platform/ini.h"

using namespace kv::test;

namespace {

// The visible control with this caption, once it is there.
HWND Find(HWND window, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindChild(window, [&](HWND h) { return IsWindowVisible(h) && WindowText(h) == caption; });
        return found != nullptr;
      },
      10000);
  return found;
}

bool Click(HWND window, const std::string& caption) {
  HWND button = Find(window, caption);
  if (button) PostMessageA(button, BM_CLICK, 0, 0);
  return button != nullptr;
}

// Returns once the program has handled everything sent before: what a
// handler does after a message box closes is done by then.
void Settle(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 30000, &ignored);
}

std::string FolderOf(int csidl) {
  char path[MAX_PATH] = "";
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

// The common Startup folder closed as it is to a standard account: a file
// stands where the folder should be.
struct ClosedCommonStartup {
  std::string common = FolderOf(CSIDL_COMMON_STARTUP), own = FolderOf(CSIDL_STARTUP);
  bool closed = false;
  ClosedCommonStartup() {
    for (const std::string* f : {&common, &own}) kv::DeleteFileAt(*f + "\\Korvanel.lnk");
    closed = RemoveDirectoryA(common.c_str()) && kv::WriteWholeFile(common, "not a folder");
  }
  ~ClosedCommonStartup() {
    kv::DeleteFileAt(common);
    CreateDirectoryA(common.c_str(), nullptr);
    kv::DeleteFileAt(own + "\\Korvanel.lnk");
  }
};

}  // namespace

TEST(AutoLoadE2E, TheShortcutGoesToTheUsersStartupFolderWhenTheCommonOneIsClosed) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  ASSERT_TRUE(kv::IniWrite(folder.path("Data\\Korvanel.dat"), "autocheckupdates", "False", "Korvanel"));
  ClosedCommonStartup startup;
  ASSERT_TRUE(startup.closed);
  ASSERT_FALSE(startup.own.empty());

  ProgramRun run(folder, "Korvanel.exe", "");
  HWND main = FindProcessWindow(run.processId(), "Welcome to Korvanel");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(main, "Options"));
  ASSERT_TRUE(Click(main, "Edit Settings"));
  ASSERT_TRUE(Click(main, "Auto-Load at Startup"));
  ASSERT_TRUE(Click(main, "Save Settings"));
  ASSERT_TRUE(run.Answer("Settings Saved Successfully"));
  EXPECT_TRUE(kv::FileExists(startup.own + "\\Korvanel.lnk"));
  // Opened again, the page shows auto-load on.
  ASSERT_TRUE(Click(main, "Cancel"));
  ASSERT_TRUE(Click(main, "Edit Settings"));
  HWND box = Find(main, "Auto-Load at Startup");
  ASSERT_NE(box, nullptr);
  DWORD_PTR state = 0;
  SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_BLOCK, 10000, &state);
  EXPECT_EQ(state, DWORD_PTR(BST_CHECKED));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(run.WaitForExit());
}

// The program's two downloads with no way out: the prefix sends every web
// request to a proxy where nothing listens, as a machine without a network.
TEST(DownloadsE2E, FailedDownloadsSayTheyFailedAndNothingElse) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  ASSERT_TRUE(kv::IniWrite(settings, "autocheckupdates", "False", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "lastcheckedupdates", "", "Korvanel"));
  // What earlier downloads left: an update file and a support list.
  folder.Write("Data\\update.zip", "<!--- ZEMU Update File korvanel2=1, ---!>");
  folder.Write("Data\\avsupportlist.dat",
               "[Korvanel]\r\nAVSupported=1\r\nAVName0=Old AV\r\nAVExe0=old.exe\r\nAVCMD0=\r\n"
               "AVSupport0=\r\n");

  ProgramRun run(folder, "Korvanel.exe", "");
  HWND main = FindProcessWindow(run.processId(), "Welcome to Korvanel");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Click(main, "Options"));

  // The update check: its error stays, and no check is recorded for today.
  ASSERT_TRUE(Click(main, "Check for Updates"));
  const auto status = [&] {
    return WindowText(FindChild(main, [](HWND h) { return WindowText(h).rfind("Status: ", 0) == 0; }));
  };
  const std::string failed = "Status: Error - Could not check for updates.";
  WaitUntil([&] { return status() == failed; }, 60000);
  Settle(main);
  EXPECT_EQ(status(), failed);

  // The support list: the error box, then the window as it was.
  ASSERT_TRUE(Click(main, "Integrate Anti-Virus app with Korvanel"));
  const std::string title = "Anti-Virus Auto Configuration Wizard";
  HWND list = FindProcessWindow(run.processId(), title);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(Click(list, "Download Latest Anti-Virus Support List"));
  const FoundBox box = run.WaitForBox(60000);
  EXPECT_EQ(box.text, "Error! Could not download latest antivirus support list!\r\n\r\nPlease try again later.");
  ASSERT_NE(box.hwnd, nullptr);
  run.Press(box, IDOK);
  Settle(list);
  EXPECT_EQ(WindowText(list), title);
  EXPECT_EQ(ListBoxLines(list), std::vector<std::string>{"Old AV"});

  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(run.WaitForExit());
  EXPECT_EQ(kv::IniRead(settings, "lastcheckedupdates", "Korvanel"), "");
}
