#include "regwatch/actions.h"

#include <windows.h>

#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/text.h"
#include "logs/WriteLog.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "platform/signature.h"
#include "platform/wide_text.h"
#include "regwatch/snapshot.h"

namespace kv {

ScannerPair ReadScanners(App& app) {
  ScannerPair s;
  if (auto first = ReadSetting(app, "ANTIVIRUS")) TakeScannerSetting(*first, s.first.program, s.first.args);
  if (auto second = ReadSetting(app, "AV2")) TakeScannerSetting(*second, s.second.program, s.second.args);
  return s;
}

std::optional<std::string> EntryPath(const std::string& entryText) {
  const auto environment = [](const std::string& name) -> std::optional<std::string> {
    wchar_t buf[32768];
    const DWORD n = GetEnvironmentVariableW(WideText(name).c_str(), buf, DWORD(std::size(buf)));
    if (n == 0 || n >= std::size(buf)) return std::nullopt;
    return NarrowText(std::wstring_view(buf, n));
  };
  return EntryFilePath(entryText, WindowsDirectory(), SystemDirectory(),
                       [](const std::string& p) { return FileExists(p); }, environment);
}

void PutUnsignedFirst(RegistryPass& pass) {
  if (pass.warnings.size() + 1 != pass.list.size()) return;
  std::vector<RegWarning> doubtful, rest;
  for (RegWarning& w : pass.warnings) {
    const auto path = EntryPath(w.valueText);
    const SignatureState state = path ? VerifyFileSignature(*path).state : SignatureState::FileNotFound;
    const bool doubt = state == SignatureState::NotSigned || state == SignatureState::NotValid;
    (doubt ? doubtful : rest).push_back(std::move(w));
  }
  pass.warnings = std::move(doubtful);
  for (RegWarning& w : rest) pass.warnings.push_back(std::move(w));
  for (size_t i = 0; i < pass.warnings.size(); ++i) pass.list[i + 1] = pass.warnings[i].line;
}

bool StartScanners(App& app, const ScannerPair& scanners, const std::string& items,
                   ScanVerdict* verdict) {
  const auto run = [&](const ScannerConfig& scanner) {
    const std::string command = ScannerCommand(scanner.program, scanner.args, items);
    return verdict ? RunScannerToEnd(app, command, *verdict) : RunScanner(app, command);
  };
  // A scanner that cannot be started is passed over.
  bool started = run(scanners.first);
  if (!TrimView(scanners.second.program).empty()) started = run(scanners.second) || started;
  return started;
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
  // Entries read from subkeys, folders or tasks are no value of the key.
  if (p.place->kind != PlaceKind::Values) return false;
  HKEY root = nullptr;
  REGSAM view = 0;
  if (p.place->root == RegRoot::LocalMachine) {
    root = HKEY_LOCAL_MACHINE;
    view = p.wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  } else if (p.place->root == RegRoot::CurrentUser) {
    root = HKEY_CURRENT_USER;
  }
  // The open commands and the system's own values are changed by hand,
  // never deleted.
  if (!root || p.place->byHand || FindNoCase(p.place->keyPath, "Software\\Microsoft\\") != 0) return false;
  RegClass reg;
  if (!reg.OpenRegistry(root, p.place->keyPath, view)) return false;
  // A value deleted meanwhile is not looked for under another name.
  const bool deleted = reg.HasValue(valueName) && reg.DeleteKey(valueName);
  reg.CloseRegistry();
  return deleted;
}

EntryRemoval RemovalOf(const PassPlace& place) {
  switch (place.place->kind) {
    case PlaceKind::StartupFolder:
    case PlaceKind::ScheduledTasks:
      return EntryRemoval::Elsewhere;
    case PlaceKind::SubkeyValues:  // a service, a debugger: its key says more than one value
      return EntryRemoval::InRegistryEditor;
    case PlaceKind::Values:
      break;
  }
  return place.place->byHand ? EntryRemoval::InRegistryEditor : EntryRemoval::Delete;
}

std::optional<RegistryPass> ScanAndUpdateWarnings(App& app, std::vector<std::string>& lines,
                                                  const std::vector<RegWarning>& warnings) {
  if (lines.size() <= 1 || lines[1] == kNoWarnings) return std::nullopt;
  const bool unattended = app.Start().InSecureShutDown();
  const ScannerPair scanners = ReadScanners(app);
  // Only what was listed can be accepted, and only when each line is known
  // as the entry it came from.
  const bool known = warnings.size() + 1 == lines.size();
  std::vector<RegWarning> found;
  std::string list;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string& line = lines[i];
    if (Right(line, 2) != ") ") line += ") ";
    // The value text, where known: a value name may hold a "(" of its own.
    const auto path = EntryPath(known ? warnings[i - 1].valueText : line);
    if (!path && !unattended)
      app.Ask("Unable to find the file: " + line + "\r\nPlease scan manually.");
    if (app.ended) return std::nullopt;
    list += ' ';
    if (path) list += ScannerItem(app, *path);
    // Someone who was told about a file that could not be found has seen the
    // entry; nobody has during a secure shut down or scheduled scan.
    if (known && (path || !unattended)) found.push_back(warnings[i - 1]);
  }
  // Every file in one start per scanner, whatever the batch size; each
  // scanner is heard out before anything is trusted.
  ScanVerdict verdict;
  const bool scanned = StartScanners(app, scanners, list, &verdict);
  if (app.ended) return std::nullopt;

  // Unattended, findings no scanner saw are only put on record (whatever
  // "Auto-Logging" says) and stay listed for the next pass and the user; so
  // are findings a scanner did not pass.
  const bool onRecordOnly = (unattended && !scanned) || !verdict.clean;
  LogResult log;
  if (!verdict.clean)
    log = TryWriteLog(app, VerdictLogHeader(verdict) + list, 1);
  else if (!onRecordOnly)
    log = TryWriteLog(app, kRegistryActionHeader + list);
  else if (!TrimView(list).empty())
    log = TryWriteLog(app, kRegistryActionHeader + list, 1);
  if (!verdict.clean && !unattended) app.Ask(VerdictMessage(verdict), MsgButtons::Ok, {}, MsgIcon::Warning);
  if (app.ended) return std::nullopt;
  // The log comes first: a program stopped between the two leaves the
  // findings listed, never accepted without their record.
  if (log.failed()) {
    if (!unattended) app.Ask(kLogNotWritten);
    if (app.ended) return std::nullopt;
  } else if (!onRecordOnly && !found.empty()) {
    AcceptEntries(app, found);
  }
  // What changed since the list was shown is compared afresh.
  app.registryAcceptMode = false;
  return setReg(app);
}

}  // namespace kv
