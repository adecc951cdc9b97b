#include <windows.h>

#include "context/settings.h"
#include "core/log_file.h"
#include "core/text.h"
#include "logs/WriteLog.h"
#include "platform/files.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

namespace {

std::string LocaleValue(LCTYPE type) {
  char buf[80] = "";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return buf;
}

class WriteLogTest : public AppTest {
 protected:
  void SetUp() override {
    MakeDataFolders();
    app.boxes.Check7 = 1;
  }
  std::vector<std::string> Logs() const {
    return ListDirectory(folder.path("Data\\Log\\")).value_or(std::vector<std::string>{});
  }
  std::string LogText() const {
    const auto logs = Logs();
    return logs.size() == 1 ? folder.Read("Data\\Log\\" + logs[0]) : std::string();
  }
};

const std::string kHeader =
    "Integrity Checker - These files were either New or Failed the Integrity Check,";

}  // namespace

TEST(LogName, FollowsTheUsersShortDateAndTimeFormats) {
  const LocalTime t{2007, 1, 5, 8, 17, 49};
  // The exact name is known for US settings.
  if (LocaleValue(LOCALE_SSHORTDATE) != "M/d/yyyy" || LocaleValue(LOCALE_STIMEFORMAT) != "h:mm:ss tt")
    GTEST_SKIP() << "user locale is not month/day/year with a 12-hour clock";
  EXPECT_EQ(ShortDateText(t), "1/5/2007");
  EXPECT_EQ(TimeText(t), "8:17:49 AM");
  EXPECT_EQ(LogFileNameAt(t), "01-05-2007(8_17_49AM).log");
  EXPECT_EQ(LogFileNameAt({2007, 12, 25, 23, 5, 0}), "12-25-2007(11_05_00PM).log");
}

TEST_F(WriteLogTest, TwoQuotedPathsBecomeOneCommaJoinedLine) {
  const std::string path =
      WriteLog(app, kHeader + "\"C:\\WINDOWS\\a.dll\" \"C:\\WINDOWS\\b.exe\" ");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path, app.appDir + "Data\\Log\\" + LogFileNameAt(host.now));
  EXPECT_EQ(LogText(), kHeader + "C:\\WINDOWS\\a.dll,C:\\WINDOWS\\b.exe\r\n");
  EXPECT_FALSE(app.report.shutDownFindings);
}

TEST_F(WriteLogTest, AutoLoggingOffWritesNothingButASecureShutDownStillNotesFindings) {
  app.boxes.Check7 = 0;
  EXPECT_EQ(WriteLog(app, kHeader + "C:\\a.dll "), "");
  EXPECT_TRUE(Logs().empty());
  EXPECT_FALSE(app.report.shutDownFindings);

  app.SetStart(StartMode(StartKind::SecureShutDown));
  // No log was asked for: nothing failed.
  EXPECT_FALSE(TryWriteLog(app, kHeader + "C:\\a.dll ").failed());
  EXPECT_TRUE(Logs().empty());
  EXPECT_TRUE(app.report.shutDownFindings);
}

TEST_F(WriteLogTest, ForcedLogIsWrittenWithAutoLoggingOffAndSetsNoFindings) {
  app.boxes.Check7 = 0;
  app.SetStart(StartMode(StartKind::SecureShutDown));
  EXPECT_NE(WriteLog(app, kHeader + "C:\\a.dll ", 1), "");
  EXPECT_EQ(LogText(), kHeader + "C:\\a.dll\r\n");
  EXPECT_FALSE(app.report.shutDownFindings);
}

TEST_F(WriteLogTest, TextsWithoutAFileAreNotLogged) {
  app.SetStart(StartMode(StartKind::SecureShutDown));
  EXPECT_EQ(WriteLog(app, "   "), "");
  EXPECT_EQ(WriteLog(app, "Registry Action - Scan and Update Multiple Entries,"), "");
  EXPECT_TRUE(Logs().empty());
  EXPECT_FALSE(app.report.shutDownFindings);
}

TEST_F(WriteLogTest, TwoLogsInTheSameSecondAreBothKept) {
  const std::string first = WriteLog(app, kHeader + "C:\\a.dll ");
  const std::string second = WriteLog(app, kHeader + "C:\\b.dll ");
  ASSERT_NE(first, "");
  ASSERT_NE(second, "");
  EXPECT_NE(first, second);
  EXPECT_EQ(Logs().size(), 2u);
  EXPECT_EQ(ReadWholeFile(first), kHeader + "C:\\a.dll\r\n");
  EXPECT_EQ(ReadWholeFile(second), kHeader + "C:\\b.dll\r\n");
}

TEST_F(WriteLogTest, TheLogFolderIsNeverCreatedHere) {
  RemoveDirectoryA(folder.path("Data\\Log").c_str());
  EXPECT_TRUE(TryWriteLog(app, kHeader + "C:\\a.dll ", 1).failed());
  EXPECT_FALSE(DirectoryExists(folder.path("Data\\Log")));
}
