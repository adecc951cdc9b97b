// The baseline loader and the entry write on any file text: the indexed
// lookup must give what the plain text search gives, a write must read back,
// and a saved baseline must load as the same sections.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/baseline.h"
#include "core/text.h"
#include "fuzz_check.h"

using namespace kv;

namespace {
std::string TextLookup(const Baseline& b, std::string_view name, std::string_view section) {
  const int i = b.SectionIndex(section);
  if (i == 0) return {};
  return Trim(TextBetween(b.SectionText(i), 1, std::string(CRLF) + std::string(name) + "=",
                          "*E\r\n"));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int ops = in.ConsumeIntegralInRange(0, 5);
  struct Op {
    std::string name, checksum, section;
  };
  std::vector<Op> list;
  for (int i = 0; i < ops; ++i) {
    Op op{in.ConsumeRandomLengthString(16), in.ConsumeRandomLengthString(12), {}};
    op.section = in.ConsumeBool() ? SectionOf(op.name) : in.ConsumeRandomLengthString(5);
    list.push_back(op);
  }
  const std::string text = in.ConsumeRemainingBytesAsString();

  Baseline b = Baseline::FromText(text);
  FUZZ_CHECK(b.SectionCount() >= 0 && b.SectionCount() <= kBaselineSections);
  for (const Op& op : list) {
    FUZZ_CHECK(b.LookupEntry(op.name, op.section) == TextLookup(b, op.name, op.section));
    const bool wrote = b.WriteEntry(op.name, op.checksum + "*E", op.section);
    FUZZ_CHECK(wrote == (b.SectionIndex(op.section) != 0));
    FUZZ_CHECK(b.LookupEntry(op.name, op.section) == TextLookup(b, op.name, op.section));
  }
  const Baseline again = Baseline::FromText(b.ToText());
  FUZZ_CHECK(again.SectionCount() <= kBaselineSections);

  BaselineSkeleton skeleton;
  for (const Op& op : list) skeleton.Add(op.name);
  const Baseline built = Baseline::FromText(skeleton.Text());
  FUZZ_CHECK(built.SectionCount() == kBaselineSections);
  return 0;
}
