#include "core/log_file.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/text.h"

using namespace kv;

TEST(LogFileName, DateAndTimeTextsBecomeTheName) {
  EXPECT_EQ(LogFileName("1/5/2007", "8:17:49 AM"), "01-05-2007(8_17_49AM).log");
  EXPECT_EQ(LogFileName("5/1/2007", "22:02:11"), "05-01-2007(22_02_11).log");
  EXPECT_EQ(LogFileName("2007-1-5", "8:17:49"), "2007-01-5(8_17_49).log");  // last field kept
  EXPECT_EQ(LogFileName("5.1.2007", "8:17:49 AM"), "5.1.2007(8_17_49AM).log");
  EXPECT_EQ(LogFileName("12/31/07", "11:59:59 PM"), "12-31-07(11_59_59PM).log");
}

TEST(LogLine, HeaderFollowedByCommaSeparatedPaths) {
  const std::string header = "Integrity Checker - These files were either New or Failed the Integrity Check,";
  EXPECT_EQ(LogLine(header + "\"C:\\a.dll\" \"C:\\b.exe\" "), header + "C:\\a.dll,C:\\b.exe\r\n");
  EXPECT_EQ(LogLine(header + "C:\\a.dll C:\\b.exe "), header + "C:\\a.dll,C:\\b.exe\r\n");
  EXPECT_EQ(LogLine(header + "\"a\" \"b\" \"c\" \"d\" "), header + "a,b,c,d\r\n");
  // A space inside a path splits it; no comma in the text leaves no header.
  EXPECT_EQ(LogLine("h,\"C:\\Program Files\\x.dll\" "), "h,C:\\Program,Files\\x.dll\r\n");
  EXPECT_EQ(LogLine(" x.dll y.dll "), "x.dll,y.dll\r\n");

  // The list is made in one pass; it must be what the replacements made one
  // after another give, for every mix of quotes, spaces and commas.
  const auto stepwise = [](std::string_view list) {
    std::string s = ReplaceAll(ReplaceAll(Trim(list), "\" \"", ","), "\" \"", ",");
    s = ReplaceAll(s, "\"", "");
    return ReplaceAll(ReplaceAll(s, ", ", ","), " ", ",");
  };
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string list;
    for (int n = int(random() % 12); n > 0; --n) list += "\" ,a"[random() % 4];
    ASSERT_EQ(LogLine("h," + list), "h," + stepwise(list) + "\r\n") << "[" << list << "]";
  }
}

TEST(LogNames, TheViewerReadsNamesBackTheWayTheyWereWritten) {
  const std::string name = "01-05-2007(8_17_49AM).log";
  EXPECT_EQ(LogDateTextOf(name), "01-05-2007");
  EXPECT_EQ(LogTimeTextOf(name), "8:17:49 AM");
  EXPECT_EQ(LogFileNameOf(LogDateTextOf(name), LogTimeTextOf(name)), name);
  EXPECT_EQ(LogTimeTextOf("stray.log"), "");
  EXPECT_EQ(LogTimeTextOf("x(open.log"), "");
}

TEST(UniqueLogName, SecondLogOfTheSameSecondIsKeptUnderItsOwnName) {
  std::set<std::string> dir;
  const auto exists = [&dir](const std::string& n) { return dir.count(n) > 0; };
  const std::string base = "01-05-2007(10_02_11PM).log";
  for (int i = 0; i < 3; ++i) dir.insert(UniqueLogName(base, exists));
  EXPECT_EQ(dir, (std::set<std::string>{base, "01-05-2007(10_02_11PM-2).log",
                                         "01-05-2007(10_02_11PM-3).log"}));
  for (const auto& n : dir) {
    // Same date group, a distinct entry, and the entry leads back to its file.
    EXPECT_EQ(LogDateTextOf(n), "01-05-2007");
    EXPECT_EQ(LogFileNameOf(LogDateTextOf(n), LogTimeTextOf(n)), n);
  }
  EXPECT_EQ(LogTimeTextOf("01-05-2007(10_02_11PM-2).log"), "10:02:11 PM-2");
  EXPECT_EQ(UniqueLogName(base, [](const std::string&) { return true; }), "");
}

TEST(ReportItems, HeaderThenEveryFileEmptyItemsPassedOver) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ReportItems("Head,C:\\a.dll,C:\\b.exe,C:\\c.sys\r\n"), (V{"Head", "C:\\a.dll", "C:\\b.exe", "C:\\c.sys"}));
  EXPECT_EQ(ReportItems("Head,\r\n"), V{"Head"});
  // An empty registry entry or short path in the middle hides nothing after it.
  EXPECT_EQ(ReportItems("Head,C:\\a.dll,,C:\\b.exe, ,C:\\c.sys\r\n"), (V{"Head", "C:\\a.dll", "C:\\b.exe", "C:\\c.sys"}));
  EXPECT_EQ(ReportItems(",C:\\a.dll"), (V{"", "C:\\a.dll"}));  // item 0 stays the header
  EXPECT_EQ(ReportItems(""), V{});
}

TEST(LoggedFiles, PathsCutAtTheirSpacesComeBackWhole) {
  using V = std::vector<std::string>;
  std::set<std::string> disk = {"C:\\Program Files\\Tool, Inc\\t.exe", "C:\\a,b.dll"};
  const auto exists = [&disk](const std::string& p) { return disk.count(p) > 0; };
  const std::string header = "Integrity Checker - These files were either New or Failed the Integrity Check,";
  // Every way a list reaches the log gives back the same files.
  const std::string logged = "C:\\My Files\\a b.dll C:\\Program Files\\Tool, Inc\\t.exe C:\\a,b.dll "
                             "\\\\server\\share\\x y.sys C:\\plain.exe ";
  const V whole = {"C:\\My Files\\a b.dll", "C:\\Program Files\\Tool, Inc\\t.exe", "C:\\a,b.dll",
                   "\\\\server\\share\\x y.sys", "C:\\plain.exe"};
  EXPECT_EQ(LoggedFiles(LogLine(header + logged), exists), whole);
  std::string quoted;
  for (const std::string& f : whole) quoted += "\"" + f + "\" ";
  EXPECT_EQ(LoggedFiles(LogLine(header + quoted), exists), whole);
  // Empty items, names that are no full paths, and a log without files.
  EXPECT_EQ(LoggedFiles("Head,C:\\a.dll,,C:\\b.exe, ,C:\\c.sys\r\n", exists),
            (V{"C:\\a.dll", "C:\\b.exe", "C:\\c.sys"}));
  EXPECT_EQ(LoggedFiles("Head,HKLM Run,a.dll,b.exe\r\n", exists), (V{"HKLM Run", "a.dll", "b.exe"}));
  EXPECT_EQ(LoggedFiles("Head,\r\n", exists), V{});
  EXPECT_EQ(LoggedFiles("", exists), V{});
}
