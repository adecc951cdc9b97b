#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/clsCRC.h"
#include "core/crc32.h"

using namespace kv;

namespace {

// The plain byte-at-a-time routines, computed bit by bit from the polynomials.
uint32_t ReferenceCrc32(uint32_t reg, const std::string& bytes) {
  for (unsigned char b : bytes) {
    reg ^= b;
    for (int bit = 0; bit < 8; ++bit) reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  }
  return reg;
}

uint16_t ReferenceCrc16(uint16_t reg, const std::string& bytes) {
  for (unsigned char b : bytes) {
    reg ^= uint16_t(b << 8);
    for (int bit = 0; bit < 8; ++bit)
      reg = uint16_t((reg & 0x8000) ? (reg << 1) ^ 0x1021 : reg << 1);
  }
  return reg;
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen());
  return s;
}

}  // namespace

TEST(Crc32Block, EveryFormMatchesTheReferenceForEveryLength) {
  const std::string data = RandomBytes(4096 + 16, 7);
  const bool folding = crc_detail::FoldingAvailable();
  std::mt19937 gen(11);
  for (size_t n = 0; n <= 4096; ++n) {
    const size_t offset = n % 16;  // unaligned starts too
    const std::string bytes = data.substr(offset, n);
    const uint32_t reg = uint32_t(gen());
    const uint32_t want = ReferenceCrc32(reg, bytes);
    ASSERT_EQ(Crc32Block(reg, data.data() + offset, n), want) << n;
    ASSERT_EQ(crc_detail::Crc32Sliced(reg, data.data() + offset, n), want) << n;
    if (folding) {
      ASSERT_EQ(crc_detail::Crc32Folded(reg, data.data() + offset, n), want) << n;
    }
  }
}

TEST(Crc32Block, UnevenChunkSplitsGiveTheWholeChecksum) {
  const std::string data = RandomBytes(300000, 3);
  clsCRC whole;
  const int32_t want = whole.CalculateString(data);
  EXPECT_EQ(uint32_t(want), ~ReferenceCrc32(~0u, data));
  std::mt19937 gen(5);
  for (int round = 0; round < 20; ++round) {
    clsCRC crc;
    for (size_t pos = 0; pos < data.size();) {
      const size_t n = std::min<size_t>(data.size() - pos, gen() % (round < 10 ? 300 : 70000));
      crc.AddString(std::string_view(data).substr(pos, n));
      pos += n;
    }
    ASSERT_EQ(crc.Value(), want) << round;
  }
}

TEST(Crc16Block, MatchesTheReference) {
  EXPECT_EQ(Crc16Block(0, "123456789", 9), 0x31C3);
  const std::string data = RandomBytes(1000, 9);
  for (size_t n : {0u, 1u, 2u, 17u, 999u})
    EXPECT_EQ(Crc16Block(0x1234, data.data(), n), ReferenceCrc16(0x1234, data.substr(0, n)));
}

TEST(ClsCrc, CheckValuesAndRegisterRules) {
  clsCRC crc;
  EXPECT_EQ(crc.Algorithm(), -1);
  EXPECT_EQ(crc.CalculateString("123456789"), int32_t(0xCBF43926u));  // a signed value
  crc.Clear();
  EXPECT_EQ(crc.AddString("abc"), 0x352441C2);
  EXPECT_EQ(crc.AddBytes({}), 0x352441C2);  // no bytes, no change
  crc.SetValue(0);                          // the register itself: Value is its complement
  EXPECT_EQ(crc.Value(), -1);

  crc.SetAlgorithm(0);
  EXPECT_EQ(crc.Algorithm(), 0);
  EXPECT_EQ(crc.Value(), 0);
  EXPECT_EQ(crc.CalculateString("1234"), ReferenceCrc16(0, "1234"));
  EXPECT_EQ(crc.CalculateString("56789"), 0x31C3);  // Calculate does not clear
  crc.SetValue(0x12345);
  EXPECT_EQ(crc.Value(), 0x2345);

  crc.SetAlgorithm(5);  // any non-zero value is CRC-32, cleared
  EXPECT_EQ(crc.Algorithm(), -1);
  EXPECT_EQ(crc.CalculateString("123456789"), int32_t(0xCBF43926u));
}
