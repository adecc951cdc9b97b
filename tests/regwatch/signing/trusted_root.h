// The certificate authority the signature tests sign with (made at build
// time, see make_signed.sh) and the programs it signed.
#pragma once
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "platform/files.h"

#ifdef KV_SIGNING_DIR

namespace kv::test {

inline std::string Sample(const char* name) { return std::string(KV_SIGNING_DIR) + "\\" + name; }

// The test authority's root, trusted by the machine for the test's length:
// kept in the machine's root store in the registry. (Wine's Root system
// store is read from the host's certificate files and takes no additions.)
class TrustedTestRoot {
 public:
  TrustedTestRoot() {
    const auto der = ReadWholeFile(std::string(KV_SIGNING_DIR) + "\\root.cer");
    if (!der) return;
    const CERT_CONTEXT* cert = nullptr;
    HCERTSTORE store = Open();
    if (store &&
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                         reinterpret_cast<const BYTE*>(der->data()), DWORD(der->size()),
                                         CERT_STORE_ADD_REPLACE_EXISTING, &cert)) {
      DWORD size = sizeof hash_;
      added_ = CertGetCertificateContextProperty(cert, CERT_SHA1_HASH_PROP_ID, hash_, &size) != FALSE;
      CertFreeCertificateContext(cert);
    }
    if (store) CertCloseStore(store, 0);  // closing writes it to the registry
  }
  ~TrustedTestRoot() {
    if (!added_) return;
    HCERTSTORE store = Open();
    CRYPT_HASH_BLOB blob{sizeof hash_, hash_};
    if (const CERT_CONTEXT* cert =
            CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SHA1_HASH, &blob, nullptr))
      CertDeleteCertificateFromStore(cert);
    CertCloseStore(store, 0);
  }
  bool added() const { return added_; }

 private:
  static HCERTSTORE Open() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\SystemCertificates\\Root", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return nullptr;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key);
    RegCloseKey(key);
    return store;
  }
  BYTE hash_[20] = {};
  bool added_ = false;
};

}  // namespace kv::test

#endif
