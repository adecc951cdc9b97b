#include "platform/protect.h"

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

#include <algorithm>

#include "core/text.h"

namespace kv {

namespace {
constexpr char kSealsKey[] = "Software\\Korvanel\\Seals";
}  // namespace

std::optional<std::string> RandomBytes(size_t n) {
  std::string out(n, '\0');
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(out.data()), ULONG(n),
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return std::nullopt;
  return out;
}

namespace {
using CryptCall = BOOL(WINAPI*)(DATA_BLOB*, LPWSTR*, DATA_BLOB*, PVOID, CRYPTPROTECT_PROMPTSTRUCT*,
                                DWORD, DATA_BLOB*);

std::optional<std::string> RunProtect(std::string_view bytes, bool protect) {
  DATA_BLOB in{DWORD(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
  DATA_BLOB out{};
  const BOOL ok =
      protect ? CryptProtectData(&in, L"Korvanel seals", nullptr, nullptr, nullptr,
                                 CRYPTPROTECT_UI_FORBIDDEN, &out)
              : CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr,
                                   CRYPTPROTECT_UI_FORBIDDEN, &out);
  if (!ok) return std::nullopt;
  std::string result(reinterpret_cast<const char*>(out.pbData), out.cbData);
  SecureZeroMemory(out.pbData, out.cbData);
  LocalFree(out.pbData);
  return result;
}
}  // namespace

std::optional<std::string> ProtectForUser(std::string_view bytes) { return RunProtect(bytes, true); }
std::optional<std::string> UnprotectForUser(std::string_view blob) { return RunProtect(blob, false); }

std::optional<std::string> HmacSha256(std::string_view key, std::string_view bytes) {
  BCRYPT_ALG_HANDLE alg = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                  BCRYPT_ALG_HANDLE_HMAC_FLAG)))
    return std::nullopt;
  std::optional<std::string> result;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (BCRYPT_SUCCESS(BCryptCreateHash(alg, &hash, nullptr, 0,
                                      reinterpret_cast<PUCHAR>(const_cast<char*>(key.data())),
                                      ULONG(key.size()), 0))) {
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
      const ULONG chunk = ULONG(std::min<size_t>(bytes.size() - done, 1u << 30));
      ok = BCRYPT_SUCCESS(BCryptHashData(
          hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + done)), chunk, 0));
      done += chunk;
    }
    std::string digest(32, '\0');
    if (ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, reinterpret_cast<PUCHAR>(digest.data()), 32, 0)))
      result = std::move(digest);
    BCryptDestroyHash(hash);
  }
  BCryptCloseAlgorithmProvider(alg, 0);
  return result;
}

bool SealsWereMade(const std::string& dataFolder) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSealsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  const bool found = RegQueryValueExA(key, LCase(dataFolder).c_str(), nullptr, nullptr, nullptr,
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
  RegSetValueExA(key, LCase(dataFolder).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                 sizeof one);
  RegCloseKey(key);
}

void ForgetSealsMade(const std::string& dataFolder) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSealsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueA(key, LCase(dataFolder).c_str());
  RegCloseKey(key);
}

bool SetFileAside(const std::string& path) {
  return MoveFileExA(path.c_str(), (path + ".rejected").c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace kv
