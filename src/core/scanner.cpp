#include "core/scanner.h"

#include "core/text.h"

#include <cctype>

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

std::string QuotedProgram(std::string_view program) {
  while (!program.empty() && program.front() == ' ') program.remove_prefix(1);
  while (!program.empty() && program.back() == ' ') program.remove_suffix(1);
  if (program.size() >= 2 && program.front() == '"' && program.back() == '"') return std::string(program);
  return "\"" + std::string(program) + "\"";
}

std::optional<std::string> ProgramOfCommandLine(std::string_view commandLine) {
  if (commandLine.empty() || commandLine.front() != '"') return std::nullopt;
  const size_t close = commandLine.find('"', 1);
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view program = commandLine.substr(1, close - 1);
  const bool drive = program.size() > 3 && std::isalpha(static_cast<unsigned char>(program[0])) &&
                     program[1] == ':' && program[2] == '\\';
  const bool share = program.size() > 2 && program.starts_with("\\\\");
  if (!drive && !share) return std::nullopt;
  // A character after the closing quote other than a blank would run into
  // the program name for the started program's own argument parsing.
  if (close + 1 < commandLine.size() && commandLine[close + 1] != ' ') return std::nullopt;
  return std::string(program);
}

std::string ScannerCommand(std::string_view program, std::string_view args, std::string_view items) {
  std::string out = QuotedProgram(program);
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
