#include "antivirus/scanner_run.h"

#include "antivirus/sWait.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

int ScannerShowMode(App& app) {
  // Read at every start, so a change saved while a batch is on its way
  // applies to the next start; the box loaded last when the file is unreadable.
  int focus = app.boxes.avfocus;
  if (auto options = ReadSetting(app, "ANTIVIRUS2")) {
    const auto values = Split(*options, ',');
    focus = values.size() > 2 ? int(ParseLong(values[2])) : 0;
  }
  return focus == 1 ? kShowNormal : kShowMinimized;
}

bool RunScanner(App& app, const std::string& command) {
  // No program (no scanner set up): nothing is started, and the start fails
  // as the system's would.
  if (!ProgramOfCommandLine(command)) return false;
  return app.host.StartProcess(command, ScannerShowMode(app));
}

bool RunScannerToEnd(App& app, const std::string& command, ScanVerdict& verdict) {
  const auto program = ProgramOfCommandLine(command);
  if (!program) return false;
  // Made for the wait and gone with it: nothing is left on screen between
  // scans, and each wait starts without a Stop pressed for the one before.
  sWait window(app);
  window.Show(*program);
  const ProcessEnd end = app.host.StartAndWait(command, ScannerShowMode(app), kScannerWaitMs, [&] {
    // The wait window's Stop is answered while the scanner runs.
    PumpMessages();
    return !window.Stopped() && !app.ended;
  });
  if (!end.started) return false;
  if (verdict.clean && (!end.finished || end.exitCode != 0)) {
    verdict.clean = false;
    verdict.program = *program;
    if (end.finished) verdict.exitCode = end.exitCode;
  }
  return true;
}

std::string VerdictProblem(const ScanVerdict& verdict) {
  if (!verdict.exitCode) return "Your anti-virus program did not finish checking the files.";
  return "Your anti-virus program reported a problem (exit code " + Dec(long(*verdict.exitCode)) + ").";
}

std::string VerdictMessage(const ScanVerdict& verdict) {
  return VerdictProblem(verdict) + " The files were not accepted into the baseline.";
}

std::string VerdictLogHeader(const ScanVerdict& verdict) {
  // The header ends at its first ",", so a program path keeps none.
  return VerdictMessage(verdict) + " Anti-virus program: " + ReplaceAll(verdict.program, ",", ";") +
         ",";
}

namespace {
FileItemOptions ItemOptions(const App& app) {
  FileItemOptions options;
  options.quoteChar = app.quoteChar;
  options.useShortPaths = app.useShortPaths;
  options.shortPathOf = [](const std::string& path) { return ShortPathOf(path); };
  return options;
}
}  // namespace

std::string ScannerFileItem(const App& app, const std::string& path) {
  const FileItemOptions options = ItemOptions(app);
  return FileItem(path, options.quoteChar, options.useShortPaths, options.shortPathOf);
}

BatchedScanResult ScanFileList(App& app, const std::vector<std::string_view>& entries,
                               const ScannerConfig& first, const ScannerConfig& second,
                               bool startScanners, bool stopOnFailure, ScanVerdict* verdict) {
  const StartFn start = [&app, startScanners, verdict](const std::string& command) {
    // Without a scanner the items are still wanted for the log.
    if (!startScanners) return true;
    return verdict ? RunScannerToEnd(app, command, *verdict) : RunScanner(app, command);
  };
  return BatchedScan(entries, app.filesPerBatch, first, second, ItemOptions(app), start,
                     stopOnFailure);
}

std::string ScannerNotExecutedMessage(const std::string& firstProgram) {
  return "Your Anti-Virus program could not be executed!!!\rPlease verify the path of the software:\r" +
         firstProgram;
}

void ShowScannerNotExecuted(App& app, const std::string& firstProgram) {
  app.Ask(ScannerNotExecutedMessage(firstProgram));
}

}  // namespace kv
