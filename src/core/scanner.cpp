#include "core/scanner.h"

#include "core/escaped_text.h"
#include "core/text.h"

#include <cctype>

namespace kv {

std::string FileItem(std::string_view path, std::string_view quoteChar, bool useShortPaths,
                     const ShortPathFn& shortPathOf) {
  std::string out(quoteChar);
  if (!useShortPaths)
    out += path;
  else if (shortPathOf)
    out += shortPathOf(std::string(path));
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

std::vector<std::string_view> ViewsOf(const std::vector<std::string>& texts) {
  return std::vector<std::string_view>(texts.begin(), texts.end());
}

bool HoldsQuote(std::string_view path) { return path.find('"') != std::string_view::npos; }

BatchedScanResult BatchedScan(const std::vector<std::string_view>& entries, long filesPerBatch,
                              const ScannerConfig& first, const ScannerConfig& second,
                              const FileItemOptions& itemOptions, const StartFn& start,
                              bool stopOnFailure) {
  BatchedScanResult result;
  const bool secondSet = !TrimView(second.program).empty();
  std::string batch, logged;
  long count = 0;

  // Returns false when the scan has to end here.
  const auto runBatch = [&]() {
    result.items += logged;
    logged.clear();
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
    if (entries[i].find_first_not_of(' ') != std::string_view::npos) {
      // A double quote names no file the system can open (registry and
      // pending-rename texts may hold one); on the command line it would
      // end the file's argument and begin the text's own. The log shows it
      // escaped, as the log's own quotes are taken out.
      if (HoldsQuote(entries[i])) {
        logged += FileItem(ReplaceAll(entries[i], "\"", CodePointEscape('"')), itemOptions.quoteChar,
                           false, nullptr);
      } else {
        const size_t from = logged.size();
        logged += FileItem(entries[i], itemOptions.quoteChar, itemOptions.useShortPaths,
                           itemOptions.shortPathOf);
        batch.append(logged, from);
      }
    }
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
