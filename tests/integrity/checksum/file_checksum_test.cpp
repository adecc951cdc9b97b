#include <windows.h>

#include <functional>
#include <random>
#include <utility>
#include <string>

#include "core/checksum_text.h"
#include "controls/window.h"
#include "core/clsCRC.h"
#include "integrity/checksum/file_checksum.h"
#include "platform/crypto.h"
#include "support/app_fixture.h"
#include "support/pump.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr const char* kMd5OfEmpty = "2122914021714301784233128915223624866126";
constexpr const char* kMd5OfAbc = "14418015260210791762141506312540225127114";

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen());
  return s;
}

// The CRC-32 of all the bytes in one block, as the reference.
std::string Crc32Of(const std::string& bytes) {
  clsCRC crc;
  return Crc32Text(crc.CalculateString(bytes));
}

// The digest of all the bytes in one call to the provider, as the reference.
std::string DigestOf(uint32_t algorithmId, const std::string& bytes) {
  CryptoApi& api = SystemCrypto();
  CryptHandle prov = 0, hash = 0;
  if (!api.AcquireContext(prov, nullptr, kEnhancedProvider, kProvRsaFull, 0) &&
      !api.AcquireContext(prov, nullptr, kEnhancedProvider, kProvRsaFull, kCryptNewKeyset))
    return "no provider";
  uint8_t digest[20];
  uint32_t n = sizeof digest;
  const bool ok = api.CreateHash(prov, algorithmId, hash) &&
                  api.HashData(hash, reinterpret_cast<const uint8_t*>(bytes.data()),
                               uint32_t(bytes.size())) &&
                  api.GetHashValue(hash, digest, n);
  if (hash) api.DestroyHash(hash);
  api.ReleaseContext(prov);
  return ok ? DigestText({digest, n}, 1) : "hash failed";
}

class FileChecksumTest : public AppTest {
 protected:
  std::string Checksum(const std::string& algorithm, const std::string& bytes) {
    app.algorithmName = algorithm;
    folder.Write("f.bin", bytes);
    return FileChecksum(app, folder.path("f.bin"));
  }
};

}  // namespace

TEST_F(FileChecksumTest, Crc32TextsOfKnownFiles) {
  EXPECT_EQ(Checksum("CRC32", "123456789"), "CBF43926");
  EXPECT_EQ(Checksum("CRC32", "abc"), "352441C2");
  EXPECT_EQ(Checksum("CRC32", "\""), "762AE69");  // 0762AE69 without its leading zero
}

