#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/checksum_text.h"
#include "core/chunked_read.h"
#include "core/clsCRC.h"

using namespace kv;

namespace {

// A file held in memory, read front to back; the read numbered failAt fails.
struct MemoryFile {
  std::string bytes;
  int failAt = 0;
  size_t pos = 0;
  int reads = 0;
  std::function<bool(uint8_t*, size_t)> Reader() {
    return [this](uint8_t* buffer, size_t n) {
      if (++reads == failAt || pos + n > bytes.size()) return false;
      std::copy_n(bytes.data() + pos, n, buffer);
      pos += n;
      return true;
    };
  }
};

struct ReadLog {
  std::vector<size_t> chunks;
  std::string fed;
  int pumps = 0;
};

ReadOutcome Read(MemoryFile& file, int32_t& readBufferSize, ReadLog& log,
                 std::function<void()> duringPump = nullptr) {
  return ReadInChunks(
      file.bytes.size(), readBufferSize, file.Reader(),
      [&](const uint8_t* p, size_t n) {
        log.chunks.push_back(n);
        log.fed.append(reinterpret_cast<const char*>(p), n);
      },
      [&] {
        ++log.pumps;
        if (duringPump) duringPump();
      });
}

std::string Crc32Of(std::string_view bytes) {
  clsCRC crc;
  return Crc32Text(crc.CalculateString(bytes));
}

}  // namespace

TEST(ChunkedRead, EveryByteOnceAroundTheBufferSize) {
  for (size_t size : {1u, 63u, 64u, 65u, 128u, 1000u}) {
    MemoryFile file{std::string(size, 'x')};
    std::iota(file.bytes.begin(), file.bytes.end(), '\0');
    int32_t readBufferSize = 64;
    ReadLog log;
    EXPECT_EQ(Read(file, readBufferSize, log), ReadOutcome::Complete);
    EXPECT_EQ(log.fed, file.bytes) << size;
    EXPECT_EQ(log.chunks.size(), (size + 63) / 64) << size;
    EXPECT_EQ(log.chunks.back(), size % 64 ? size % 64 : 64) << size;  // a full last chunk
    EXPECT_EQ(log.pumps, int(log.chunks.size()) - 1) << size;          // between chunks only
  }
}

TEST(ChunkedRead, BufferSizeDefaultsOnceAndIsReadPerChunk) {
  MemoryFile file{std::string(70000, 'k')};
  int32_t readBufferSize = 0;  // settings not loaded yet
  ReadLog log;
  Read(file, readBufferSize, log);
  EXPECT_EQ(readBufferSize, 65536);  // the caller's value itself
  EXPECT_EQ(log.chunks, (std::vector<size_t>{65536, 4464}));

  // A settings change handled during a pump applies from the next chunk on.
  file.pos = 0;
  readBufferSize = 1000;
  ReadLog changed;
  Read(file, readBufferSize, changed, [&] { readBufferSize = 30000; });
  EXPECT_EQ(changed.chunks, (std::vector<size_t>{1000, 30000, 30000, 9000}));
  EXPECT_EQ(changed.fed, file.bytes);

  file.pos = 0;
  readBufferSize = -1;
  ReadLog negative;
  EXPECT_EQ(Read(file, readBufferSize, negative), ReadOutcome::Failed);
  EXPECT_TRUE(negative.fed.empty());
}

TEST(ChunkedRead, EmptyUnopenableAndFailingFiles) {
  int32_t readBufferSize = 0;
  MemoryFile empty;
  ReadLog log;
  EXPECT_EQ(Read(empty, readBufferSize, log), ReadOutcome::Empty);
  EXPECT_EQ(readBufferSize, 0);  // nothing was read
  EXPECT_EQ(ReadInChunks(std::nullopt, readBufferSize, empty.Reader(),
                         [](const uint8_t*, size_t) { ADD_FAILURE(); }, nullptr),
            ReadOutcome::Failed);

  MemoryFile failing{"abcdef", 3};
  readBufferSize = 2;
  ReadLog partial;
  EXPECT_EQ(Read(failing, readBufferSize, partial), ReadOutcome::Failed);
  EXPECT_EQ(partial.fed, "abcd");  // a hash reports the digest of these
}

