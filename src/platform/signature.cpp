#include "platform/signature.h"

#include <windows.h>
#include <softpub.h>
#include <wintrust.h>
#include <mscat.h>

#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

// wintrust and crypt32 are loaded when a signature is first checked, from the
// system directory, never imported: imported, they and what they import
// would be looked for beside the program before its first instruction, when
// a library planted there could still be taken.
template <class F>
F Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

struct TrustApi {
  decltype(&WinVerifyTrust) WinVerifyTrust = nullptr;
  decltype(&WTHelperProvDataFromStateData) WTHelperProvDataFromStateData = nullptr;
  decltype(&WTHelperGetProvSignerFromChain) WTHelperGetProvSignerFromChain = nullptr;
  decltype(&CryptCATAdminAcquireContext) CryptCATAdminAcquireContext = nullptr;
  decltype(&CryptCATAdminCalcHashFromFileHandle) CryptCATAdminCalcHashFromFileHandle = nullptr;
  decltype(&CryptCATAdminEnumCatalogFromHash) CryptCATAdminEnumCatalogFromHash = nullptr;
  decltype(&CryptCATCatalogInfoFromContext) CryptCATCatalogInfoFromContext = nullptr;
  decltype(&CryptCATAdminReleaseCatalogContext) CryptCATAdminReleaseCatalogContext = nullptr;
  decltype(&CryptCATAdminReleaseContext) CryptCATAdminReleaseContext = nullptr;
  decltype(&CertGetNameStringW) CertGetNameStringW = nullptr;
  decltype(&CertVerifyCertificateChainPolicy) CertVerifyCertificateChainPolicy = nullptr;
  decltype(&CertGetCertificateContextProperty) CertGetCertificateContextProperty = nullptr;
  decltype(&CertOpenStore) CertOpenStore = nullptr;
  decltype(&CertFindCertificateInStore) CertFindCertificateInStore = nullptr;
  decltype(&CertFreeCertificateContext) CertFreeCertificateContext = nullptr;
  decltype(&CertCloseStore) CertCloseStore = nullptr;

  bool usable() const {
    return WinVerifyTrust && WTHelperProvDataFromStateData && WTHelperGetProvSignerFromChain &&
           CryptCATAdminAcquireContext && CryptCATAdminCalcHashFromFileHandle &&
           CryptCATAdminEnumCatalogFromHash && CryptCATCatalogInfoFromContext &&
           CryptCATAdminReleaseCatalogContext && CryptCATAdminReleaseContext && CertGetNameStringW &&
           CertVerifyCertificateChainPolicy && CertGetCertificateContextProperty && CertOpenStore &&
           CertFindCertificateInStore && CertFreeCertificateContext && CertCloseStore;
  }
};

