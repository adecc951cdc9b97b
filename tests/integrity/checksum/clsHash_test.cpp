#include <string>
#include <vector>

#include "integrity/checksum/clsHash.h"
#include "platform/crypto.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr const char* kNoProviderText =
    "Unable to get a handle to key containers...\r\n"
    "Check your registry for the following names:\r\n"
    "Microsoft Base Cryptographic Provider v1.0\r\n"
    "Microsoft Enhanced Cryptographic Provider v1.0\r\n"
    "Without them, EzCryptoApi won't work.";

// The real provider, with the failures a test cannot provoke in it switched
// on and the provider calls recorded.
class RecordingCrypto final : public CryptoApi {
 public:
  struct Acquire {
    std::string name;
    uint32_t type, flags;
  };
  int providersMissing = 0;  // the first n acquire attempts fail
  bool destroyFails = false;
  std::vector<Acquire> acquired;
  std::vector<CryptHandle> released;
  int destroyed = 0;

  bool AcquireContext(CryptHandle& provider, const char* container, const char* name,
                      uint32_t type, uint32_t flags) override {
    acquired.push_back({name ? name : "", type, flags});
    if (int(acquired.size()) <= providersMissing) return false;
    return real.AcquireContext(provider, container, name, type, flags);
  }
  bool ReleaseContext(CryptHandle provider) override {
    released.push_back(provider);
    return real.ReleaseContext(provider);
  }
  bool CreateHash(CryptHandle p, uint32_t id, CryptHandle& h) override {
    return real.CreateHash(p, id, h);
  }
  bool HashData(CryptHandle h, const uint8_t* d, uint32_t n) override {
    return real.HashData(h, d, n);
  }
  bool GetHashValue(CryptHandle h, uint8_t* b, uint32_t& n) override {
    return real.GetHashValue(h, b, n);
  }
  bool DestroyHash(CryptHandle h) override {
    ++destroyed;
    const bool ok = real.DestroyHash(h);
    return ok && !destroyFails;
  }

 private:
  CryptoApi& real = SystemCrypto();
};

class HashTest : public AppTest {
 protected:
  HashTest() { folder.Write("abc.txt", "abc"); }
  std::string abc() const { return folder.path("abc.txt"); }
  RecordingCrypto crypto;
};

}  // namespace

TEST_F(HashTest, DigestFormats) {
  clsHash hash(app, crypto);
  hash.HashAlgorithm(1);
  hash.CreateHash();
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.digestLength(), 16);
  EXPECT_EQ(hash.GetDigestedData(0),
            "90\t01\t50\t98\t3C\tD2\t4F\tB0\tD6\t96\t3F\t7D\t28\tE1\t7F\t72\t");
  EXPECT_EQ(hash.GetDigestedData(1), "14418015260210791762141506312540225127114");
  EXPECT_EQ(hash.GetDigestedData(2),
            std::string("\x90\x01\x50\x98\x3C\xD2\x4F\xB0\xD6\x96\x3F\x7D\x28\xE1\x7F\x72", 16));
  EXPECT_EQ(hash.GetDigestedData(3), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(hash.GetDigestedData(4), "");
  EXPECT_EQ(hash.DestroyHash(), 0);
  EXPECT_EQ(hash.GetDigestedData(1), "");
}

TEST_F(HashTest, AlgorithmNumbers) {
  clsHash hash(app, crypto);
  EXPECT_EQ(hash.HashAlgorithm(), 0);
  hash.HashAlgorithm(2);
  hash.HashAlgorithm(5);   // ignored
  hash.HashAlgorithm(-1);  // ignored
  EXPECT_EQ(hash.HashAlgorithm(), 2);
  hash.CreateHash();
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.digestLength(), 20);

  // 3 is kept but selects nothing new: the identifier chosen before stays.
  hash.HashAlgorithm(3);
  EXPECT_EQ(hash.HashAlgorithm(), 3);
  hash.CreateHash();
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.digestLength(), 20);
}

TEST_F(HashTest, NoAlgorithmNoDigestAndNothingToDestroy) {
  clsHash hash(app, crypto);
  hash.HashAlgorithm(3);
  hash.CreateHash();
  EXPECT_EQ(hash.hashState(), 0);
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.GetDigestedData(1), "");
  EXPECT_EQ(hash.DestroyHash(), 0);
  EXPECT_EQ(crypto.destroyed, 0);
}

