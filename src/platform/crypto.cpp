#include "platform/crypto.h"

#include <windows.h>
#include <wincrypt.h>

namespace kv {
namespace {

class Win32Crypto final : public CryptoApi {
 public:
  bool AcquireContext(CryptHandle& provider, const char* container, const char* providerName,
                      uint32_t providerType, uint32_t flags) override {
    HCRYPTPROV h = 0;
    if (!CryptAcquireContextA(&h, container, providerName, providerType, flags)) return false;
    provider = h;
    return true;
  }
  bool ReleaseContext(CryptHandle provider) override {
    return CryptReleaseContext(HCRYPTPROV(provider), 0) != FALSE;
  }
  bool CreateHash(CryptHandle provider, uint32_t algorithmId, CryptHandle& hash) override {
    HCRYPTHASH h = 0;
    if (!CryptCreateHash(HCRYPTPROV(provider), ALG_ID(algorithmId), 0, 0, &h)) return false;
    hash = h;
    return true;
  }
  bool HashData(CryptHandle hash, const uint8_t* data, uint32_t n) override {
    return CryptHashData(HCRYPTHASH(hash), data, n, 0) != FALSE;
  }
  bool GetHashValue(CryptHandle hash, uint8_t* buffer, uint32_t& length) override {
    DWORD n = length;
    if (!CryptGetHashParam(HCRYPTHASH(hash), HP_HASHVAL, buffer, &n, 0)) return false;
    length = n;
    return true;
  }
  bool DestroyHash(CryptHandle hash) override {
    return CryptDestroyHash(HCRYPTHASH(hash)) != FALSE;
  }
};

}  // namespace

CryptoApi& SystemCrypto() {
  static Win32Crypto crypto;
  return crypto;
}

}  // namespace kv
