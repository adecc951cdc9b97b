#include "regwatch/pending_reboot.h"

#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "core/text.h"
#include "logs/WriteLog.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "regwatch/actions.h"

namespace kv {

std::string WininitFile() {
  const std::string dir = WindowsDirectory();
  return dir.empty() ? std::string() : dir + "wininit.ini";
}

PendingOperations ReadPendingOperations() {
  PendingOperations ops;
  const std::string file = WininitFile();
  if (!file.empty() && FileExists(file)) {
    ops.wininitExists = true;
    if (auto text = ReadWholeFile(file)) ops.wininit = WininitOperations(*text);
  }
  // Read whole, whatever its length: a few queued renames are longer than
  // any fixed buffer, and a cut value would hide every one of them.
  RegClass reg;
  if (reg.OpenRegistry(HKEY_LOCAL_MACHINE, kSessionManagerKey)) {
    DWORD type = 0;
    std::string data;
    if (reg.ReadValue(kPendingRenameValue, type, data) && (type == REG_MULTI_SZ || type == REG_SZ))
      ops.registry = PendingRenameFiles(data);
    reg.CloseRegistry();
  }
  return ops;
}

std::vector<std::string> PendingViewLines(const PendingOperations& ops) {
  std::vector<std::string> lines{kPendingViewHeader};
  for (const WininitOperation& op : ops.wininit) lines.push_back(PendingViewLine(op));
  for (const std::string& path : ops.registry) lines.push_back(path);
  return lines;
}

bool ScanPendingFiles(App& app, std::vector<std::string>& lines) {
  if (lines.size() <= 1) return false;
  const ScannerPair scanners = ReadScanners(app);
  std::vector<std::string> entries;
  for (size_t i = 1; i < lines.size(); ++i) {
    lines[i] = PendingLineFile(lines[i]);
    // The lines are whole paths already: they are scanned as they stand.
    // One with a double quote names no file (taking the quote out would
    // name another); it goes into the log, not to the scanner.
    const std::string& path = lines[i];
    if (!FileExists(path)) {
      if (!app.Start().InSecureShutDown())
        app.Ask("Unable to find the file: " + lines[i] + "\r\nPlease scan manually.");
      if (app.ended) return true;
      if (HoldsQuote(path))
        entries.push_back(path);
      else
        entries.emplace_back();
      continue;
    }
    entries.push_back(path);
  }
  // The extra position closes the last batch on it: exactly one batch of
  // files gives one start per scanner.
  entries.emplace_back();
  const BatchedScanResult scan =
      ScanFileList(app, ViewsOf(entries), scanners.first, scanners.second, true, false);
  WriteLog(app, kPrecautionaryHeader + scan.items);
  return true;
}

}  // namespace kv
