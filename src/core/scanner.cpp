#include "core/scanner.h"

#include "core/text.h"

namespace kv {

std::string FileItem(const std::string& path, std::string_view quoteChar, bool useShortPaths,
                     const ShortPathFn& shortPathOf) {
  std::string out(quoteChar);
  if (!useShortPaths)
    out += path;
  else if (shortPathOf)
    out += shortPathOf(path);
  out += quoteChar;
  out += ' ';
  return out;
}

std::string ScannerCommand(std::string_view program, std::string_view args, std::string_view items) {
  std::string out(program);
  out += ' ';
  out += args;
  out += ' ';
  out += items;
  return out;
}

BatchedScanResult BatchedScan(const std::vector<std::string>& entries, long filesPerBatch,
                              const ScannerConfig& first, const ScannerConfig& second,
                              const FileItemOptions& itemOptions, const StartFn& start,
                              bool stopOnFailure) {
  BatchedScanResult result;
  const bool secondSet = !Trim(second.program).empty();
  std::string batch;
  long count = 0;

  // Returns false when the scan has to end here.
  const auto runBatch = [&]() {
    result.items += batch;
    if (batch.empty()) return true;
    const std::string items = std::move(batch);
    batch.clear();
    for (const ScannerConfig* scanner : {&first, &second}) {
      if (scanner == &second && !secondSet) break;
      if (start && start(ScannerCommand(scanner->program, scanner->args, items))) continue;
      result.startFailed = true;
      if (stopOnFailure) return false;
    }
    return true;
  };

  for (size_t i = 0; i < entries.size(); ++i) {
    ++count;
    if (!Trim(entries[i]).empty())
      batch += FileItem(entries[i], itemOptions.quoteChar, itemOptions.useShortPaths,
                        itemOptions.shortPathOf);
    const bool last = i + 1 == entries.size();
    if (last || (filesPerBatch > 0 && count >= filesPerBatch)) {
      if (!runBatch()) break;
      batch.clear();
      count = 0;
    }
  }
  return result;
}

}  // namespace kv
