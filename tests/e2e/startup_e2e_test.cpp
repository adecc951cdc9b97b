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
  EXPECT_FALSE(folder.Exists("Data\\Integrity.dat"));
}
