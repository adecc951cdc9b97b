// The maker's update file: the text test, its body between the markers and
// the checksum it names.
#include "core/update_file.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IsUpdateFileText(text);
  if (const auto body = UpdateFileBody(text)) {
    FUZZ_CHECK(!body->empty());
    FUZZ_CHECK(body->size() < size);
    const std::string sum = ExpectedChecksum(*body);
    FUZZ_CHECK(sum.size() < body->size());
    FUZZ_CHECK(sum.find(',') == std::string::npos);
  }
  return 0;
}
