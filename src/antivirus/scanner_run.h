// Handing files to the user's anti-virus scanners: starting one scanner
// command line, and the batched scan of a file list with the configured
// quoting, short-path and batch-size options.
#pragma once
#include <string>
#include <vector>

#include "core/scanner.h"

namespace kv {

class App;

// Show mode of a started scanner: normal with the focus option, else minimised.
int ScannerShowMode(App& app);

// Starts the command line without waiting for it; false when it could not
// be started.
bool RunScanner(App& app, const std::string& command);

// The file item of one path with the configured quoting and short paths.
std::string ScannerFileItem(const App& app, const std::string& path);

// Runs the batched scan of `entries` (empty entries take a batch position
// but add no file). With startScanners false nothing is started and the
// items of every entry are only collected. With stopOnFailure the scan ends
// at the first start that fails.
BatchedScanResult ScanFileList(App& app, const std::vector<std::string>& entries,
                               const ScannerConfig& first, const ScannerConfig& second,
                               bool startScanners, bool stopOnFailure);

// "Your Anti-Virus program could not be executed!!!" and the program path.
std::string ScannerNotExecutedMessage(const std::string& firstProgram);
void ShowScannerNotExecuted(App& app, const std::string& firstProgram);

}  // namespace kv
