#include "core/findings_notice.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(FindingsNotice, TextsCountEachKindAndSayOneAsOne) {
  const FindingCounts some{3, 2, 0, 1, 0};
  EXPECT_EQ(FindingsNoticeTitle(some), L"Korvanel found 6 changed files");
  EXPECT_EQ(FindingsNoticeText(some), L"3 new, 2 changed, 1 missing \u2014 click to review");
  EXPECT_EQ(FindingsWindowTitle(some), L"Korvanel \u2014 6 changed files");
  const FindingCounts one{0, 0, 1, 0, 1};
  EXPECT_EQ(FindingsNoticeTitle(one), L"Korvanel found 1 changed file");
  EXPECT_EQ(FindingsNoticeText(one), L"1 unreadable, 1 registry entry \u2014 click to review");
  // Only the registry changed: the title does not speak of files.
  EXPECT_EQ(FindingsNoticeTitle({0, 0, 0, 0, 2}), L"Korvanel found 2 changed registry entries");
}

TEST(FindingsNotice, ArgumentsGoThereAndBackAndNothingElseIsANotice) {
  const FindingCounts counts{3, 2, 0, 1, 7};
  EXPECT_EQ(NoticeArguments(counts), "/n 3 2 0 1 7");
  const auto back = ParseNoticeArguments(" /n 3 2 0 1 7 ");
  ASSERT_TRUE(back);
  EXPECT_EQ(NoticeArguments(*back), "/n 3 2 0 1 7");
  for (const char* text : {"", "/n", "/n 1 2 3 4", "/n 1 2 3 4 5 6", "/N 1 2 3 4 5", "/n 1 2 -3 4 5",
                           "/n 1 2 3 4 x", "/n 1 2 3 4 99999999999", "/r"})
    EXPECT_FALSE(ParseNoticeArguments(text)) << text;
}