TEST(ClsCrc, FileChecksumsAsStoredInBaselines) {
  std::mt19937 gen(4);
  MemoryFile file{std::string(200000, '\0')};
  for (char& c : file.bytes) c = char(gen());
  clsCRC crc;
  int32_t readBufferSize = 65536;
  EXPECT_EQ(Crc32Text(crc.CalculateFile2(file.bytes.size(), readBufferSize, file.Reader(), {})),
            Crc32Of(file.bytes));

  MemoryFile empty, locked{"data", 1};
  EXPECT_EQ(Crc32Text(crc.CalculateFile2(0, readBufferSize, empty.Reader(), {})), "0");
  EXPECT_EQ(Crc32Text(crc.CalculateFile2(std::nullopt, readBufferSize, empty.Reader(), {})), "0");
  EXPECT_EQ(Crc32Text(crc.CalculateFile2(4, readBufferSize, locked.Reader(), {})), "0");
}

TEST(ChecksumText, CrcAsUpperCaseHexWithoutLeadingZeros) {
  EXPECT_EQ(Crc32Of("123456789"), "CBF43926");
  EXPECT_EQ(Crc32Of("abc"), "352441C2");
  EXPECT_EQ(Crc32Of("\""), "762AE69");
  EXPECT_EQ(Crc32Text(std::nullopt), "0");
  EXPECT_EQ(Crc32Text(0), "0");
}

TEST(ChecksumText, DigestFormats) {
  const uint8_t md5OfAbc[] = {144, 1,   80, 152, 60, 210, 79,  176,
                              214, 150, 63, 125, 40, 225, 127, 114};
  EXPECT_EQ(DigestText(md5OfAbc, 1), "14418015260210791762141506312540225127114");
  EXPECT_EQ(DigestText(std::span(md5OfAbc, 3), 0), "90\t01\t50\t");
  EXPECT_EQ(DigestText(std::span(md5OfAbc, 2), 2), std::string("\x90\x01", 2));
  // The SHA-256 form: what sha256sum and Get-FileHash (lower-cased) print.
  EXPECT_EQ(DigestText(std::span(md5OfAbc, 4), 3), "90015098");
  EXPECT_EQ(DigestText(md5OfAbc, 4), "");
  EXPECT_EQ(DigestText({}, 1), "");  // no digest
}

TEST(ChecksumText, AlgorithmNameSelectsTheEngine) {
  EXPECT_EQ(ChecksumKindOf("crc32"), ChecksumKind::Crc32);  // as the default settings write it
  EXPECT_EQ(ChecksumKindOf(""), ChecksumKind::Crc32);
  EXPECT_EQ(ChecksumKindOf("   "), ChecksumKind::Crc32);
  EXPECT_EQ(ChecksumKindOf("md5"), ChecksumKind::Md5);
  EXPECT_EQ(ChecksumKindOf("Md4"), ChecksumKind::Md4);
  EXPECT_EQ(ChecksumKindOf("SHA1"), ChecksumKind::Sha1);
  EXPECT_EQ(int(ChecksumKind::Sha1), 2);  // the hash engine's algorithm number
  EXPECT_EQ(ChecksumKindOf(" MD5"), ChecksumKind::None);  // upper-cased, never trimmed
  EXPECT_EQ(ChecksumKindOf("CRC32 "), ChecksumKind::None);
  EXPECT_EQ(ChecksumKindOf("SHA-1"), ChecksumKind::None);
  EXPECT_EQ(ChecksumKindOf("sha256"), ChecksumKind::Sha256);
  EXPECT_EQ(DigestFormatOf(ChecksumKind::Sha256), 3);
  EXPECT_EQ(DigestFormatOf(ChecksumKind::Sha1), 1);
}
