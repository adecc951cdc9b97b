#include "core/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kv;

namespace {

struct Starts {
  std::vector<std::string> lines;
  int failAt = -1;  // index of the start that fails
  StartFn Fn() {
    return [this](const std::string& line) {
      lines.push_back(line);
      return static_cast<int>(lines.size()) - 1 != failAt;
    };
  }
};

std::vector<std::string> Files(int n) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back("f" + std::to_string(i));
  return v;
}

size_t ItemCount(const std::string& items) {
  return static_cast<size_t>(std::count(items.begin(), items.end(), '"') / 2);
}
// The items of a command line, after the program in quotes of its own.
size_t CommandItemCount(const std::string& line) {
  return ItemCount(line) - 1;
}

const FileItemOptions kQuoted{"\"", false, nullptr};

}  // namespace

TEST(ScannerCommand, LayoutOfItemsAndCommandLine) {
  EXPECT_EQ(ScannerCommand("C:\\av.exe", "", "\"a\" \"b\" "), "\"C:\\av.exe\"  \"a\" \"b\" ");
  EXPECT_EQ(FileItem("C:\\Program Files\\x.dll", "", false, nullptr), "C:\\Program Files\\x.dll ");
  const ShortPathFn missing = [](const std::string&) { return std::string(); };
  EXPECT_EQ(FileItem("C:\\gone.dll", "\"", true, missing), "\"\" ");
  const ShortPathFn shortOf = [](const std::string&) { return std::string("C:\\PROGRA~1\\X.DLL"); };
  EXPECT_EQ(FileItem("C:\\Program Files\\x.dll", "\"", true, shortOf), "\"C:\\PROGRA~1\\X.DLL\" ");
}

// Only a quoted full path is started: an unquoted C:\Program Files\... lets
// the system try C:\Program.exe first, and a bare name is looked for along
// a search path that includes folders anyone may write to.
TEST(ScannerCommand, ProgramsAreQuotedFullPaths) {
  EXPECT_EQ(ScannerCommand(" C:\\Program Files\\AV\\scan.exe ", "/s", "x "),
            "\"C:\\Program Files\\AV\\scan.exe\" /s x ");
  EXPECT_EQ(QuotedProgram("\"C:\\av.exe\""), "\"C:\\av.exe\"");
  EXPECT_EQ(ProgramOfCommandLine("\"C:\\Program Files\\AV\\scan.exe\" /s \"a b\" "),
            "C:\\Program Files\\AV\\scan.exe");
  EXPECT_EQ(ProgramOfCommandLine("\"\\\\server\\av\\scan.exe\""), "\\\\server\\av\\scan.exe");
  for (const char* refused : {"C:\\Program Files\\AV\\scan.exe /s", "\"scan.exe\" /s", "regedit.exe",
                              "\"C:scan.exe\"", "\"C:\\av.exe\"x", "\"C:\\av.exe", "", "\"\""})
    EXPECT_FALSE(ProgramOfCommandLine(refused)) << refused;
}

TEST(BatchedScan, BatchesAlternateBetweenBothScanners) {
  Starts starts;
  const auto r = BatchedScan(ViewsOf(Files(1001)), 500, {"one.exe", "/a"}, {"two.exe", ""}, kQuoted,
                             starts.Fn(), true);
  ASSERT_EQ(starts.lines.size(), 6u);
  const size_t sizes[] = {500, 500, 500, 500, 1, 1};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(starts.lines[i].rfind(i % 2 ? "\"two.exe\"  \"" : "\"one.exe\" /a \"", 0), 0u) << i;
    EXPECT_EQ(CommandItemCount(starts.lines[i]), sizes[i]) << i;
  }
  EXPECT_EQ(starts.lines[4], "\"one.exe\" /a \"f1000\" ");
  EXPECT_FALSE(r.startFailed);
  EXPECT_EQ(ItemCount(r.items), 1001u);
  EXPECT_EQ(r.items.substr(0, 10), "\"f0\" \"f1\" ");
}

TEST(BatchedScan, EmptyEntriesTakeAPositionButAddNoFile) {
  Starts starts;
  // The check window ends its list with an empty entry: 500 files are one start.
  auto list = Files(500);
  list.push_back("");
  BatchedScan(ViewsOf(list), 500, {"one.exe", ""}, {"   ", "/x"}, kQuoted, starts.Fn(), true);
  ASSERT_EQ(starts.lines.size(), 1u);  // a second scanner of spaces is not set
  EXPECT_EQ(CommandItemCount(starts.lines[0]), 500u);

  starts.lines.clear();
  const auto r = BatchedScan({"", "", "a"}, 2, {"one.exe", ""}, {}, kQuoted, starts.Fn(), true);
  ASSERT_EQ(starts.lines.size(), 1u);
  EXPECT_EQ(starts.lines[0], "\"one.exe\"  \"a\" ");
  EXPECT_EQ(r.items, "\"a\" ");

  // A path holding a double quote would split into arguments of its own
  // choosing: it is logged, never started.
  starts.lines.clear();
  const auto q = BatchedScan({"C:\\x\" /INJECTED \".dll", "C:\\b.dll", "C:\\y\".dll", ""}, 2,
                             {"one.exe", ""}, {}, kQuoted, starts.Fn(), true);
  ASSERT_EQ(starts.lines.size(), 1u);
  EXPECT_EQ(starts.lines[0], "\"one.exe\"  \"C:\\b.dll\" ");
  EXPECT_EQ(q.items,
            "\"C:\\x<U+0022> /INJECTED <U+0022>.dll\" \"C:\\b.dll\" \"C:\\y<U+0022>.dll\" ");
}

TEST(BatchedScan, BatchSizeOfZeroOrLessMeansOneStart) {
  for (long size : {0L, -5L}) {
    Starts starts;
    BatchedScan(ViewsOf(Files(7)), size, {"one.exe", ""}, {}, kQuoted, starts.Fn(), true);
    ASSERT_EQ(starts.lines.size(), 1u) << size;
    EXPECT_EQ(CommandItemCount(starts.lines[0]), 7u);
  }
}

TEST(BatchedScan, FailedStartStopsOnlyWhenAskedTo) {
  Starts stopping;
  stopping.failAt = 0;
  auto r = BatchedScan(ViewsOf(Files(5)), 2, {"bad.exe", ""}, {"two.exe", ""}, kQuoted, stopping.Fn(), true);
  EXPECT_TRUE(r.startFailed);
  EXPECT_EQ(stopping.lines.size(), 1u);  // neither the second scanner nor later batches

  Starts going;
  going.failAt = 0;
  r = BatchedScan(ViewsOf(Files(5)), 2, {"bad.exe", ""}, {"two.exe", ""}, kQuoted, going.Fn(), false);
  EXPECT_TRUE(r.startFailed);
  EXPECT_EQ(going.lines.size(), 6u);
  EXPECT_EQ(ItemCount(r.items), 5u);
}