TEST_F(HashTest, ProviderAcquiredOnceAndReleasedWithTheObject) {
  {
    clsHash hash(app, crypto);
    hash.HashAlgorithm(1);
    hash.CreateHash();
    hash.CreateHash();  // destroys the first hash object, keeps the provider
    EXPECT_EQ(crypto.destroyed, 1);
    EXPECT_EQ(hash.providerKind(), 2);
    hash.CalculateFile3(abc());
    EXPECT_EQ(hash.GetDigestedData(1), "14418015260210791762141506312540225127114");
    EXPECT_EQ(crypto.acquired.size(), 1u);
    EXPECT_TRUE(crypto.released.empty());
  }
  EXPECT_EQ(crypto.released.size(), 1u);
  EXPECT_EQ(crypto.destroyed, 2);  // the live hash object went with it
}

TEST_F(HashTest, FallsBackThroughTheProviders) {
  crypto.providersMissing = 2;
  clsHash hash(app, crypto);
  hash.HashAlgorithm(1);
  hash.CreateHash();
  EXPECT_EQ(crypto.acquired.size(), 3u);  // the base provider, without a new key set
  EXPECT_EQ(hash.providerKind(), 1);
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.GetDigestedData(1), "14418015260210791762141506312540225127114");
}

TEST_F(HashTest, Sha256TakesTheAesProviderTypeAndItsDefaultWhereTheNameIsUnknown) {
  crypto.providersMissing = 2;  // no provider of that name, as on older systems
  HashProvider provider(app, crypto, true);
  clsHash hash(provider);
  hash.HashAlgorithm(4);
  hash.CreateHash();
  ASSERT_EQ(crypto.acquired.size(), 3u);
  EXPECT_EQ(crypto.acquired[0].name, kAesProvider);
  EXPECT_EQ(crypto.acquired[2].name, "");
  for (const auto& a : crypto.acquired) EXPECT_EQ(a.type, kProvRsaAes);
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.digestLength(), 32);
  EXPECT_EQ(hash.GetDigestedData(3), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(HashTest, NoProviderAtAllIsReportedEveryTimeAndGivesNoDigest) {
  crypto.providersMissing = 1000;
  host.ExpectBox(kNoProviderText, MsgAnswer::Ok, "Fatal Error [EzCryptoApi]", MsgIcon::Error);
  host.ExpectBox(kNoProviderText, MsgAnswer::Ok, "Fatal Error [EzCryptoApi]", MsgIcon::Error);
  clsHash hash(app, crypto);
  hash.HashAlgorithm(1);
  hash.CreateHash();
  // Enhanced, then base; each as it is, then with a new key set (8); always
  // the RSA full type (1). The names must be the system's to the letter.
  std::vector<std::string> attempts;
  for (const auto& a : crypto.acquired)
    attempts.push_back(a.name + "|" + std::to_string(a.type) + "|" + std::to_string(a.flags));
  EXPECT_EQ(attempts, (std::vector<std::string>{
                          "Microsoft Enhanced Cryptographic Provider v1.0|1|0",
                          "Microsoft Enhanced Cryptographic Provider v1.0|1|8",
                          "Microsoft Base Cryptographic Provider v1.0|1|0",
                          "Microsoft Base Cryptographic Provider v1.0|1|8"}));
  EXPECT_EQ(hash.providerKind(), 0);
  EXPECT_EQ(hash.hashState(), 0);
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.GetDigestedData(1), "");
  EXPECT_EQ(hash.DestroyHash(), 0);

  clsHash next(app, crypto);  // the next file checked
  next.HashAlgorithm(1);
  next.CreateHash();
  EXPECT_TRUE(crypto.released.empty());
}

TEST_F(HashTest, RefusedDestroyGoesToTheCaller) {
  crypto.destroyFails = true;
  clsHash hash(app, crypto);
  hash.HashAlgorithm(0);
  hash.CreateHash();
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.GetDigestedData(1), "16472112217533216829519310232122166114157");
  EXPECT_EQ(hash.DestroyHash(), kHashDestroyError);
  EXPECT_EQ(hash.hashState(), 0);
  EXPECT_EQ(hash.digestLength(), 0);
  EXPECT_EQ(hash.DestroyHash(), 0);  // nothing left to destroy
}

TEST_F(HashTest, ASecondFileNeedsANewHashObject) {
  folder.Write("other.txt", "other bytes");
  clsHash hash(app, crypto);
  hash.HashAlgorithm(1);
  hash.CreateHash();
  hash.CalculateFile3(abc());
  ASSERT_EQ(hash.GetDigestedData(1), "14418015260210791762141506312540225127114");

  // The finished object must not pass off the first file's digest as the
  // second's, whether the second can be read or not.
  hash.CalculateFile3(folder.path("other.txt"));
  EXPECT_EQ(hash.GetDigestedData(1), "");
  hash.CalculateFile3(folder.path("missing.txt"));
  EXPECT_EQ(hash.GetDigestedData(1), "");

  hash.CreateHash();
  hash.CalculateFile3(abc());
  EXPECT_EQ(hash.GetDigestedData(1), "14418015260210791762141506312540225127114");
}
