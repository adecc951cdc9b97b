#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/program_run.h"

using namespace kv::test;

TEST(StartupE2E, AutoLoadWithoutBaselineSaysSoAndLeavesDataBehind) {
  ProgramFolder folder;
  ProgramRun run(folder, "Korvanel.exe", "/r");
  // Both baseline checks of the start-up propose the first full scan; the
  // user declines both times.
  const std::string firstRun =
      "This is your first time using Korvanel.  Korvanel is required to do a system file "
      "Integrity scan before proceeding.\r\nIf you are sure there are no viruses on your "
      "computer, it is safe to scan now. Otherwise, please do a full scan at a later time. The "
      "full scan should take no more than five minutes to complete.\r\n\r\nPerform scan now?";
  const std::string declined =
      "You have chosen not to do a full scan at this time.  You need to run the full scan "
      "before using the Integrity Checker.";
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(run.Answer(firstRun, IDNO));
    ASSERT_TRUE(run.Answer(declined));
  }
  ASSERT_TRUE(run.Answer(
      "Cannot start Auto-Load.  Primary Full Scan has not yet been completed.\r\nClosing"));
  ASSERT_TRUE(run.WaitForExit());
  EXPECT_TRUE(folder.Exists("Data\\"));
  EXPECT_TRUE(folder.Exists("Data\\Log\\"));
  EXPECT_TRUE(folder.Exists("Data\\Korvanel.dat"));
  EXPECT_TRUE(folder.Exists("Data\\Registry.dat"));
  EXPECT_FALSE(folder.Exists("Data\\Integrity.dat"));
}

namespace {

// The manifest each program carries, as the loader sees it.
std::string ManifestOf(const std::string& exeName) {
  const std::string path = std::string(KV_BIN_DIR) + "\\" + exeName;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string text;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    if (HGLOBAL data = LoadResource(module, found))
      text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

}  // namespace

TEST(StartupE2E, BothProgramsCarryTheirManifestAndRunDpiAware) {
  for (const char* exe : {"Korvanel.exe", "KorvanelLow.exe"}) {
    SCOPED_TRACE(exe);
    const std::string manifest = ManifestOf(exe);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);

    // The first question of a first start is the program's own window: its
    // DPI awareness is the one the process runs with. (Wine 8 reports every
    // process as per-monitor aware, so there only the manifest check above
    // can fail; on Windows this one fails without the manifest too.)
    ProgramFolder folder;
    ProgramRun run(folder, exe, "");
    const FoundBox box = run.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    using ContextOf = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto contextOf = reinterpret_cast<ContextOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awarenessOf = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(contextOf && awarenessOf);
    EXPECT_EQ(awarenessOf(contextOf(box.hwnd)), 2) << "not per-monitor DPI aware";
  }
}
