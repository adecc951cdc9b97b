#include "regwatch/actions.h"

#include <windows.h>

#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/text.h"
#include "logs/WriteLog.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "regwatch/snapshot.h"

namespace kv {

ScannerPair ReadScanners(App& app) {
  ScannerPair s;
  if (auto first = ReadSetting(app, "ANTIVIRUS")) TakeScannerSetting(*first, s.first.program, s.first.args);
  if (auto second = ReadSetting(app, "AV2")) TakeScannerSetting(*second, s.second.program, s.second.args);
  return s;
}

std::optional<std::string> EntryPath(const std::string& entryText) {
  return EntryFilePath(entryText, WindowsDirectory(), SystemDirectory(),
                       [](const std::string& p) { return FileExists(p); });
}

void StartScanners(App& app, const ScannerPair& scanners, const std::string& items) {
  // A scanner that cannot be started is passed over.
  RunScanner(app, ScannerCommand(scanners.first.program, scanners.first.args, items));
  if (!Trim(scanners.second.program).empty())
    RunScanner(app, ScannerCommand(scanners.second.program, scanners.second.args, items));
}

namespace {

// The path as one scanner argument: a path taken from registry data may
// carry quotes of its own, and the entry must not choose where the path
// ends and the scanner's switches begin, so its quotes go and the
// configured quote character encloses it, as for every other scanned file.
std::string ScannerItem(const App& app, const std::string& path) {
  const std::string bare = ReplaceAll(path, "\"", "");
  if (bare.empty()) return {};
  std::string item = ScannerFileItem(app, bare);
  if (!item.empty() && item.back() == ' ') item.pop_back();
  return item;
}

}  // namespace

bool ScanRegistryEntry(App& app, const std::string& entryText) {
  const ScannerPair scanners = ReadScanners(app);
  const auto path = EntryPath(entryText);
  if (!path) {
    app.Ask("Cannot find file, please scan manually");
    return false;
  }
  StartScanners(app, scanners, ScannerItem(app, *path));
  return true;
}

bool DeleteRegistryValue(int place, const std::string& valueName) {
  const auto& places = RegistryPassPlaces();
  if (place < 0 || size_t(place) >= places.size()) return false;
  const PassPlace& p = places[size_t(place)];
  HKEY root = nullptr;
  REGSAM view = 0;
  if (p.place->root == RegRoot::LocalMachine) {
    root = HKEY_LOCAL_MACHINE;
    view = p.wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  } else if (p.place->root == RegRoot::CurrentUser) {
    root = HKEY_CURRENT_USER;
  }
  // The open commands are changed by hand, never deleted.
  if (!root || FindNoCase(p.place->keyPath, "Software\\Microsoft\\") != 0) return false;
  RegClass reg;
  if (!reg.OpenRegistry(root, p.place->keyPath, view)) return false;
  // A value deleted meanwhile is not looked for under another name.
  const bool deleted = reg.HasValue(valueName) && reg.DeleteKey(valueName);
  reg.CloseRegistry();
  return deleted;
}

std::optional<RegistryPass> ScanAndUpdateWarnings(App& app, std::vector<std::string>& lines,
                                                  const std::vector<RegWarning>& warnings) {
  if (lines.size() <= 1 || lines[1] == kNoWarnings) return std::nullopt;
  const ScannerPair scanners = ReadScanners(app);
  std::string list;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string& line = lines[i];
    if (Right(line, 2) != ") ") line += ") ";
    // The value text, where known: a value name may hold a "(" of its own.
    const bool known = warnings.size() + 1 == lines.size();
    const auto path = EntryPath(known ? warnings[i - 1].valueText : line);
    if (!path && !app.run.InSecureShutDown())
      app.Ask("Unable to find the file: " + line + "\r\nPlease scan manually.");
    list += ' ';
    if (path) list += ScannerItem(app, *path);
  }
  // Every file in one start per scanner, whatever the batch size.
  StartScanners(app, scanners, list);
  app.registryAcceptMode = true;
  RegistryPass pass = setReg(app);
  WriteLog(app, kRegistryActionHeader + list);
  app.registryAcceptMode = false;
  return pass;
}

}  // namespace kv
