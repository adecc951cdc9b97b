// Scanner command lines and batches from any configuration and file list:
// every file reaches every start exactly once, in order, and no start is
// made without files.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/scanner.h"
#include "core/text.h"
#include "fuzz_check.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ScannerConfig first{in.ConsumeRandomLengthString(20), in.ConsumeRandomLengthString(10)};
  ScannerConfig second{in.ConsumeRandomLengthString(20), in.ConsumeRandomLengthString(10)};
  FileItemOptions options;
  options.quoteChar = in.ConsumeBool() ? "\"" : "";
  options.useShortPaths = in.ConsumeBool();
  options.shortPathOf = [](const std::string& p) { return p.size() % 3 ? p.substr(0, 8) : ""; };
  const long perBatch = in.ConsumeIntegralInRange<long>(-2, 8);
  const bool stop = in.ConsumeBool();
  const int failAt = in.ConsumeIntegralInRange(-1, 6);
  std::vector<std::string> entries;
  while (in.remaining_bytes() > 0 && entries.size() < 64)
    entries.push_back(in.ConsumeRandomLengthString(24));

  int starts = 0;
  const StartFn start = [&](const std::string& command) {
    FUZZ_CHECK(!command.empty());
    return starts++ != failAt;
  };
  const BatchedScanResult result = BatchedScan(entries, perBatch, first, second, options, start, stop);
  std::string items;
  for (const std::string& e : entries)
    if (!Trim(e).empty()) items += FileItem(e, options.quoteChar, options.useShortPaths, options.shortPathOf);
  if (!result.startFailed) FUZZ_CHECK(result.items == items);
  // Whatever the configuration, a command line is started only when it
  // names its program as a quoted full path, and then that path exactly.
  const std::string command = ScannerCommand(first.program, first.args, result.items);
  if (const auto program = ProgramOfCommandLine(command)) {
    FUZZ_CHECK(command.compare(1, program->size(), *program) == 0);
    FUZZ_CHECK(program->find('"') == std::string::npos);
  }
  ProgramOfCommandLine(first.program);
  return 0;
}
