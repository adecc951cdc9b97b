#include "integrity/checksum/clsHash.h"

#include "context/app.h"
#include "core/checksum_text.h"
#include "core/chunked_read.h"
#include "integrity/checksum/sequential_file.h"
#include "platform/pump.h"

namespace kv {

namespace {
constexpr const char* kNoProviderTitle = "Fatal Error [EzCryptoApi]";
constexpr const char* kNoProviderText =
    "Unable to get a handle to key containers...\r\n"
    "Check your registry for the following names:\r\n"
    "Microsoft Base Cryptographic Provider v1.0\r\n"
    "Microsoft Enhanced Cryptographic Provider v1.0\r\n"
    "Without them, EzCryptoApi won't work.";
}  // namespace

HashProvider::HashProvider(App& app, CryptoApi& crypto, bool aes)
    : app_(app), crypto_(crypto), aes_(aes) {}

HashProvider::~HashProvider() {
  if (held_) crypto_.ReleaseContext(handle_);
}

bool HashProvider::Acquire(bool tell) {
  if (held_) return true;
  struct Attempt {
    const char* name;
    uint32_t flags;
    int kind;
  };
  static constexpr Attempt kRsaAttempts[] = {{kEnhancedProvider, 0, 2},
                                             {kEnhancedProvider, kCryptNewKeyset, 2},
                                             {kBaseProvider, 0, 1},
                                             {kBaseProvider, kCryptNewKeyset, 1}};
  // Older systems name the AES provider otherwise: the type's default is it.
  static constexpr Attempt kAesAttempts[] = {{kAesProvider, 0, 2},
                                             {kAesProvider, kCryptNewKeyset, 2},
                                             {nullptr, 0, 1},
                                             {nullptr, kCryptNewKeyset, 1}};
  for (const Attempt& a : aes_ ? kAesAttempts : kRsaAttempts) {
    CryptHandle h = 0;
    if (crypto_.AcquireContext(h, nullptr, a.name, aes_ ? kProvRsaAes : kProvRsaFull, a.flags)) {
      handle_ = h;
      held_ = true;
      kind_ = a.kind;
      return true;
    }
  }
  kind_ = 0;
  if (tell) app_.Ask(kNoProviderText, MsgButtons::Ok, kNoProviderTitle, MsgIcon::Error);
  return false;
}

clsHash::clsHash(App& app, CryptoApi& crypto)
    : own_(std::make_unique<HashProvider>(app, crypto)), provider_(*own_), app_(app), crypto_(crypto) {}

clsHash::clsHash(HashProvider& shared)
    : provider_(shared), app_(shared.app()), crypto_(shared.crypto()) {}

clsHash::~clsHash() { (void)DestroyHash(); }

void clsHash::HashAlgorithm(int32_t hAlgoId) {
  static constexpr uint32_t kIds[] = {kCalgMd4, kCalgMd5, kCalgSha, 0, kCalgSha256};
  if (hAlgoId < 0 || hAlgoId > 4) return;
  hashAlgorithm_ = hAlgoId;
  if (hAlgoId != 3) algorithmId_ = kIds[hAlgoId];
}

void clsHash::CreateHash() {
  if (hashState_ == 2) (void)DestroyHash();
  if (!provider_.Acquire()) return;
  CryptHandle h = 0;
  // Only a hash object that exists counts as one: destroying a handle the
  // platform never gave out would report an error for nothing.
  if (!crypto_.CreateHash(provider_.handle(), algorithmId_, h)) return;
  hash_ = h;
  hashState_ = 2;
  finished_ = false;
  digestLength_ = 0;
}

FileRead clsHash::CalculateFile3(const std::string& filename) {
  // As every read on a window's thread: input is answered between chunks.
  clsDoEvents events;
  events.QueueUsed(clsDoEvents::kDefaultQueue);
  return CalculateFile3(filename, app_.readBufferSize, [&events] { events.GetInputState(); }, nullptr);
}

FileRead clsHash::CalculateFile3(const std::string& filename, int32_t& readBufferSize,
                                 const std::function<void()>& pump, std::vector<uint8_t>* scratch) {
  digestLength_ = 0;
  SequentialFile file(filename);
  bool fedAll = true;
  const ReadOutcome outcome = ReadInChunks(
      file.Length(), readBufferSize,
      [&file](uint8_t* buffer, size_t n) { return file.Read(buffer, n); },
      [&](const uint8_t* bytes, size_t n) {
        if (hashState_ != 2 || !crypto_.HashData(hash_, bytes, uint32_t(n))) fedAll = false;
      },
      pump, scratch);
  if (outcome == ReadOutcome::Empty && algorithmId_ != kCalgSha256) return file.Outcome();
  // A hash object that refused data, or whose digest was already taken for
  // another file, would give a digest that is not this file's.
  if (fedAll && !finished_) ReadHashValue();
  return file.Outcome();
}

void clsHash::ReadHashValue() {
  digestLength_ = 0;
  if (hashState_ != 2) return;
  const uint32_t size = algorithmId_ == kCalgSha256 ? 32 : 20;
  uint32_t length = size;
  if (!crypto_.GetHashValue(hash_, digest_, length) || length > size) return;
  digestLength_ = int32_t(length);
  finished_ = true;
}

std::string clsHash::GetDigestedData(int echfFormat) const {
  return DigestText({digest_, size_t(digestLength_)}, echfFormat);
}

int32_t clsHash::DestroyHash() {
  if (hashState_ != 2) return 0;
  const bool destroyed = crypto_.DestroyHash(hash_);
  hash_ = 0;
  hashState_ = 0;
  digestLength_ = 0;
  finished_ = false;
  return destroyed ? 0 : kHashDestroyError;
}

}  // namespace kv