const TrustApi& Api() {
  static const TrustApi api = [] {
    TrustApi a;
    const HMODULE trust = LoadLibraryExW(L"wintrust.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const HMODULE crypt = LoadLibraryExW(L"crypt32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
#define KV_BIND(module, name) a.name = Proc<decltype(a.name)>(module, #name)
    KV_BIND(trust, WinVerifyTrust);
    KV_BIND(trust, WTHelperProvDataFromStateData);
    KV_BIND(trust, WTHelperGetProvSignerFromChain);
    KV_BIND(trust, CryptCATAdminAcquireContext);
    KV_BIND(trust, CryptCATAdminCalcHashFromFileHandle);
    KV_BIND(trust, CryptCATAdminEnumCatalogFromHash);
    KV_BIND(trust, CryptCATCatalogInfoFromContext);
    KV_BIND(trust, CryptCATAdminReleaseCatalogContext);
    KV_BIND(trust, CryptCATAdminReleaseContext);
    KV_BIND(crypt, CertGetNameStringW);
    KV_BIND(crypt, CertVerifyCertificateChainPolicy);
    KV_BIND(crypt, CertGetCertificateContextProperty);
    KV_BIND(crypt, CertOpenStore);
    KV_BIND(crypt, CertFindCertificateInStore);
    KV_BIND(crypt, CertFreeCertificateContext);
    KV_BIND(crypt, CertCloseStore);
#undef KV_BIND
    return a;
  }();
  return api;
}


// The name of the certificate that signed, taken from the state a verify
// left open.
std::string SignerName(HANDLE state) {
  CRYPT_PROVIDER_DATA* data = Api().WTHelperProvDataFromStateData(state);
  if (!data) return {};
  CRYPT_PROVIDER_SGNR* signer = Api().WTHelperGetProvSignerFromChain(data, 0, FALSE, 0);
  if (!signer || signer->csCertChain == 0 || !signer->pasCertChain) return {};
  const CERT_CONTEXT* cert = signer->pasCertChain[0].pCert;
  if (!cert) return {};
  wchar_t name[512] = L"";
  Api().CertGetNameStringW(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, DWORD(std::size(name)));
  return NarrowText(name);
}

// Whether the root is one the machine's or the user's root store keeps in
// the registry. That is where Windows keeps the roots it trusts; Wine's own
// root store is built from the host's certificate files alone, so a root
// trusted in the prefix is found here only.
bool RootInRegistry(const CERT_CONTEXT* root) {
  BYTE hash[20];
  DWORD size = sizeof hash;
  if (!Api().CertGetCertificateContextProperty(root, CERT_SHA1_HASH_PROP_ID, hash, &size)) return false;
  CRYPT_HASH_BLOB blob{size, hash};
  for (HKEY base : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(base, L"Software\\Microsoft\\SystemCertificates\\Root", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
      continue;
    HCERTSTORE store = Api().CertOpenStore(CERT_STORE_PROV_REG, 0, 0, CERT_STORE_READONLY_FLAG, key);
    RegCloseKey(key);
    if (!store) continue;
    const CERT_CONTEXT* found =
        Api().CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SHA1_HASH, &blob, nullptr);
    if (found) Api().CertFreeCertificateContext(found);
    Api().CertCloseStore(store, 0);
    if (found) return true;
  }
  return false;
}

// Whether the signer's chain ends in a root the machine trusts. The
// platform's verify says so itself on Windows; Wine's passes a signature from
// any root, so the chain is held to the base policy here as well.
bool ChainTrusted(HANDLE state) {
  CRYPT_PROVIDER_DATA* data = Api().WTHelperProvDataFromStateData(state);
  if (!data) return false;
  CRYPT_PROVIDER_SGNR* signer = Api().WTHelperGetProvSignerFromChain(data, 0, FALSE, 0);
  if (!signer || !signer->pChainContext) return false;
  const CERT_CHAIN_CONTEXT* chain = signer->pChainContext;
  CERT_CHAIN_POLICY_PARA para{};
  para.cbSize = sizeof para;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!Api().CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, chain, &para, &status)) return false;
  if (status.dwError == 0) return true;
  // A chain whose one fault is its root: trusted when the registry keeps it.
  if (status.dwError != DWORD(CERT_E_UNTRUSTEDROOT) || chain->cChain == 0 ||
      (chain->TrustStatus.dwErrorStatus & ~DWORD(CERT_TRUST_IS_UNTRUSTED_ROOT)) != 0)
    return false;
  const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
  if (simple->cElement == 0) return false;
  return RootInRegistry(simple->rgpElement[simple->cElement - 1]->pCertContext);
}

// One verify with the given subject; the result code and, when it passed,
// the signer.
LONG Verify(WINTRUST_DATA& trust, std::string& publisher) {
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  trust.cbStruct = sizeof trust;
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  trust.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  LONG result = Api().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
  if (result == ERROR_SUCCESS && !ChainTrusted(trust.hWVTStateData)) result = LONG(CERT_E_UNTRUSTEDROOT);
  if (result == ERROR_SUCCESS) publisher = SignerName(trust.hWVTStateData);
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  Api().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
  return result;
}

