// Log names from any date and time texts, their reverse, and the content
// line and report items of any text.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/log_file.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string date = in.ConsumeRandomLengthString(24);
  const std::string time = in.ConsumeRandomLengthString(24);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::string name = LogFileName(date, time);
  const std::string dateText = LogDateTextOf(name);
  const std::string timeText = LogTimeTextOf(name);
  LogFileNameOf(dateText, timeText);
  int probes = 0;
  UniqueLogName(name, [&](const std::string&) { return ++probes < 5; });
  LogDateTextOf(text);
  LogTimeTextOf(text);

  const std::string line = LogLine(text);
  FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
  ReportItems(text);
  ReportItems(line);
  return 0;
}