TEST_F(FileChecksumTest, HashTextsOfAbc) {
  EXPECT_EQ(Checksum("MD5", "abc"), kMd5OfAbc);
  EXPECT_EQ(Checksum("SHA1", "abc"), "1691536254716129106186623711312080194108156208216157");
  EXPECT_EQ(Checksum("MD4", "abc"), "16472112217533216829519310232122166114157");
  // SHA-256 as sha256sum and hashlib.sha256(...).hexdigest() print it, over
  // one chunk and over fifteen and a remainder.
  EXPECT_EQ(Checksum("sha256", "abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Checksum("SHA256", std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  // The provider kept for the run follows the algorithm back.
  EXPECT_EQ(Checksum("MD5", "abc"), kMd5OfAbc);
}

TEST_F(FileChecksumTest, EveryByteCountsAroundTheReadBufferSize) {
  for (int32_t bufferSize : {4096, 65536}) {
    for (size_t size : {size_t(bufferSize) - 1, size_t(bufferSize), size_t(bufferSize) + 1,
                        size_t(bufferSize) * 3}) {
      SCOPED_TRACE(std::to_string(bufferSize) + " / " + std::to_string(size));
      const std::string bytes = RandomBytes(size, unsigned(size));
      app.readBufferSize = bufferSize;
      EXPECT_EQ(Checksum("CRC32", bytes), Crc32Of(bytes));
      EXPECT_EQ(Checksum("MD5", bytes), DigestOf(kCalgMd5, bytes));
      EXPECT_EQ(Checksum("SHA1", bytes), DigestOf(kCalgSha, bytes));
      EXPECT_EQ(app.readBufferSize, bufferSize);
    }
  }
}

TEST_F(FileChecksumTest, EmptyFile) {
  EXPECT_EQ(Checksum("CRC32", ""), "0");
  EXPECT_EQ(Checksum("MD5", ""), "");
  EXPECT_EQ(Checksum("SHA1", ""), "");
  EXPECT_EQ(Checksum("SHA256", ""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST_F(FileChecksumTest, UnreadableFilesGetAConstantText) {
  folder.Write("locked.bin", "some bytes that cannot be read");
  HANDLE lock = CreateFileA(folder.path("locked.bin").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  app.algorithmName = "CRC32";
  EXPECT_EQ(FileChecksum(app, folder.path("locked.bin")), "0");
  app.algorithmName = "MD5";
  EXPECT_EQ(FileChecksum(app, folder.path("locked.bin")), kMd5OfEmpty);
  // ... which is never taken for a fingerprint: the file is there, unread.
  EXPECT_EQ(ReadFileChecksum(app, folder.path("locked.bin")).read, FileRead::Locked);
  CloseHandle(lock);

  // Once the lock is gone, the real checksum comes back.
  EXPECT_EQ(FileChecksum(app, folder.path("locked.bin")),
            DigestOf(kCalgMd5, "some bytes that cannot be read"));
  EXPECT_EQ(ReadFileChecksum(app, folder.path("locked.bin")).read, FileRead::Whole);

  app.algorithmName = "CRC32";
  EXPECT_EQ(FileChecksum(app, folder.path("missing.bin")), "0");
  EXPECT_EQ(FileChecksum(app, folder.dir()), "0");  // a folder is no file
  EXPECT_EQ(ReadFileChecksum(app, folder.path("missing.bin")).read, FileRead::Gone);
  EXPECT_EQ(ReadFileChecksum(app, folder.path("gone\\missing.bin")).read, FileRead::Gone);
  EXPECT_EQ(ReadFileChecksum(app, folder.dir()).read, FileRead::Whole);
  app.algorithmName = "MD5";
  EXPECT_EQ(FileChecksum(app, folder.path("missing.bin")), kMd5OfEmpty);
  EXPECT_EQ(ReadFileChecksum(app, folder.path("missing.bin")).read, FileRead::Gone);
}

TEST_F(FileChecksumTest, LockedEmptyFileReadsAsEmpty) {
  folder.Write("empty.bin", "");
  HANDLE lock = CreateFileA(folder.path("empty.bin").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  app.algorithmName = "MD5";
  EXPECT_EQ(FileChecksum(app, folder.path("empty.bin")), "");
  EXPECT_EQ(ReadFileChecksum(app, folder.path("empty.bin")).read, FileRead::Locked);
  CloseHandle(lock);
}

TEST_F(FileChecksumTest, AlgorithmNameSelectsTheEngine) {
  EXPECT_EQ(Checksum("crc32", "abc"), "352441C2");  // as the default settings file writes it
  EXPECT_EQ(Checksum("", "abc"), "352441C2");
  EXPECT_EQ(Checksum("   ", "abc"), "352441C2");
  EXPECT_EQ(Checksum("md5", "abc"), kMd5OfAbc);
  EXPECT_EQ(Checksum("Sha1", "abc"), "1691536254716129106186623711312080194108156208216157");
  EXPECT_EQ(Checksum(" MD5", "abc"), "");
  EXPECT_EQ(Checksum("MD5 ", "abc"), "");
  EXPECT_EQ(Checksum("SHA-1", "abc"), "");
  EXPECT_EQ(Checksum(" CRC32", "abc"), "");
}

TEST_F(FileChecksumTest, ReadBufferSizeZeroBecomesTheDefault) {
  const std::string bytes = RandomBytes(200000, 7);
  app.readBufferSize = 0;
  EXPECT_EQ(Checksum("CRC32", bytes), Crc32Of(bytes));
  EXPECT_EQ(app.readBufferSize, 65536);
  app.readBufferSize = 0;
  EXPECT_EQ(Checksum("MD5", bytes), DigestOf(kCalgMd5, bytes));
  EXPECT_EQ(app.readBufferSize, 65536);
}

namespace {
// A window that stands for the program's own: a repaint it waits for is
// handled only if the read yields to the message queue.
class PaintWindow final : public controls::Window {
 public:
  static inline int paints = 0;
  static inline int32_t* bufferSize = nullptr;
  static inline std::function<void()> onPaint;

  // Kept until the process ends: taking a shown window down costs seconds
  // under Wine without a window manager.
  static PaintWindow& Get() {
    static PaintWindow* window = new PaintWindow;
    return *window;
  }

 private:
  PaintWindow() {
    Create({"KvChecksumPaintWindow"}, 0, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr);
    UpdateWindow(hwnd());
    PumpPending();
  }
  bool OnPaint(HDC) override {
    ++paints;
    // A handler that changes the setting mid-check, as the settings page can.
    if (bufferSize) *bufferSize = 1000;
    if (onPaint) std::exchange(onPaint, nullptr)();
    return true;
  }
};
}  // namespace

// The queue is asked at most every few milliseconds, so these reads are long
// enough (thousands of small chunks) to outlast that interval for certain.
constexpr size_t kLongRead = 8u << 20;

TEST_F(FileChecksumTest, RepaintsAreHandledBetweenChunksWithoutLosingBytes) {
  const std::string bytes = RandomBytes(kLongRead, 11);
  // SHA-1 first: under Wine 8 a repaint asked for right after a long CRC-32
  // read is at times missing from GetQueueStatus's new-message bits during
  // the next read, so the order keeps the test about the program.
  for (const char* algorithm : {"SHA1", "CRC32"}) {
    SCOPED_TRACE(algorithm);
    PaintWindow& window = PaintWindow::Get();
    ASSERT_NE(window.hwnd(), nullptr);
    PaintWindow::paints = 0;
    PaintWindow::bufferSize = &app.readBufferSize;
    app.readBufferSize = 4096;
    InvalidateRect(window.hwnd(), nullptr, FALSE);
    const std::string text = Checksum(algorithm, bytes);
    PaintWindow::bufferSize = nullptr;
    EXPECT_EQ(PaintWindow::paints, 1);
    EXPECT_EQ(app.readBufferSize, 1000);
    EXPECT_EQ(text, std::string(algorithm) == "CRC32" ? Crc32Of(bytes) : DigestOf(kCalgSha, bytes));
  }
}

TEST_F(FileChecksumTest, AChecksumTakenByAHandlerLeavesTheFileInProgressIntact) {
  // A handler that checksums another file while this one is half hashed
  // must neither end this file's hash object nor mix the two.
  const std::string outer = RandomBytes(kLongRead, 21), inner = RandomBytes(30000, 22);
  folder.Write("inner.bin", inner);
  app.readBufferSize = 4096;
  std::string innerText;
  PaintWindow& window = PaintWindow::Get();
  PaintWindow::paints = 0;
  PaintWindow::onPaint = [&] { innerText = FileChecksum(app, folder.path("inner.bin")); };
  InvalidateRect(window.hwnd(), nullptr, FALSE);
  const std::string outerText = Checksum("MD5", outer);
  PaintWindow::onPaint = nullptr;
  ASSERT_EQ(PaintWindow::paints, 1);
  EXPECT_EQ(innerText, DigestOf(kCalgMd5, inner));
  EXPECT_EQ(outerText, DigestOf(kCalgMd5, outer));
}
