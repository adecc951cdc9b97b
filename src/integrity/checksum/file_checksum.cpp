#include "integrity/checksum/file_checksum.h"

#include "context/app.h"
#include "core/checksum_text.h"
#include "core/clsCRC.h"
#include "integrity/checksum/clsHash.h"
#include "integrity/checksum/sequential_file.h"
#include "platform/pump.h"

namespace kv {

std::string FileChecksum(App& app, const std::string& path) {
  const ChecksumKind kind = ChecksumKindOf(app.algorithmName);
  if (kind == ChecksumKind::None) return {};
  if (kind != ChecksumKind::Crc32) {
    // One provider for the whole run; each file its own hash object.
    if (!app.hashProvider) app.hashProvider = MakeOwned<HashProvider>(app);
    clsHash hash(*app.hashProvider);
    hash.HashAlgorithm(int32_t(kind));
    hash.CreateHash();
    hash.CalculateFile3(path);
    std::string text = hash.GetDigestedData(1);
    // The digest is complete before the object goes; a refusal to destroy
    // it says nothing about the file.
    (void)hash.DestroyHash();
    return text;
  }
  clsDoEvents events;
  events.QueueUsed(clsDoEvents::kDefaultQueue);
  SequentialFile file(path);
  clsCRC crc;
  return Crc32Text(crc.CalculateFile2(
      file.Length(), app.readBufferSize,
      [&file](uint8_t* buffer, size_t n) { return file.Read(buffer, n); },
      [&events] { events.GetInputState(); }));
}

}  // namespace kv
