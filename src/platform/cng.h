// Hashes through the platform's newer cryptographic service (CNG, bcrypt.dll).
// The worker threads of a check hash through it because its hash objects
// need no provider handle with a key container, and their work on one
// thread waits on nothing another thread does. Older systems have no
// bcrypt.dll: then nothing is available and callers use the CryptoAPI.
// An interface so that a test can make it unavailable or failing.
#pragma once
#include <cstdint>

#include "platform/crypto.h"

namespace kv {

class CngApi {
 public:
  virtual ~CngApi() = default;
  // The algorithm handle for a CryptoAPI id (kCalgMd4, kCalgMd5, kCalgSha),
  // shared by every thread; 0 when the platform does not offer it.
  virtual CryptHandle Algorithm(uint32_t algorithmId) = 0;
  virtual bool CreateHash(CryptHandle algorithm, CryptHandle& hash) = 0;
  virtual bool HashData(CryptHandle hash, const uint8_t* data, uint32_t n) = 0;
  // The digest's length for the hash's algorithm, then the digest itself
  // (after which the object takes no more data).
  virtual uint32_t DigestLength(CryptHandle hash) = 0;
  virtual bool FinishHash(CryptHandle hash, uint8_t* digest, uint32_t length) = 0;
  virtual void DestroyHash(CryptHandle hash) = 0;
};

// The real service, loaded on first use; safe to call from any thread.
CngApi& SystemCng();

}  // namespace kv
