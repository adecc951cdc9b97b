#include "core/seals.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {
const std::string kOld(64, 'a'), kNew(64, 'b'), kOther(64, 'c');

std::string Written(const SealBook& book, const std::string& check = std::string(64, 'f')) {
  return book.SignedText() + SealBook::CheckLine(check);
}
}  // namespace

TEST(SealNames, BaselinesBackupsAndSnapshotOnly) {
  for (const char* name : {"Integrity.dat", "integrity.BAK", "Integrity-sha256.dat", "Integrity-md5.bak",
                           "3.dat", "12-sha1.bak", "Registry.dat", "REGISTRY.DAT"})
    EXPECT_TRUE(IsSealedDataName(name)) << name;
  for (const char* name : {"Korvanel.dat", "seals.dat", "Registry.bak", "Integrity.dat.rejected",
                           "Integrity.dat.new", "12345.dat", "x3.dat", "Data\\Integrity.dat", "",
                           ".dat", "01-05-2007(8_17_49AM).log"})
    EXPECT_FALSE(IsSealedDataName(name)) << name;
}

// Replacing a file: before the replacement the old and the new seal pass,
// after it only the new one; a file that was not to be trusted keeps failing
// until it is replaced.
TEST(SealBook, TwoPhaseReplacement) {
  SealBook book;
  EXPECT_EQ(book.Judge("Integrity.dat", kOld), SealVerdict::Unsealed);
  book.Commit("Integrity.dat", kOld);
  EXPECT_EQ(book.Judge("INTEGRITY.DAT", kOld), SealVerdict::Matches);
  EXPECT_EQ(book.Judge("Integrity.dat", kNew), SealVerdict::Differs);

  book.Begin("Integrity.dat", kOld, kNew);
  EXPECT_EQ(book.Judge("Integrity.dat", kOld), SealVerdict::Matches);
  EXPECT_EQ(book.Judge("Integrity.dat", kNew), SealVerdict::Matches);
  EXPECT_EQ(book.Judge("Integrity.dat", kOther), SealVerdict::Differs);
  book.Commit("Integrity.dat", kNew);
  EXPECT_EQ(book.Judge("Integrity.dat", kOld), SealVerdict::Differs);
  EXPECT_EQ(book.Judge("Integrity.dat", kNew), SealVerdict::Matches);
  EXPECT_EQ(book.SealsOf("Integrity.dat"), std::vector<std::string>{kNew});

  // A second Begin after a crash does not pile seals up.
  book.Begin("Integrity.dat", kNew, kOther);
  book.Begin("Integrity.dat", kOther, kOld);
  EXPECT_EQ(book.SealsOf("Integrity.dat"), (std::vector<std::string>{kOther, kOld}));

  book.Distrust("1.dat");
  EXPECT_EQ(book.Judge("1.dat", kOld), SealVerdict::Differs);
  book.Begin("1.dat", std::nullopt, kNew);
  EXPECT_EQ(book.Judge("1.dat", kOld), SealVerdict::Differs);
  EXPECT_EQ(book.Judge("1.dat", kNew), SealVerdict::Matches);
  EXPECT_EQ(book.size(), 2u);
}

TEST(SealsFile, ReadsBackWhatItWrites) {
  SealBook book;
  book.protectedSecret = "0102ff";
  book.Commit("Integrity.dat", kOld);
  book.Begin("Registry.dat", kOld, kNew);
  book.Distrust("3-md5.bak");
  const std::string text = Written(book, kOther);
  EXPECT_EQ(text,
            "//Korvanel seals of the data files: written by the program, do not edit\r\n"
            "secret=0102ff\r\nIntegrity.dat=" + kOld + "\r\nRegistry.dat=" + kOld + "," + kNew +
                "\r\n3-md5.bak=\r\ncheck=" + kOther + "\r\n");
  const auto parsed = ParseSeals(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->check, kOther);
  EXPECT_EQ(parsed->signedText, book.SignedText());
  EXPECT_EQ(parsed->book.protectedSecret, "0102ff");
  EXPECT_EQ(parsed->book.SealsOf("Integrity.dat"), std::vector<std::string>{kOld});
  EXPECT_EQ(parsed->book.SealsOf("Registry.dat"), (std::vector<std::string>{kOld, kNew}));
  EXPECT_EQ(parsed->book.SealsOf("3-md5.bak"), std::vector<std::string>{});
  EXPECT_EQ(parsed->book.SealsOf("1.dat"), std::nullopt);
  EXPECT_EQ(parsed->book.SignedText(), book.SignedText());
}

// Anything but a whole file in the program's own shape is no seals file:
// the caller then vouches for no data file at all.
TEST(SealsFile, RefusesTextsOutOfShape) {
  SealBook book;
  book.protectedSecret = "0102ff";
  book.Commit("Integrity.dat", kOld);
  const std::string good = Written(book);
  ASSERT_TRUE(ParseSeals(good));
  const auto replaced = [&](const std::string& what, const std::string& with) {
    std::string t = good;
    t.replace(t.find(what), what.size(), with);
    return t;
  };
  for (const std::string& bad : {
           good.substr(0, good.size() - 2),                      // cut short
           good.substr(0, good.find("check=")),                  // no check line
           good + "1.dat=" + kOld + "\r\n",                      // a line after the check
           good.substr(good.find("\r\n") + 2),                   // no header
           replaced("secret=0102ff", "secret=01 2"),             // secret not hex
           replaced("secret=", "Secret="),                       // no secret line
           replaced("Integrity.dat=", "Korvanel.dat="),          // a file never sealed
           replaced("Integrity.dat=" + kOld, "Integrity.dat=" + kOld + "\r\nintegrity.dat=" + kNew),
           replaced(kOld, kOld + "," + kNew + "," + kOther),     // three seals
           replaced(kOld, "xyz"),                                // seal not hex
           replaced("Integrity.dat=" + kOld, "Integrity.dat"),   // no "="
       })
    EXPECT_FALSE(ParseSeals(bad)) << bad;
}

TEST(SealHex, RoundTripAndRefusals) {
  const std::string bytes("\x00\x01\x7f\x80\xff", 5);
  EXPECT_EQ(HexOf(bytes), "00017f80ff");
  EXPECT_EQ(BytesOfHex("00017F80ff"), bytes);
  EXPECT_EQ(BytesOfHex("abc"), std::nullopt);
  EXPECT_EQ(BytesOfHex("zz"), std::nullopt);
  EXPECT_TRUE(SameSeal(kOld, kOld));
  EXPECT_FALSE(SameSeal(kOld, kNew));
  EXPECT_FALSE(SameSeal(kOld, kOld.substr(1)));
}
