// Waiting for a scanner through the production host: its exit code is its
// verdict, and Stop on the wait's window gives up without one.
#include <windows.h>

#include <gtest/gtest.h>

#include "antivirus/sWait.h"
#include "antivirus/sWait_ids.h"
#include "antivirus/scanner_run.h"
#include "app/editions.h"
#include "context/app.h"
#include "controls/control_text.h"
#include "platform/files.h"
#include "platform/win32_host.h"
#include "support/program_folder.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {
// The wait window of this process: other test programs may be waiting on
// scanners of their own on the same desktop.
HWND OwnWaitWindow() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "KorvanelScannerWait", nullptr); w;
       w = FindWindowExA(nullptr, w, "KorvanelScannerWait", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) return w;
  }
  return nullptr;
}
}  // namespace

TEST(ScannerWaitTest, AScannerIsHeardOutOrGivenUpWithStop) {
  ProgramFolder folder;
  Win32Host host;
  App app(host, ThisEdition(), folder.dir());
  const std::string cmd = SystemDirectory() + "cmd.exe";

  ScanVerdict found;
  ASSERT_TRUE(RunScannerToEnd(app, "\"" + cmd + "\" /c exit 7", found));
  EXPECT_FALSE(found.clean);
  EXPECT_EQ(found.exitCode, 7ul);
  EXPECT_EQ(found.program, cmd);
  ScanVerdict clean;
  ASSERT_TRUE(RunScannerToEnd(app, "\"" + cmd + "\" /c exit 0", clean));
  EXPECT_TRUE(clean.clean);

  // The window names the program waited for; Stop (Escape too) ends the
  // wait, and a scanner that said nothing has not passed anything.
  std::string shown;
  Later(300, [&] {
    HWND w = OwnWaitWindow();
    if (!w) return;
    shown = controls::ControlText(GetDlgItem(w, swait_ids::kLabel2));
    SendMessageA(w, WM_COMMAND, IDCANCEL, 0);
  });
  ScanVerdict stopped;
  ASSERT_TRUE(RunScannerToEnd(app, "\"" + cmd + "\" /c ping -n 3 127.0.0.1", stopped));
  EXPECT_EQ(shown, cmd);
  EXPECT_FALSE(stopped.clean);
  EXPECT_FALSE(stopped.exitCode);
  EXPECT_EQ(OwnWaitWindow(), nullptr) << "the window goes with the wait";

  ScanVerdict none;
  EXPECT_FALSE(RunScannerToEnd(app, "\"" + folder.path("missing.exe") + "\"", none));
  EXPECT_TRUE(none.clean);
}
