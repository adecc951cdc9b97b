#include "core/settings_store.h"

#include <gtest/gtest.h>

#include "core/profile.h"

using namespace kv;

TEST(DefaultSettings, ExactBytesOfBothEditions) {
  std::string slots;
  for (int n = 1; n <= 20; ++n)
    slots += "[" + std::to_string(n) +
             "]\r\npath=NULL\r\nargs=0,0,0,0,0,0,0\r\nargs2=0,0,0,0,0,0,0\r\n\r\n";
  const std::string head =
      "[Korvanel]\r\nsettings=0,0,0,0,0,0,0,0\r\nadvanced=65536,500,0\r\nantivirus=\r\n"
      "av2=\r\nantivirus2=1,0,0\r\nalgo=crc32\r\n";
  EXPECT_EQ(DefaultSettingsText(true),
            head + "autocheckupdates=True\r\nlastcheckedupdates=\r\n\r\n" + slots);
  EXPECT_EQ(DefaultSettingsText(false), head + "\r\n" + slots);
}

TEST(ReadSetting, FreshDefaultFile) {
  const auto file = DefaultSettingsText(true);
  EXPECT_EQ(ReadSettingFromText(file, "GETSETT", true), "0,0,0,0,0,0,0,0");
  EXPECT_EQ(ReadSettingFromText(file, "getsett2", true), "");  // not settings=
  EXPECT_EQ(ReadSettingFromText(file, "Algo", true), "crc32");
  EXPECT_EQ(ReadSettingFromText(file, "AV2", true), "");
  EXPECT_EQ(ReadSettingFromText(file, "AUTO", true), "True");
  EXPECT_EQ(ReadSettingFromText(file, "ADV", true), "65536,500,0");
  EXPECT_EQ(ReadSettingFromText(file, "SETTINGS", true), "");  // a key, not a word
  EXPECT_EQ(ReadSettingFromText(file, "", true), "");
  // The low-resource edition knows no update requests, even in a file
  // written by the full edition.
  EXPECT_EQ(ReadSettingFromText(file, "AUTO", false), "");
  EXPECT_EQ(SettingKeyFor("lastcheck", true), "lastcheckedupdates");
  EXPECT_EQ(SettingKeyFor("lastcheck", false), "");
}

TEST(ReadSetting, KeysAndShortValues) {
  const std::string file =
      "[Korvanel]\r\nSettings2=1,1,0,0,0,0\r\nSETTINGS=1,0,1,0,0,0,1,1\r\nav2=|\r\nalgo=x\r\n"
      "antivirus=C:\\av\\scan.exe|/all \r\n";
  EXPECT_EQ(ReadSettingFromText(file, "GETSETT", true), "1,0,1,0,0,0,1,1");
  EXPECT_EQ(ReadSettingFromText(file, "GETSETT2", true), "1,1,0,0,0,0");
  EXPECT_EQ(ReadSettingFromText(file, "AV2", true), "");   // "|" alone
  EXPECT_EQ(ReadSettingFromText(file, "ALGO", true), "");  // one character
  EXPECT_EQ(ReadSettingFromText(file, "antivirus", true), "C:\\av\\scan.exe|/all ");
  EXPECT_EQ(ReadSettingFromText("algo=md5", "ALGO", true), "");  // no line end
}

TEST(ReadSetting, FirstSaveAddsSettings2AtTheEndOfTheMainSection) {
  const auto before = DefaultSettingsText(true);
  const auto after = ProfileSet(before, true, "Korvanel", "settings2", "1,1,1,1,1,1");
  const std::string anchor = "lastcheckedupdates=\r\n";
  const auto at = before.find(anchor) + anchor.size();
  EXPECT_EQ(after, before.substr(0, at) + "settings2=1,1,1,1,1,1\r\n" + before.substr(at));
  EXPECT_EQ(ReadSettingFromText(after, "GETSETT2", true), "1,1,1,1,1,1");
  EXPECT_EQ(ReadSettingFromText(after, "GETSETT", true), "0,0,0,0,0,0,0,0");
  EXPECT_EQ(ProfileGet(after, "7", "PATH"), "NULL");
}

TEST(ScannerSetting, SplitsAtTheFirstBar) {
  auto s = SplitScannerSetting(" C:\\av\\scan.exe | /a|b ");
  EXPECT_TRUE(s.hasBar);
  EXPECT_EQ(s.program, " C:\\av\\scan.exe ");
  EXPECT_EQ(s.args, "/a|b");
  EXPECT_EQ(s.rawArgs, " /a|b ");

  s = SplitScannerSetting("|");
  EXPECT_TRUE(s.hasBar);
  EXPECT_EQ(s.program, "");
  EXPECT_EQ(s.args, "");

  s = SplitScannerSetting(" scan.exe /a ");
  EXPECT_FALSE(s.hasBar);
  EXPECT_EQ(s.program, "");
  EXPECT_EQ(s.args, "scan.exe /a");
}

TEST(CategoryList, OnlyAOneCountsAndMissingValuesAreOff) {
  const CategoryList list = ParseCategoryList(" 1,0,x,1 ,2,,1");
  EXPECT_EQ(list.category, (std::array<bool, 6>{true, false, false, true, false, false}));
  EXPECT_TRUE(list.seventh);
  const CategoryList shortList = ParseCategoryList("0,1");
  EXPECT_EQ(shortList.category, (std::array<bool, 6>{false, true, false, false, false, false}));
  EXPECT_FALSE(shortList.seventh);
  EXPECT_FALSE(ParseCategoryList("").seventh);
}
