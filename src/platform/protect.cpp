#include "platform/protect.h"

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

#include <algorithm>

#include "core/text.h"
#include "platform/wide_text.h"

namespace kv {

namespace {
constexpr char kSealsKey[] = "Software\\Korvanel\\Seals";
}  // namespace

// bcrypt.dll and crypt32.dll are no known system libraries: imported by
// name they would be looked for beside the program first, where a copy
// planted in a folder the user can write to would run before WinMain. So
// they are loaded from the system directory when first needed.
namespace {

FARPROC SystemFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? GetProcAddress(module, name) : nullptr;
}

template <class F>
F Function(const char* library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(SystemFunction(library, name)));
}

struct Bcrypt {
  decltype(&BCryptGenRandom) genRandom = Function<decltype(&BCryptGenRandom)>("bcrypt.dll", "BCryptGenRandom");
  decltype(&BCryptOpenAlgorithmProvider) open =
      Function<decltype(&BCryptOpenAlgorithmProvider)>("bcrypt.dll", "BCryptOpenAlgorithmProvider");
  decltype(&BCryptCloseAlgorithmProvider) close =
      Function<decltype(&BCryptCloseAlgorithmProvider)>("bcrypt.dll", "BCryptCloseAlgorithmProvider");
  decltype(&BCryptCreateHash) createHash = Function<decltype(&BCryptCreateHash)>("bcrypt.dll", "BCryptCreateHash");
  decltype(&BCryptHashData) hashData = Function<decltype(&BCryptHashData)>("bcrypt.dll", "BCryptHashData");
  decltype(&BCryptFinishHash) finishHash = Function<decltype(&BCryptFinishHash)>("bcrypt.dll", "BCryptFinishHash");
  decltype(&BCryptDestroyHash) destroyHash = Function<decltype(&BCryptDestroyHash)>("bcrypt.dll", "BCryptDestroyHash");
  bool usable() const {
    return genRandom && open && close && createHash && hashData && finishHash && destroyHash;
  }
};

const Bcrypt& BcryptCalls() {
  static const Bcrypt calls;
  return calls;
}

struct DataProtection {
  decltype(&CryptProtectData) protect = Function<decltype(&CryptProtectData)>("crypt32.dll", "CryptProtectData");
  decltype(&CryptUnprotectData) unprotect =
      Function<decltype(&CryptUnprotectData)>("crypt32.dll", "CryptUnprotectData");
};

const DataProtection& ProtectionCalls() {
  static const DataProtection calls;
  return calls;
}

std::optional<std::string> RunProtect(std::string_view bytes, bool protect) {
  const DataProtection& dp = ProtectionCalls();
  if (!dp.protect || !dp.unprotect) return std::nullopt;
  DATA_BLOB in{DWORD(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
  DATA_BLOB out{};
  const BOOL ok = protect ? dp.protect(&in, L"Korvanel seals", nullptr, nullptr, nullptr,
                                       CRYPTPROTECT_UI_FORBIDDEN, &out)
                          : dp.unprotect(&in, nullptr, nullptr, nullptr, nullptr,
                                         CRYPTPROTECT_UI_FORBIDDEN, &out);
  if (!ok) return std::nullopt;
  std::string result(reinterpret_cast<const char*>(out.pbData), out.cbData);
  SecureZeroMemory(out.pbData, out.cbData);
  LocalFree(out.pbData);
  return result;
}

}  // namespace

std::optional<std::string> RandomBytes(size_t n) {
  const Bcrypt& b = BcryptCalls();
  if (!b.usable()) return std::nullopt;
  std::string out(n, '\0');
  if (!BCRYPT_SUCCESS(b.genRandom(nullptr, reinterpret_cast<PUCHAR>(out.data()), ULONG(n),
                                  BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return std::nullopt;
  return out;
}

std::optional<std::string> ProtectForUser(std::string_view bytes) { return RunProtect(bytes, true); }
std::optional<std::string> UnprotectForUser(std::string_view blob) { return RunProtect(blob, false); }

HmacSha256Stream::HmacSha256Stream(std::string_view key) {
  const Bcrypt& b = BcryptCalls();
  if (key.empty() || !b.usable()) return;
  BCRYPT_ALG_HANDLE alg = nullptr;
  if (!BCRYPT_SUCCESS(b.open(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG))) return;
  alg_ = alg;
  BCRYPT_HASH_HANDLE hash = nullptr;
  PUCHAR secret = reinterpret_cast<PUCHAR>(const_cast<char*>(key.data()));
  ok_ = BCRYPT_SUCCESS(b.createHash(alg, &hash, nullptr, 0, secret, ULONG(key.size()), 0));
  hash_ = hash;
}

HmacSha256Stream::~HmacSha256Stream() {
  const Bcrypt& b = BcryptCalls();
  if (hash_) b.destroyHash(hash_);
  if (alg_) b.close(alg_, 0);
}

void HmacSha256Stream::Add(std::string_view bytes) {
  const Bcrypt& b = BcryptCalls();
  for (size_t done = 0; ok_ && done < bytes.size();) {
    const ULONG chunk = ULONG(std::min<size_t>(bytes.size() - done, 1u << 30));
    ok_ = BCRYPT_SUCCESS(
        b.hashData(hash_, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + done)), chunk, 0));
    done += chunk;
  }
}

std::optional<std::string> HmacSha256Stream::Finish() {
  if (!ok_) return std::nullopt;
  ok_ = false;
  std::string digest(32, '\0');
  if (!BCRYPT_SUCCESS(BcryptCalls().finishHash(hash_, reinterpret_cast<PUCHAR>(digest.data()), 32, 0)))
    return std::nullopt;
  return digest;
}

std::optional<std::string> HmacSha256(std::string_view key, std::string_view bytes) {
  HmacSha256Stream mac(key);
  mac.Add(bytes);
  return mac.Finish();
}

namespace {
// The folder as the registry value's name, exactly as the folder is named.
std::wstring ValueName(const std::string& dataFolder) { return WideText(LCase(dataFolder)); }
}  // namespace

bool SealsWereMade(const std::string& dataFolder) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSealsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  const bool found = RegQueryValueExW(key, ValueName(dataFolder).c_str(), nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

void NoteSealsMade(const std::string& dataFolder) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSealsKey, 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const DWORD one = 1;
  RegSetValueExW(key, ValueName(dataFolder).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                 sizeof one);
  RegCloseKey(key);
}

void ForgetSealsMade(const std::string& dataFolder) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSealsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueW(key, ValueName(dataFolder).c_str());
  RegCloseKey(key);
}

bool SetFileAside(const std::string& path) {
  return MoveFileExW(WidePath(path).c_str(), WidePath(path + ".rejected").c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace kv
