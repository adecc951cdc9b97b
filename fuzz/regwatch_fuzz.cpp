// Registry value texts from any type and data, the snapshot keys and
// comparison, warning lines, and the entry-text-to-path rule on any entry.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/profile.h"
#include "core/regwatch_rules.h"
#include "core/text.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const unsigned long type = in.ConsumeIntegralInRange<unsigned long>(0, 12);
  const std::string name = in.ConsumeRandomLengthString(40);
  const std::string stored = in.ConsumeRandomLengthString(40);
  const int existing = in.ConsumeIntegralInRange(0, 3);
  const std::string raw = in.ConsumeRemainingBytesAsString();

  const std::string dataText = DataText(type, raw);
  const std::string valueText = ValueText(dataText);
  FUZZ_CHECK(valueText.find('\0') == std::string::npos);
  FUZZ_CHECK(valueText.rfind(" (", 0) == 0);
  IsStandardOpenCommand(dataText);
  BinaryText(raw);
  const std::string key = SnapshotKey(name, valueText);
  FUZZ_CHECK(key.find('=') == std::string::npos);
  // Whatever the name and value, the entry is stored under a usable key and
  // reads back as unchanged.
  const SnapshotEntry entry = SnapshotEntryOf(name, valueText);
  FUZZ_CHECK(ProfileNamesUsable("s", entry.key));
  const std::string back = ProfileGet(ProfileSet({}, false, "s", entry.key, entry.value), "s", entry.key);
  FUZZ_CHECK(CompareStoredValue(back, entry.value) == 0);
  const int result = CompareStored(stored, valueText);
  FUZZ_CHECK(result >= 0 && result <= 2);
  const auto& places = RegistryPassPlaces();
  WarningLine(places[raw.size() % places.size()], key, valueText, result ? result : 1);

  int calls = 0;
  const auto exists = [&](const std::string&) { return ++calls % 4 == existing; };
  for (std::string_view entry : {std::string_view(raw), std::string_view(valueText),
                                 std::string_view(name)}) {
    const auto path = EntryFilePath(entry, "C:\\windows\\", "C:\\windows\\system32\\", exists);
    if (path) FUZZ_CHECK(!path->empty());
  }
  return 0;
}
