#include "integrity/checksum/file_checksum.h"

#include "context/app.h"
#include "core/clsCRC.h"
#include "integrity/checksum/clsHash.h"
#include "integrity/checksum/sequential_file.h"
#include "platform/pump.h"

namespace kv {

namespace {

FileSum HashText(HashProvider& provider, ChecksumKind kind, const std::string& path,
                 int32_t& readBufferSize, const std::function<void()>& pump,
                 std::vector<uint8_t>* buffer) {
  clsHash hash(provider);
  hash.HashAlgorithm(int32_t(kind));
  hash.CreateHash();
  FileSum sum;
  sum.read = hash.CalculateFile3(path, readBufferSize, pump, buffer);
  sum.text = hash.GetDigestedData(DigestFormatOf(kind));
  // The digest is complete before the object goes; a refusal to destroy
  // it says nothing about the file.
  (void)hash.DestroyHash();
  return sum;
}

FileSum CrcText(const std::string& path, int32_t& readBufferSize,
                const std::function<void()>& pump, std::vector<uint8_t>* buffer) {
  SequentialFile file(path);
  clsCRC crc;
  FileSum sum;
  sum.text = Crc32Text(crc.CalculateFile2(
      file.Length(), readBufferSize,
      [&file](uint8_t* bytes, size_t n) { return file.Read(bytes, n); }, pump, buffer));
  sum.read = file.Outcome();
  return sum;
}

}  // namespace

std::string FileChecksum(App& app, const std::string& path) {
  return ReadFileChecksum(app, path).text;
}

FileSum ReadFileChecksum(App& app, const std::string& path) {
  const ChecksumKind kind = ChecksumKindOf(app.algorithmName);
  if (kind == ChecksumKind::None) return {};
  // A file of hundreds of megabytes is read on the calling window's thread:
  // between its chunks the window answers clicks and repaints.
  clsDoEvents events;
  events.QueueUsed(clsDoEvents::kDefaultQueue);
  const auto pump = [&events] { events.GetInputState(); };
  if (kind != ChecksumKind::Crc32) {
    // One provider for the whole run; each file its own hash object.
    const bool aes = HashProvider::NeedsAes(kind);
    HashProvider* provider = app.kept.Find<HashProvider>();
    if (!provider || provider->aes() != aes)
      provider = &app.kept.Put<HashProvider>(app, SystemCrypto(), aes);
    return HashText(*provider, kind, path, app.readBufferSize, pump, nullptr);
  }
  return CrcText(path, app.readBufferSize, pump, nullptr);
}

std::optional<FileSum> WorkerFileChecksum(ChecksumKind kind, const std::string& path,
                                          int32_t readBufferSize, HashProvider& provider,
                                          std::vector<uint8_t>& buffer) {
  if (kind == ChecksumKind::None) return FileSum();
  if (kind == ChecksumKind::Crc32) return CrcText(path, readBufferSize, {}, &buffer);
  if (!provider.Acquire(false)) return std::nullopt;
  return HashText(provider, kind, path, readBufferSize, {}, &buffer);
}

}  // namespace kv
