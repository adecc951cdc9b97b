// The platform's cryptographic service (CryptoAPI), in the calls the hash
// engine makes. An interface so that a test can stand in for the provider
// where the real one cannot be made to fail (no provider installed, a hash
// object that will not go away); everything else uses SystemCrypto().
#pragma once
#include <cstdint>

namespace kv {

// HCRYPTPROV and HCRYPTHASH, which are pointer-sized integers.
using CryptHandle = uintptr_t;

inline constexpr uint32_t kProvRsaFull = 1;
inline constexpr uint32_t kProvRsaAes = 24;
inline constexpr uint32_t kCryptNewKeyset = 8;
inline constexpr uint32_t kCalgMd4 = 0x8002;
inline constexpr uint32_t kCalgMd5 = 0x8003;
inline constexpr uint32_t kCalgSha = 0x8004;
inline constexpr uint32_t kCalgSha256 = 0x800C;

inline constexpr const char* kEnhancedProvider = "Microsoft Enhanced Cryptographic Provider v1.0";
inline constexpr const char* kBaseProvider = "Microsoft Base Cryptographic Provider v1.0";
inline constexpr const char* kAesProvider = "Microsoft Enhanced RSA and AES Cryptographic Provider";

class CryptoApi {
 public:
  virtual ~CryptoApi() = default;
  // CryptAcquireContextA; a null container is the default key container.
  virtual bool AcquireContext(CryptHandle& provider, const char* container,
                              const char* providerName, uint32_t providerType,
                              uint32_t flags) = 0;
  virtual bool ReleaseContext(CryptHandle provider) = 0;
  // CryptCreateHash without a key and without flags.
  virtual bool CreateHash(CryptHandle provider, uint32_t algorithmId, CryptHandle& hash) = 0;
  virtual bool HashData(CryptHandle hash, const uint8_t* data, uint32_t n) = 0;
  // CryptGetHashParam(HP_HASHVAL): `length` is the buffer's size on entry
  // and the digest's length on return.
  virtual bool GetHashValue(CryptHandle hash, uint8_t* buffer, uint32_t& length) = 0;
  virtual bool DestroyHash(CryptHandle hash) = 0;
};

// The real CryptoAPI. It holds no state, so one instance serves every caller.
CryptoApi& SystemCrypto();

}  // namespace kv
