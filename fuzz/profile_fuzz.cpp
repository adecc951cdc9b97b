// The initialisation-file reader and writer on any file text: a run of
// writes through the indexed document must give exactly the text and the
// reads of the plain whole-text rules, and every write must keep the lines
// it does not touch.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/profile.h"
#include "core/text.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const bool exists = in.ConsumeBool();
  const int writes = in.ConsumeIntegralInRange(0, 6);
  struct Op {
    std::string section, key, value;
  };
  std::vector<Op> ops;
  for (int i = 0; i < writes; ++i)
    ops.push_back({in.ConsumeRandomLengthString(12), in.ConsumeRandomLengthString(12),
                   in.ConsumeRandomLengthString(300)});
  const std::string text = in.ConsumeRemainingBytesAsString();

  std::string plain = exists ? text : std::string();
  bool plainExists = exists;
  ProfileDocument doc(plain, exists);
  for (const Op& op : ops) {
    const bool usable = ProfileNamesUsable(op.section, op.key);
    const std::string before = plain;
    plain = ProfileSet(plain, plainExists, op.section, op.key, op.value);
    FUZZ_CHECK(doc.Set(op.section, op.key, op.value) == usable);
    if (usable) {
      plainExists = true;
      const std::string read = ProfileGet(plain, op.section, op.key);
      FUZZ_CHECK(read.size() <= kProfileValueMax);
      // What was written reads back, as a part of it (cut and trimmed).
      FUZZ_CHECK(op.value.find(read) != std::string::npos);
    } else {
      FUZZ_CHECK(plain == before);
    }
    FUZZ_CHECK(doc.Text() == plain);
    FUZZ_CHECK(doc.Get(op.section, op.key) == ProfileGet(plain, op.section, op.key));
  }
  return 0;
}
