// Handing files to the user's anti-virus scanners: starting one scanner
// command line, and the batched scan of a file list with the configured
// quoting, short-path and batch-size options.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/scanner.h"

namespace kv {

class App;

// Show mode of a started scanner: normal with the focus option, else minimised.
int ScannerShowMode(App& app);

// Starts the command line without waiting for it; false when it could not
// be started.
bool RunScanner(App& app, const std::string& command);

// What the scanners that were waited for said of the files. Common command-
// line scanners end with 0 when they found nothing and with another code
// when they found something or could not check; one still running after
// kScannerWaitMs, or given up with Stop, has said nothing.
struct ScanVerdict {
  bool clean = true;
  std::string program;                    // the first scanner that was not clean
  std::optional<unsigned long> exitCode;  // its exit code; none when it did not finish
};
inline constexpr unsigned long kScannerWaitMs = 30ul * 60 * 1000;

// Starts the command line and waits for it to end, showing which program
// runs with a Stop button; the verdict takes in how it ended. False when it
// could not be started.
bool RunScannerToEnd(App& app, const std::string& command, ScanVerdict& verdict);

// "Your anti-virus program reported a problem (exit code N).", or for a
// scanner that did not finish, that it did not.
std::string VerdictProblem(const ScanVerdict& verdict);
// The same, followed by "The files were not accepted into the baseline."
std::string VerdictMessage(const ScanVerdict& verdict);
// The message as a log header: with the scanner's program, ending in the
// header's ",".
std::string VerdictLogHeader(const ScanVerdict& verdict);

// The file item of one path with the configured quoting and short paths.
std::string ScannerFileItem(const App& app, const std::string& path);

// Runs the batched scan of `entries` (empty entries take a batch position
// but add no file). With startScanners false nothing is started and the
// items of every entry are only collected. With stopOnFailure the scan ends
// at the first start that fails. With a verdict, every scanner started is
// waited for (RunScannerToEnd) before the next start.
BatchedScanResult ScanFileList(App& app, const std::vector<std::string_view>& entries,
                               const ScannerConfig& first, const ScannerConfig& second,
                               bool startScanners, bool stopOnFailure,
                               ScanVerdict* verdict = nullptr);

// "Your Anti-Virus program could not be executed!!!" and the program path.
std::string ScannerNotExecutedMessage(const std::string& firstProgram);
void ShowScannerNotExecuted(App& app, const std::string& firstProgram);

}  // namespace kv
