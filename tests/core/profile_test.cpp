#include "core/profile.h"

#include <gtest/gtest.h>

#include <random>

using namespace kv;

TEST(ProfileGet, MatchesNamesWithoutCaseAndTrimsTheValue) {
  const std::string text = "[Main]\r\n  Key =  a value \r\nother=2\r\n";
  EXPECT_EQ(ProfileGet(text, "main", "KEY"), "a value");
  EXPECT_EQ(ProfileGet(text, "MAIN", "other"), "2");
  EXPECT_EQ(ProfileGet(text, "main", "missing"), "");
  EXPECT_EQ(ProfileGet(text, "nosection", "key"), "");
  EXPECT_EQ(ProfileGet("", "main", "key"), "");
}

TEST(ProfileGet, FirstKeyOfFirstSectionOnly) {
  const std::string text =
      "k=before any section\r\n[s]\r\nk=1\r\nk=2\r\n[t]\r\nk=3\r\n[S]\r\nk=4\r\nj=5\r\n";
  EXPECT_EQ(ProfileGet(text, "s", "k"), "1");
  EXPECT_EQ(ProfileGet(text, "t", "k"), "3");
  EXPECT_EQ(ProfileGet(text, "s", "j"), "");  // only in the second [S]
}

TEST(ProfileGet, CutsLongValuesTo249Characters) {
  const std::string value(300, 'x');
  EXPECT_EQ(ProfileGet("[s]\r\nk=" + value + "\r\n", "s", "k"), value.substr(0, 249));
}

TEST(ProfileGet, OddLinesDoNotConfuseTheReader) {
  // Bare LF and CR end lines; a last line without a line end still counts.
  EXPECT_EQ(ProfileGet("[s]\nk=1\n", "s", "k"), "1");
  EXPECT_EQ(ProfileGet("[s]\rk=1\rj=2", "s", "j"), "2");
  // "[t" is not a section line, so k below it still belongs to [s].
  EXPECT_EQ(ProfileGet("[s]\r\n[t\r\nk=1\r\n", "s", "k"), "1");
  EXPECT_EQ(ProfileGet("[s]\r\n[t\r\nk=1\r\n", "t", "k"), "");
  // A folder path with brackets as the section name.
  EXPECT_EQ(ProfileGet("[C:\\a[1]\\b]\r\nk=1\r\n", "c:\\A[1]\\B", "k"), "1");
}

TEST(ProfileSet, ChangesTheFirstMatchingLineInPlace) {
  const std::string text = "; note\r\n\r\n[S]\r\n  Key =old\r\nkey=second\r\nno equals\r\n\r\n[t]\r\n";
  EXPECT_EQ(ProfileSet(text, true, "s", "KEY", " (C:\\t.exe)"),
            "; note\r\n\r\n[S]\r\n  Key = (C:\\t.exe)\r\nkey=second\r\nno equals\r\n\r\n[t]\r\n");
}

TEST(ProfileSet, AddsAMissingKeyAfterTheSectionsLastNonEmptyLine) {
  EXPECT_EQ(ProfileSet("[s]\r\na=1\r\n\r\n\r\n[t]\r\nb=2\r\n", true, "s", "c", "3"),
            "[s]\r\na=1\r\nc=3\r\n\r\n\r\n[t]\r\nb=2\r\n");
  EXPECT_EQ(ProfileSet("[s]\r\n\r\n[t]\r\n", true, "s", "c", "3"), "[s]\r\nc=3\r\n\r\n[t]\r\n");
  // The section is the last line of a file without a final line end.
  EXPECT_EQ(ProfileSet("x=1\r\n[s]", true, "s", "c", "3"), "x=1\r\n[s]\r\nc=3\r\n");
  EXPECT_EQ(ProfileSet("[s]\na=1\n\n", true, "s", "c", "3"), "[s]\na=1\nc=3\r\n\n");
}

TEST(ProfileSet, AppendsAMissingSectionAndCreatesAMissingFile) {
  EXPECT_EQ(ProfileSet("[s]\r\na=1", true, "t", "b", "2"), "[s]\r\na=1\r\n[t]\r\nb=2\r\n");
  EXPECT_EQ(ProfileSet("[s]\r\na=1\r\n\r\n", true, "t", "b", "2"), "[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n");
  EXPECT_EQ(ProfileSet("a=1\r", true, "t", "b", "2"), "a=1\r[t]\r\nb=2\r\n");
  EXPECT_EQ(ProfileSet("", true, "t", "b", "2"), "[t]\r\nb=2\r\n");
  EXPECT_EQ(ProfileSet("", false, "t", "b", ""), "[t]\r\nb=\r\n");
  // "[t" is no section line: a real [t] is added and the old line stays.
  EXPECT_EQ(ProfileSet("[t\r\n", true, "t", "b", "2"), "[t\r\n[t]\r\nb=2\r\n");
}

