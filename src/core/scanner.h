// Scanner command lines and the batched hand-over of a file list to up to two
// anti-virus scanners. Starting a process is the caller's callback, so the
// rules run without the operating system.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Short (8.3) path of an existing file; empty when there is none.
using ShortPathFn = std::function<std::string(const std::string& path)>;

struct FileItemOptions {
  std::string quoteChar;        // "\"" with "Enclose Files with Quotes", else empty
  bool useShortPaths = false;
  ShortPathFn shortPathOf;      // needed only with useShortPaths
};

// quoteChar + path (or its short path) + quoteChar + " ".
std::string FileItem(std::string_view path, std::string_view quoteChar, bool useShortPaths,
                     const ShortPathFn& shortPathOf);

// program + " " + args + " " + items, the program in double quotes; empty
// args leave two spaces in a row.
std::string ScannerCommand(std::string_view program, std::string_view args, std::string_view items);

// The program in double quotes, unless it already stands in them. Unquoted,
// a path with spaces lets the system try each shorter path first
// (C:\Program.exe for C:\Program Files\...), a program anyone may plant.
std::string QuotedProgram(std::string_view program);

// The program a command line starts: the text inside its leading double
// quotes when that is a full path (a drive letter, ":\" or "\\"), else
// nothing. Only such command lines are started, so no program is ever
// looked for along a search path or guessed from an unquoted path.
std::optional<std::string> ProgramOfCommandLine(std::string_view commandLine);

struct ScannerConfig {
  std::string program;
  std::string args;
};

// Starts one command line; false when the process could not be started.
using StartFn = std::function<bool(const std::string& commandLine)>;

// True for a path holding a double quote: no file has such a name, and
// the path never goes onto a command line.
bool HoldsQuote(std::string_view path);

struct BatchedScanResult {
  std::string items;         // every file item produced, in order (for the log)
  bool startFailed = false;
};

// Cuts `entries` into batches of `filesPerBatch` positions (an empty entry
// takes a position but adds no file; one holding a double quote is logged,
// with the quote as "<U+0022>", but not started) and starts the first scanner, then the second when its
// program is set, for every batch that holds files.
// filesPerBatch <= 0 puts all entries into one batch. With stopOnFailure the
// scan ends at the first start that fails; otherwise failures are passed over.
// Views of texts held elsewhere, for a list handed over without a copy of each.
std::vector<std::string_view> ViewsOf(const std::vector<std::string>& texts);

BatchedScanResult BatchedScan(const std::vector<std::string_view>& entries, long filesPerBatch,
                              const ScannerConfig& first, const ScannerConfig& second,
                              const FileItemOptions& itemOptions, const StartFn& start,
                              bool stopOnFailure);

}  // namespace kv
