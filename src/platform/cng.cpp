#include "platform/cng.h"

#include <windows.h>

namespace kv {
namespace {

// bcrypt.h's types and calls, taken from the DLL at run time so that the
// program still starts where it does not exist.
using Status = LONG;
using OpenProvider = Status(WINAPI*)(void** alg, const wchar_t* id, const wchar_t* impl, ULONG flags);
using GetProperty = Status(WINAPI*)(void* object, const wchar_t* property, UCHAR* out, ULONG size,
                                    ULONG* result, ULONG flags);
using CreateHashFn = Status(WINAPI*)(void* alg, void** hash, UCHAR* object, ULONG objectSize,
                                     UCHAR* secret, ULONG secretSize, ULONG flags);
using HashDataFn = Status(WINAPI*)(void* hash, UCHAR* input, ULONG size, ULONG flags);
using FinishHashFn = Status(WINAPI*)(void* hash, UCHAR* output, ULONG size, ULONG flags);
using DestroyHashFn = Status(WINAPI*)(void* hash);

// GetProcAddress's generic pointer as the call's own type.
template <typename F>
F Entry(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

class Win32Cng final : public CngApi {
 public:
  Win32Cng() {
    HMODULE dll = LoadLibraryA("bcrypt.dll");
    if (!dll) return;
    const auto open = Entry<OpenProvider>(dll, "BCryptOpenAlgorithmProvider");
    getProperty_ = Entry<GetProperty>(dll, "BCryptGetProperty");
    create_ = Entry<CreateHashFn>(dll, "BCryptCreateHash");
    hashData_ = Entry<HashDataFn>(dll, "BCryptHashData");
    finish_ = Entry<FinishHashFn>(dll, "BCryptFinishHash");
    destroy_ = Entry<DestroyHashFn>(dll, "BCryptDestroyHash");
    if (!open || !getProperty_ || !create_ || !hashData_ || !finish_ || !destroy_) return;
    // The handles live as long as the process: every check's workers share them.
    static constexpr const wchar_t* kIds[] = {L"MD4", L"MD5", L"SHA1"};
    for (int i = 0; i < 3; ++i) {
      void* alg = nullptr;
      if (open(&alg, kIds[i], nullptr, 0) >= 0) algorithms_[i] = alg;
    }
  }

  CryptHandle Algorithm(uint32_t algorithmId) override {
    const int i = algorithmId == kCalgMd4 ? 0 : algorithmId == kCalgMd5 ? 1 : algorithmId == kCalgSha ? 2 : -1;
    return i < 0 ? 0 : CryptHandle(algorithms_[i]);
  }
  bool CreateHash(CryptHandle algorithm, CryptHandle& hash) override {
    void* h = nullptr;
    // A null object buffer lets the service allocate the hash object itself.
    if (!algorithm || create_(reinterpret_cast<void*>(algorithm), &h, nullptr, 0, nullptr, 0, 0) < 0)
      return false;
    hash = CryptHandle(h);
    return true;
  }
  bool HashData(CryptHandle hash, const uint8_t* data, uint32_t n) override {
    return hashData_(reinterpret_cast<void*>(hash), const_cast<UCHAR*>(data), n, 0) >= 0;
  }
  uint32_t DigestLength(CryptHandle hash) override {
    DWORD length = 0;
    ULONG got = 0;
    if (getProperty_(reinterpret_cast<void*>(hash), L"HashDigestLength",
                     reinterpret_cast<UCHAR*>(&length), sizeof length, &got, 0) < 0)
      return 0;
    return length;
  }
  bool FinishHash(CryptHandle hash, uint8_t* digest, uint32_t length) override {
    return finish_(reinterpret_cast<void*>(hash), digest, length, 0) >= 0;
  }
  void DestroyHash(CryptHandle hash) override { destroy_(reinterpret_cast<void*>(hash)); }

 private:
  void* algorithms_[3] = {};
  GetProperty getProperty_ = nullptr;
  CreateHashFn create_ = nullptr;
  HashDataFn hashData_ = nullptr;
  FinishHashFn finish_ = nullptr;
  DestroyHashFn destroy_ = nullptr;
};

}  // namespace

CngApi& SystemCng() {
  static Win32Cng cng;  // made once, thread-safely, by the first caller
  return cng;
}

}  // namespace kv
