#include "core/text.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(TextBetween, FindsValueBetweenDelimitersIgnoringCase) {
  EXPECT_EQ(TextBetween("a=1\r\nb=22\r\n", 1, "B=", "\r\n"), "22");
  EXPECT_EQ(TextBetween("KEY=v\r\n", 1, "key=", "\r\n"), "v");
}

TEST(TextBetween, EmptyWhenADelimiterIsMissing) {
  EXPECT_EQ(TextBetween("a=1", 1, "=", "\r\n"), "");        // no line end at all
  EXPECT_EQ(TextBetween("a=1\r\n", 1, "x=", "\r\n"), "");   // no opening
  EXPECT_EQ(TextBetween("", 1, "=", "\r\n"), "");
  EXPECT_EQ(TextBetween("a=1\r\n", 0, "=", "\r\n"), "");    // bad start
  EXPECT_EQ(TextBetween("a=1\r\n", 99, "=", "\r\n"), "");   // start past the end
}

TEST(TextBetween, ClosingIsSearchedAfterTheOpeningOnly) {
  // The closing delimiter before the opening must not count.
  EXPECT_EQ(TextBetween("x,a=1,", 1, "a=", ","), "1");
  EXPECT_EQ(TextBetween("a=b=c;", 1, "=", ";"), "b=c");
  // Opening and closing overlap: closing starts after the opening ends.
  EXPECT_EQ(TextBetween("*E*E", 1, "*E", "*E"), "");
  EXPECT_EQ(TextBetween("k=v\r\nk=w\r\n", 3, "k=", "\r\n"), "w");
}

TEST(Text, CaseAndTrimHelpers) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
  // Tabs are no blanks here; the view stays inside the text it was given.
  const std::string padded = " \tx ";
  EXPECT_EQ(TrimView(padded), "\tx");
  EXPECT_EQ(TrimView(padded).data(), padded.data() + 1);
  EXPECT_TRUE(TrimView("").empty());
  EXPECT_TRUE(EndsWithNoCase("Kernel32.DlL", ".dll"));
  EXPECT_FALSE(EndsWithNoCase("x.dll.bak", ".dll"));
  EXPECT_EQ(ReplaceAllNoCase("aXbxc", "x", "--"), "a--b--c");
  EXPECT_EQ(Split("1,,2", ',').size(), 3u);
  EXPECT_EQ(Split("", ',').size(), 1u);
  EXPECT_EQ(ParseLong(" 65536,"), 65536);
  EXPECT_EQ(ParseLong("junk"), 0);
}

TEST(Text, StrictNumbersTakeDigitsAndNothingElse) {
  EXPECT_EQ(ParseNumber(" 65536 "), 65536);
  EXPECT_EQ(ParseNumber("-1"), -1);
  EXPECT_EQ(ParseNumber("+7"), 7);
  for (const char* junk : {"", "  ", "-", "65536,", "1x", "0x10", "1 2", "99999999999999999999"})
    EXPECT_EQ(ParseNumber(junk), std::nullopt) << junk;
}
