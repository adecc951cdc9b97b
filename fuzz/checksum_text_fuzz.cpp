// The checksum texts: digest formats, CRC-32 text, the algorithm names, and
// the file baseline names built from them.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/baseline.h"
#include "core/checksum_text.h"
#include "core/clsCRC.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int format = in.ConsumeIntegralInRange(-1, 3);
  const std::string algorithm = in.ConsumeRandomLengthString(12);
  const std::string appDir = in.ConsumeRandomLengthString(40);
  const int slot = in.ConsumeIntegral<int>();
  const int32_t crc = in.ConsumeIntegral<int32_t>();
  const std::vector<uint8_t> digest = in.ConsumeRemainingBytes<uint8_t>();

  const std::string text = DigestText(digest, format);
  if (format == 1) FUZZ_CHECK(text.size() >= digest.size() && text.size() <= 3 * digest.size());
  if (format == 2) FUZZ_CHECK(text.size() == digest.size());
  const std::string hex = Crc32Text(crc);
  FUZZ_CHECK(!hex.empty() && hex.size() <= 8);
  ChecksumKindOf(algorithm);

  const std::string file = SystemBaselineFile(appDir, algorithm);
  FUZZ_CHECK(BackupFileOf(file).size() == file.size());
  const std::string folder = FolderBaselineFile(appDir, slot, algorithm);
  BackupFileOf(folder);
  SlotOfFolderBaselineFile(folder);
  SlotOfFolderBaselineFile(algorithm);

  clsCRC engine;
  engine.AddBytes(digest);
  engine.SetAlgorithm(0);
  engine.AddString(algorithm);
  return 0;
}