bool NoSignature(LONG result) {
  return result == LONG(TRUST_E_NOSIGNATURE) || result == LONG(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
         result == LONG(TRUST_E_PROVIDER_UNKNOWN);
}

// A file the system vouches for through a catalog rather than a signature
// of its own (most of the system's files).
std::optional<LONG> VerifyByCatalog(const std::wstring& path, std::string& publisher) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<LONG> result;
  HCATADMIN admin = nullptr;
  if (Api().CryptCATAdminAcquireContext(&admin, nullptr, 0)) {
    DWORD size = 0;
    Api().CryptCATAdminCalcHashFromFileHandle(file, &size, nullptr, 0);
    std::vector<BYTE> hash(size);
    if (size && Api().CryptCATAdminCalcHashFromFileHandle(file, &size, hash.data(), 0)) {
      HCATINFO info = Api().CryptCATAdminEnumCatalogFromHash(admin, hash.data(), size, 0, nullptr);
      CATALOG_INFO catalog{};
      catalog.cbStruct = sizeof catalog;
      if (info && Api().CryptCATCatalogInfoFromContext(info, &catalog, 0)) {
        std::wstring tag;
        for (BYTE b : hash) {
          static const wchar_t digits[] = L"0123456789ABCDEF";
          tag += digits[b >> 4];
          tag += digits[b & 15];
        }
        WINTRUST_CATALOG_INFO cat{};
        cat.cbStruct = sizeof cat;
        cat.pcwszCatalogFilePath = catalog.wszCatalogFile;
        cat.pcwszMemberFilePath = path.c_str();
        cat.pcwszMemberTag = tag.c_str();
        cat.pbCalculatedFileHash = hash.data();
        cat.cbCalculatedFileHash = size;
        cat.hMemberFile = file;
        WINTRUST_DATA trust{};
        trust.dwUnionChoice = WTD_CHOICE_CATALOG;
        trust.pCatalog = &cat;
        result = Verify(trust, publisher);
      }
      if (info) Api().CryptCATAdminReleaseCatalogContext(admin, info, 0);
    }
    Api().CryptCATAdminReleaseContext(admin, 0);
  }
  CloseHandle(file);
  return result;
}

}  // namespace

std::string SignatureText(const FileSignature& signature) {
  switch (signature.state) {
    case SignatureState::Signed:
      return "Signed: " + signature.publisher;
    case SignatureState::NotSigned:
      return "Not signed";
    case SignatureState::NotValid:
      return "Signature not valid";
    case SignatureState::FileNotFound:
      break;
  }
  return "File not found";
}

bool SignedByMicrosoft(const FileSignature& signature) {
  return signature.state == SignatureState::Signed &&
         (signature.publisher == "Microsoft Corporation" || signature.publisher == "Microsoft Windows" ||
          signature.publisher.rfind("Microsoft Windows ", 0) == 0);
}

FileSignature VerifyFileSignature(const std::string& path) {
  FileSignature out;
  if (path.empty() || !FileExists(path)) return out;
  // Without the platform's checker nothing can be vouched for.
  if (!Api().usable()) {
    out.state = SignatureState::NotValid;
    return out;
  }
  const std::wstring wide = WideText(path);
  WINTRUST_FILE_INFO fileInfo{};
  fileInfo.cbStruct = sizeof fileInfo;
  fileInfo.pcwszFilePath = wide.c_str();
  WINTRUST_DATA trust{};
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &fileInfo;
  LONG result = Verify(trust, out.publisher);
  if (NoSignature(result)) {
    if (const auto byCatalog = VerifyByCatalog(wide, out.publisher)) result = *byCatalog;
  }
  out.state = result == ERROR_SUCCESS ? SignatureState::Signed
              : NoSignature(result)   ? SignatureState::NotSigned
                                      : SignatureState::NotValid;
  if (out.state != SignatureState::Signed) out.publisher.clear();
  return out;
}

}  // namespace kv
