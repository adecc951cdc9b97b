// The low-resource program on its own: its first start, the logon check and
// the scheduled scan, and the settings file shared with the main program
// both ways.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/settings_store.h"
#include "e2e/program_run.h"

using namespace kv::test;

TEST(LowEditionE2E, FirstStartWritesItsOwnSettingsAndTheUnattendedRunsEndByThemselves) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder, "KorvanelLow.exe"));
  const std::string low = folder.Read("Data\\Korvanel.dat");
  EXPECT_EQ(low, kv::DefaultSettingsText(false));
  EXPECT_EQ(low.find("checkedupdates"), std::string::npos);
  EXPECT_EQ(low.find("autocheckupdates"), std::string::npos);
  {
    ProgramRun logon(folder, "KorvanelLow.exe", "/r");
    EXPECT_TRUE(logon.WaitForExit(120000)) << "an unchanged system directory must end the run";
  }
  // The main program takes the low program's file as it is.
  {
    ProgramRun logon(folder, "Korvanel.exe", "/r");
    EXPECT_TRUE(logon.WaitForExit(120000)) << "the main program's logon check on the low file";
  }
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), low);
  // The main program's file, update keys and all, serves this one unchanged.
  folder.Write("Data\\Korvanel.dat", kv::DefaultSettingsText(true));
  {
    ProgramRun scheduled(folder, "KorvanelLow.exe", "/a");
    EXPECT_TRUE(scheduled.WaitForExit(120000)) << "the scheduled scan ends after its checks";
  }
  EXPECT_EQ(folder.Read("Data\\Korvanel.dat"), kv::DefaultSettingsText(true));
}