TEST(ProfileSet, RefusesNamesAndValuesThatWouldPlantLines) {
  const std::string text = "[s]\r\na=1\r\n";
  EXPECT_EQ(ProfileSet(text, true, "s", "", "x"), text);
  EXPECT_EQ(ProfileSet(text, true, "s\r\n[t]", "a", "x"), text);
  EXPECT_EQ(ProfileSet(text, true, "s", "a=b", "x"), text);
  EXPECT_EQ(ProfileSet(text, true, "s", "a", "2\r\n[evil]\r\nk=v"), "[s]\r\na=2\r\n");
  // A key line starting with "[" and holding a "]" reads back as a section:
  // the indexed document and the text rules then disagreed on it.
  EXPECT_EQ(ProfileSet(text, true, "s", "  [k", "v]"), text);
  ProfileDocument doc(text);
  EXPECT_FALSE(doc.Set("s", "a\nb", "x"));
  EXPECT_FALSE(doc.Set("s", "[k", "v]"));
  EXPECT_EQ(doc.Text(), text);
}

// The indexed document must be indistinguishable from the text functions,
// whatever the file looks like.
TEST(ProfileDocument, MatchesRepeatedProfileSetOnRandomFiles) {
  const std::vector<std::string> pieces = {"[a]", "[A]", "[ b ]", "[c", "k=1", " K = 2 ", "j=",
                                           "=x", "plain", "", "   ", "; c=3", "[]"};
  const std::vector<std::string> ends = {"\r\n", "\r\n", "\n", "\r"};
  const std::vector<std::string> names = {"a", "B", "c", "k", "J", "new"};
  const std::vector<std::string> values = {"", "v", " lead", "x=y", std::string(260, 'z')};
  std::mt19937 rng(12345);
  const auto pick = [&rng](const auto& v) { return v[rng() % v.size()]; };

  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int n = rng() % 10; n > 0; --n) text += pick(pieces) + pick(ends);
    if (rng() % 3 == 0) text += pick(pieces);  // last line without an end
    bool exists = rng() % 8 != 0;

    ProfileDocument doc(text, exists);
    for (int op = 0; op < 12; ++op) {
      const auto section = pick(names), key = pick(names);
      if (rng() % 3 == 0) {
        ASSERT_EQ(doc.Get(section, key), ProfileGet(exists ? text : "", section, key))
            << "file: " << text;
        continue;
      }
      const auto value = pick(values);
      text = ProfileSet(text, exists, section, key, value);
      exists = true;
      doc.Set(section, key, value);
      ASSERT_EQ(doc.Text(), text) << "after " << section << "/" << key;
    }
  }
}

TEST(ProfileDocument, ManyNewEntriesInOneSection) {
  ProfileDocument doc("[Sys]\r\n\r\n[Other]\r\nx=1\r\n");
  for (int i = 0; i < 5000; ++i) doc.Set("sys", "C:\\WINDOWS\\f" + std::to_string(i) + ".dll", "1");
  for (int i = 0; i < 5000; i += 2) doc.Set("SYS", "c:\\windows\\F" + std::to_string(i) + ".DLL", "2");
  EXPECT_EQ(doc.Get("sys", "C:\\WINDOWS\\f4998.dll"), "2");
  EXPECT_EQ(doc.Get("sys", "C:\\WINDOWS\\f4999.dll"), "1");
  const std::string tail = "\\f4999.dll=1\r\n\r\n[Other]\r\nx=1\r\n";
  const auto& text = doc.Text();
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(ProfileDocument, ExactKeysKeepALeadingSpaceApart) {
  const std::string skeleton = "[DLL]\r\nkvlead.dll=NULL*E\r\n kvlead.dll=NULL*E\r\nNULL*E\r\n";
  ProfileDocument doc(skeleton, true, true);
  ASSERT_TRUE(doc.Set("DLL", " kvlead.dll", "1*E"));
  ASSERT_TRUE(doc.Set("DLL", "KVLEAD.DLL", "2*E"));
  ASSERT_TRUE(doc.Set("DLL", "  kvlead.dll", "3*E"));
  EXPECT_EQ(doc.Text(),
            "[DLL]\r\nkvlead.dll=2*E\r\n kvlead.dll=1*E\r\nNULL*E\r\n  kvlead.dll=3*E\r\n");
  EXPECT_EQ(doc.Get("dll", " kvlead.dll"), "1*E");
  EXPECT_EQ(doc.Get("dll", "kvlead.dll"), "2*E");
  // Other files keep the trimming reader's rules.
  ProfileDocument settings(skeleton);
  settings.Set("DLL", " kvlead.dll", "1*E");
  EXPECT_EQ(settings.Get("DLL", "kvlead.dll"), "1*E");
}
