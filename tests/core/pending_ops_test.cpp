// The text rules of pending reboot operations and of carrying out a
// secure shut-down action.
#include <gtest/gtest.h>

#include "core/pending_ops.h"
#include "core/shut_off.h"

using namespace kv;

namespace {

TEST(PendingOps, WininitLinesGiveTheFileAndItsKindWhateverTheSection) {
  const auto ops = WininitOperations(
      "[rename]\r\nNUL=C:\\x.tmp\r\nC:\\WINDOWS\\SYSTEM\\a.dll=C:\\WINDOWS\\TEMP\\a.new\r\n"
      "nul=C:\\y.tmp\r\n\r\n[other]\r\nC:\\d.dll=C:\\s.dll*!*tail\r\nno operation here\r\n"
      "NUL2=C:\\z.tmp");
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(PendingViewLine(ops[0]), "C:\\x.tmp {To be Deleted}");
  EXPECT_EQ(PendingViewLine(ops[1]), "C:\\WINDOWS\\TEMP\\a.new {To be Overwritten}");
  EXPECT_EQ(PendingViewLine(ops[2]), "C:\\y.tmp {To be Deleted}");  // any letter case
  EXPECT_EQ(ops[3].file, "C:\\s.dll");
  EXPECT_FALSE(ops[4].deletes);  // only NUL itself deletes
  EXPECT_EQ(PendingLineFile(PendingViewLine(ops[0])), "C:\\x.tmp");
  EXPECT_EQ(PendingLineFile(PendingViewLine(ops[1])), "C:\\WINDOWS\\TEMP\\a.new");
  // A path that holds a suffix's words keeps them.
  for (const bool deletes : {true, false}) {
    const WininitOperation odd{"C:\\Old {To be Deleted}\\x {To be Overwritten}.dll", deletes};
    EXPECT_EQ(PendingLineFile(PendingViewLine(odd)), odd.file);
  }
  EXPECT_TRUE(WininitOperations("").empty());
}

TEST(PendingOps, RenameValueSplitsAtItsNulsWithoutObjectPrefixOrReplaceMark) {
  using namespace std::string_literals;
  // A rename of a.tmp over b.dll, then a delete (empty destination).
  const std::string value = "\\??\\C:\\a.tmp\0!\\??\\C:\\b.dll\0\\??\\C:\\gone.tmp\0\0\0"s;
  EXPECT_EQ(PendingRenameFiles(value),
            (std::vector<std::string>{"C:\\a.tmp", "C:\\b.dll", "C:\\gone.tmp"}));
  EXPECT_TRUE(PendingRenameFiles(""s).empty());
  EXPECT_TRUE(PendingRenameFiles("\0\0"s).empty());

  // Longer than any fixed buffer: every path comes back whole.
  std::string longValue;
  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) {
    const std::string path = "C:\\queued\\padded-name-" + std::to_string(i) + ".dll";
    longValue += "\\??\\" + path + '\0' + '\0';
    expected.push_back(path);
  }
  longValue += '\0';
  ASSERT_GT(longValue.size(), 600u);
  EXPECT_EQ(PendingRenameFiles(longValue), expected);
}

TEST(ShutOff, FlagsFollowTheActionAndTheSystemVersion) {
  const SystemVersion newer{2, 5}, nt4{2, 4}, older{1, 4};
  const auto flags = [](int action, const SystemVersion& v) {
    const auto r = ShutOffRequest(action, v);
    return r && r->kind == PowerRequest::Kind::ExitWindows ? int(r->exitFlags) : -1;
  };
  EXPECT_EQ(flags(kRestart, newer), 19);
  EXPECT_EQ(flags(kLogOff, newer), 20);
  EXPECT_EQ(flags(kTurnOff, newer), 25);
  EXPECT_EQ(flags(kRestart, older), 7);
  EXPECT_EQ(flags(kLogOff, older), 4);
  EXPECT_EQ(flags(kTurnOff, older), 13);
  EXPECT_EQ(flags(kRestart, nt4), 7);  // NT 4 cannot be forced only when hung
  // Only a log-off outside the NT family ends the shell's process first.
  EXPECT_TRUE(ShutOffRequest(kLogOff, older)->endDesktopOwner);
  EXPECT_FALSE(ShutOffRequest(kLogOff, nt4)->endDesktopOwner);
  EXPECT_FALSE(ShutOffRequest(kTurnOff, older)->endDesktopOwner);

  const auto standby = ShutOffRequest(kStandby, newer), hibernate = ShutOffRequest(kHibernate, older);
  ASSERT_TRUE(standby && hibernate);
  EXPECT_EQ(standby->kind, PowerRequest::Kind::PowerState);
  EXPECT_TRUE(standby->suspend && standby->force);
  EXPECT_FALSE(hibernate->suspend);
  // Codes without an action never reach the system (a scheduled scan ends
  // the program instead).
  EXPECT_FALSE(ShutOffRequest(3, newer));
  EXPECT_FALSE(ShutOffRequest(kScheduledScan, newer));
  EXPECT_FALSE(ShutOffRequest(-1, newer));
}

}  // namespace
