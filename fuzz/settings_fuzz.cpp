// The settings file text: ReadSetting on any file, the scanner value split,
// the flag lists, and TextBetween with delimiters taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/settings_store.h"
#include "core/text.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string opening = in.ConsumeRandomLengthString(16);
  const std::string closing = in.ConsumeRandomLengthString(8);
  const long start = in.ConsumeIntegralInRange<long>(-4, 64);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::string between = TextBetween(text, start, opening, closing);
  FUZZ_CHECK(between.size() <= text.size());
  if (!between.empty()) FUZZ_CHECK(FindNoCase(text, between) != std::string::npos);

  for (const char* word : {"GETSETT", "GETSETT2", "ADV", "ANTIVIRUS", "AV2", "ANTIVIRUS2", "ALGO",
                           "AUTO", "LASTCHECK", "other"}) {
    for (bool updates : {true, false}) {
      const std::string value = ReadSettingFromText(text, word, updates);
      FUZZ_CHECK(value.size() != 1);
      FUZZ_CHECK(value.find("\r\n") == std::string::npos);
      const ScannerSetting scanner = SplitScannerSetting(value);
      FUZZ_CHECK(scanner.program.size() + scanner.rawArgs.size() <= value.size());
      ParseCategoryList(value);
      ParseLong(value);
      ParseNumber(value);
    }
  }
  const std::string defaults = DefaultSettingsText(true);
  FUZZ_CHECK(ReadSettingFromText(defaults, "ALGO", true) == "crc32");
  return 0;
}
