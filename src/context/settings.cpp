#include "context/settings.h"

#include "context/app.h"
#include "core/baseline.h"
#include "core/profile.h"
#include "core/seals.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "context/scan_document.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "core/profile.h"
#include "platform/file_stamp.h"
#include "platform/shell_folders.h"

namespace kv {

namespace {

// Sets the boxes from the values in order, as many as there are values (none
// for an empty text). False at the first value a box cannot take; the boxes
// before it keep what they got.
bool FillBoxes(const std::string& value, std::initializer_list<int*> boxes) {
  if (value.empty()) return true;
  const auto values = Split(value, ',');
  size_t i = 0;
  for (int* box : boxes) {
    if (i >= values.size()) break;
    const auto number = ParseNumber(values[i++]);
    if (!number) return false;
    *box = *number != 0 ? 1 : 0;
  }
  return true;
}

// The three numbers of "advanced", applied in order; false when one is
// missing or not a number.
bool ApplyAdvanced(App& app, const std::string& value) {
  const auto values = Split(value, ',');
  int32_t* const targets32[] = {&app.readBufferSize, &app.filesPerBatch};
  for (size_t i = 0; i < 3; ++i) {
    const auto number = i < values.size() ? ParseNumber(values[i]) : std::nullopt;
    if (!number) return false;
    if (i < 2)
      *targets32[i] = int32_t(*number);
    else
      app.useScriptingHost = int16_t(*number);
  }
  return true;
}


}  // namespace

namespace {

void Stamp(App::SettingsText& cache, const std::optional<FileStamp>& stamp) {
  cache.writeTime = stamp ? stamp->writeTime : 0;
  cache.size = stamp ? stamp->size : 0;
}

// The file's text in memory, read from disk when it is not there yet;
// nullopt when the file cannot be read (a missing file reads as empty).
const std::string* SettingsTextOf(App& app) {
  App::SettingsText& cache = app.settingsText;
  // Another copy of the program (a logon check, the settings saved there)
  // may have replaced the file since: its stamp tells, without a read.
  const auto stamp = StampOf(app.settingsFile);
  if (cache.loaded && cache.path == app.settingsFile && cache.exists == stamp.has_value() &&
      (!stamp || (stamp->writeTime == cache.writeTime && stamp->size == cache.size)))
    return &cache.text;
  cache.loaded = false;
  cache.path = app.settingsFile;
  // A file another program holds is there, if unreadable: the stamp says
  // so where an open would not.
  cache.exists = stamp.has_value();
  cache.text.clear();
  if (cache.exists) {
    auto text = ReadWholeFile(app.settingsFile);
    if (!text) return nullptr;
    cache.text = std::move(*text);
  }
  Stamp(cache, stamp);
  cache.loaded = true;
  return &cache.text;
}

// The file on disk first, then the copy: a write that does not reach the
// file leaves both as they were.
bool WriteSettingsEntry(App& app, const std::string& key, const std::string& value,
                        const std::string& section) {
  if (!ProfileNamesUsable(section, key)) return false;
  // A file that could not be read is not written over from an empty copy.
  if (!SettingsTextOf(app)) return false;
  App::SettingsText& cache = app.settingsText;
  std::string text = ProfileSet(cache.text, cache.exists, section, key, value);
  // The replace is whole or nothing: a failed one left the file as it was.
  if (!ReplaceFileContents(app.settingsFile, text)) return false;
  cache.text = std::move(text);
  cache.exists = true;
  Stamp(cache, StampOf(app.settingsFile));
  return true;
}

}  // namespace

void ForgetSettings(App& app) { app.settingsText.loaded = false; }

bool EnsureSettingsFile(App& app) {
  if (FileExists(app.settingsFile)) return true;
  ForgetSettings(app);
  // Never in place: a crash or a full disk half-way would leave a short file
  // that the next start takes for the settings.
  return ReplaceFileContents(app.settingsFile, DefaultSettingsText(app.edition.hasUpdateCheck));
}

void TakeScannerSetting(const std::string& value, std::string& program, std::string& args) {
  const ScannerSetting s = SplitScannerSetting(value);
  if (s.hasBar) program = s.program;
  args = s.args;
}

std::optional<std::string> ReadSetting(App& app, const std::string& word) {
  const std::string* text = SettingsTextOf(app);
  if (!text) return std::nullopt;
  return ReadSettingFromText(*text, word, app.edition.hasUpdateCheck);
}

std::string SettingsEntry(App& app, const std::string& key, const std::string& section) {
  const std::string* text = SettingsTextOf(app);
  return text ? ProfileGet(*text, section, key) : std::string();
}

FolderSetting FolderSettingOf(App& app, int slot) {
  const std::string section = Dec(slot);
  return {SettingsEntry(app, "path", section), SettingsEntry(app, "args", section),
          SettingsEntry(app, "args2", section)};
}

std::string ReadEntry(const std::string& file, const std::string& key, const std::string& section) {
  return IniRead(file, key, section);
}

namespace {

// The three places an entry can go.

// The registry snapshot and any baseline written on disk keep their seal
// with every entry; the settings file has none.
bool WriteDataEntry(App& app, const std::string& file, const std::string& key,
                    const std::string& value, const std::string& section) {
  const std::string name = file.substr(file.find_last_of('\\') + 1);
  if (!IsSealedDataName(name)) return IniWrite(file, key, value, section);
  const auto text = IniWritten(file, key, value, section);
  return text && app.seals.Replace(file, *text);
}

// A first full scan fills the baseline file it is building (held in memory
// and written out as it goes); other files during the scan go to disk.
bool WriteDuringFullScan(App& app, const std::string& file, const std::string& key,
                         const std::string& value, const std::string& section) {
  return WriteScanEntry(app, file, section, key, value) || WriteDataEntry(app, file, key, value, section);
}

// Any other file is a baseline: the entry changes its copy in memory (the
// system directory's, or the custom folder's loaded last); the file waits
// for its save.
bool WriteToBaselineInMemory(App& app, const std::string& file, const std::string& key,
                             const std::string& value, const std::string& section) {
  Baseline& target = EqualsNoCase(file, app.baselineFile) ? app.systemBaseline : app.folderBaseline;
  return target.WriteEntry(key, value, section);
}

}  // namespace

bool WriteEntry(App& app, const std::string& file, const std::string& key,
                const std::string& value, const std::string& section) {
  // The route is chosen by the last twelve characters of the file name.
  const std::string tail = UCase(Right(file, 12));
  if (EqualsNoCase(file, app.settingsFile)) return WriteSettingsEntry(app, key, value, section);
  if (app.scanDocument) return WriteDuringFullScan(app, file, key, value, section);
  if (tail == "REGISTRY.DAT" || tail == "KORVANEL.DAT") return WriteDataEntry(app, file, key, value, section);
  return WriteToBaselineInMemory(app, file, key, value, section);
}

void loadSettings(App& app) {
  // Applying the settings takes them as the file holds them now.
  ForgetSettings(app);
  // However loading ends, an open setup window shows what reached the fields.
  struct ShowScanners {
    App& app;
    ~ShowScanners() {
      app.windows.ScannerFieldsLoaded(app);
    }
  } showScanners{app};
  SettingsBoxes& b = app.boxes;
  // Auto-load is on when either Startup folder holds the shortcut.
  b.Check1 = 0;
  for (std::string startup : StartupFolderPaths()) {
    if (!startup.empty() && startup.back() != '\\') startup += '\\';
    if (FileExists(startup + "Korvanel.lnk")) b.Check1 = 1;
  }

  // Up to the first scanner every step must succeed: an unreadable file or a
  // value no box or number can take is reported once and ends loading,
  // keeping what was applied so far. A scheduled scan cannot stop to ask:
  // the report goes to the log and every value that can be read still
  // applies, so the scan runs with as much of the user's choice as there is.
  bool reported = false;
  const auto stopsHere = [&app, &reported] {
    if (!reported) app.Tell(kSettingsUnreadable);
    reported = true;
    return !app.Start().Scheduled();
  };
  auto general = ReadSetting(app, "GETSETT");
  if ((!general || !FillBoxes(*general, {&b.Check2, &b.Check3, &b.Check4, &b.Check5, &b.Check6,
                                         &b.Check9, &b.Check8, &b.Check7})) &&
      stopsHere())
    return;
  auto secure = ReadSetting(app, "GETSETT2");
  if ((!secure || !FillBoxes(*secure, {&b.Check15, &b.Check14, &b.Check13, &b.Check12,
                                        &b.Check16, &b.Check17})) &&
      stopsHere())
    return;
  auto advanced = ReadSetting(app, "ADV");
  if ((!advanced || !ApplyAdvanced(app, *advanced)) && stopsHere()) return;
  app.autoScanFailed = b.Check8 == 1;
  auto first = ReadSetting(app, "ANTIVIRUS");
  if (first)
    TakeScannerSetting(*first, app.scanners.Text5, app.scanners.Text6);
  else if (stopsHere())
    return;

  if (auto second = ReadSetting(app, "AV2"))
    TakeScannerSetting(*second, app.scanners.Text1, app.scanners.Text2);
  if (auto options = ReadSetting(app, "ANTIVIRUS2"))
    (void)FillBoxes(*options, {&b.Check10, &b.Check11, &b.avfocus});
  app.quoteChar = b.Check10 != 0 ? "\"" : "";
  app.useShortPaths = b.Check11 != 0;
  if (auto algo = ReadSetting(app, "ALGO")) app.algorithmName = *algo;
  if (auto autoCheck = ReadSetting(app, "AUTO"))
    app.autoCheckUpdates = EqualsNoCase(Trim(*autoCheck), "True") || ParseLong(*autoCheck) != 0;
}

AddedFolder AddCustomFolder(App& app, const std::string& folder, const std::string& args,
                            const std::string& args2) {
  if (!EnsureSettingsFile(app)) return {};
  int empty = 0;
  for (int slot = 1; slot <= 20; ++slot) {
    const std::string path = Trim(SettingsEntry(app, "path", Dec(slot)));
    if (EqualsNoCase(path, folder)) return {slot, true};
    if (!empty && (path.empty() || EqualsNoCase(path, "NULL"))) empty = slot;
  }
  if (!empty) return {};
  const std::string section = Dec(empty);
  // The folder last: a slot whose path is written holds a folder with the
  // categories meant for it.
  if (!WriteEntry(app, app.settingsFile, "args", args, section) ||
      !WriteEntry(app, app.settingsFile, "args2", args2, section) ||
      !WriteEntry(app, app.settingsFile, "path", folder, section))
    return {};
  return {empty, false};
}

}  // namespace kv
