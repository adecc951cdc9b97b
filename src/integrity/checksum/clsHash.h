// The hash engine: MD4, MD5, SHA-1 or SHA-256 of a file through the platform's
// cryptographic service. One object per computation: HashAlgorithm,
// CreateHash, CalculateFile3, GetDigestedData, DestroyHash.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/checksum_text.h"
#include "integrity/checksum/file_sum.h"
#include "platform/crypto.h"

namespace kv {

class App;

// The error number DestroyHash hands back when the platform will not
// destroy the hash object.
inline constexpr int32_t kHashDestroyError = int32_t(0x80040000u);

// The cryptographic provider: acquired on first use, released with the
// object. A run shares one, since acquiring costs far more than hashing a
// typical file; hash objects are never shared, because a message handler
// may checksum another file while one is half hashed.
class HashProvider {
 public:
  // SHA-256 is known only to the AES provider type; the older RSA type,
  // which MD4, MD5 and SHA-1 have always used, has no SHA-2.
  static bool NeedsAes(ChecksumKind kind) { return kind == ChecksumKind::Sha256; }

  explicit HashProvider(App& app, CryptoApi& crypto = SystemCrypto(), bool aes = false);
  ~HashProvider();
  HashProvider(const HashProvider&) = delete;
  HashProvider& operator=(const HashProvider&) = delete;

  // Tries the enhanced, then the base provider (for the AES type, the AES
  // provider, then the type's default), each without and with a new key
  // set; when all fail, says so in a message box (every time it is asked)
  // unless `tell` is false, as it is away from the user-interface thread.
  bool Acquire(bool tell = true);
  CryptHandle handle() const { return handle_; }
  int kind() const { return kind_; }  // 2 enhanced, 1 base, 0 none
  bool aes() const { return aes_; }
  CryptoApi& crypto() const { return crypto_; }
  App& app() const { return app_; }

 private:
  App& app_;
  CryptoApi& crypto_;
  CryptHandle handle_ = 0;
  bool aes_ = false;
  bool held_ = false;
  int kind_ = 0;
};

class clsHash {
 public:
  // The file reads use app.readBufferSize; the message about a missing
  // provider goes through the App's Host. This object has a provider of its
  // own ...
  explicit clsHash(App& app, CryptoApi& crypto = SystemCrypto());
  // ... or uses one shared with others, which must outlive it.
  explicit clsHash(HashProvider& shared);
  ~clsHash();
  clsHash(const clsHash&) = delete;
  clsHash& operator=(const clsHash&) = delete;

  // 0 MD4, 1 MD5, 2 SHA-1, 4 SHA-256; 3 is kept but selects no algorithm;
  // anything else is ignored.
  void HashAlgorithm(int32_t hAlgoId);
  int32_t HashAlgorithm() const { return hashAlgorithm_; }

  // A new hash object for the selected algorithm (the previous one is
  // destroyed first). Acquires the provider on first use; when no provider
  // can be had, says so in a message box and no hash object exists.
  void CreateHash();

  // Hashes the whole file in read-buffer-size chunks, yielding to the
  // message queue between them, then takes the digest. An empty file gives
  // no digest (SHA-256: the digest of empty input, as every other tool
  // gives it); one that cannot be opened gives the digest of empty input, so
  // it stays the same from check to check. Says whether the file was read
  // to its end, and if not why.
  FileRead CalculateFile3(const std::string& filename);
  // The same with the caller's read size, yield and buffer (a worker thread
  // reads without yielding and keeps one buffer for all its files).
  FileRead CalculateFile3(const std::string& filename, int32_t& readBufferSize,
                          const std::function<void()>& pump, std::vector<uint8_t>* scratch);

  // Format 0: hex pairs each followed by a TAB; 1: decimal byte values run
  // together (the baseline form); 2: the bytes as characters. Empty when
  // there is no digest or the format is unknown.
  std::string GetDigestedData(int echfFormat) const;

  // 0, or kHashDestroyError when the platform refused; the digest is gone
  // either way.
  [[nodiscard]] int32_t DestroyHash();

  int providerKind() const { return provider_.kind(); }  // 2 enhanced, 1 base, 0 none
  int hashState() const { return hashState_; }        // 2 while a hash object exists
  int32_t digestLength() const { return digestLength_; }

 private:
  void ReadHashValue();

  std::unique_ptr<HashProvider> own_;
  HashProvider& provider_;
  App& app_;
  CryptoApi& crypto_;
  int32_t hashAlgorithm_ = 0;
  uint32_t algorithmId_ = 0;
  CryptHandle hash_ = 0;
  int hashState_ = 0;
  bool finished_ = false;  // the digest was taken: the object takes no more data
  uint8_t digest_[32] = {};
  int32_t digestLength_ = 0;
};

}  // namespace kv
