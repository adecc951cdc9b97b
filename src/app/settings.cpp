#include "app/settings.h"

#include "app/app.h"
#include "core/baseline.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "integrity/full_scan.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/pump.h"
#include "platform/shell_folders.h"

namespace kv {

namespace {

int BoxValue(const std::string& v) { return ParseLong(v) != 0 ? 1 : 0; }

// Sets as many boxes as there are values.
void FillBoxes(const std::string& value, std::initializer_list<int*> boxes) {
  auto values = Split(value, ',');
  size_t i = 0;
  for (int* box : boxes) {
    if (i >= values.size()) break;
    *box = BoxValue(values[i++]);
  }
}

void SplitScannerInto(const std::string& value, std::string& program, std::string& args) {
  ScannerSetting s = SplitScannerSetting(value);
  if (s.hasBar) program = s.program;
  args = s.args;
}

}  // namespace

bool EnsureSettingsFile(App& app) {
  if (FileExists(app.settingsFile)) return true;
  return WriteWholeFile(app.settingsFile, DefaultSettingsText(app.edition.hasUpdateCheck));
}

std::optional<std::string> ReadSetting(App& app, const std::string& word) {
  auto text = ReadWholeFile(app.settingsFile);
  PumpMessages();
  if (!text) return std::nullopt;
  return ReadSettingFromText(*text, word, app.edition.hasUpdateCheck);
}

std::string ReadEntry(const std::string& file, const std::string& key, const std::string& section) {
  return IniRead(file, section, key);
}

bool WriteEntry(App& app, const std::string& file, const std::string& key,
                const std::string& value, const std::string& section) {
  const std::string tail = UCase(Right(file, 12));
  if (app.run.baselineScanActive && WriteScanEntry(app, file, section, key, value)) return true;
  if (app.run.baselineScanActive || tail == "REGISTRY.DAT" || tail == "KORVANEL.DAT")
    return IniWrite(file, section, key, value);
  Baseline& target = app.run.currentFolderPath.empty() ? app.systemBaseline : app.folderBaseline;
  return target.WriteEntry(key, value, section);
}

void loadSettings(App& app) {
  SettingsBoxes& b = app.boxes;
  std::string startup = StartupFolderPath();
  if (!startup.empty() && startup.back() != '\\') startup += '\\';
  b.Check1 = FileExists(startup + "Korvanel.lnk") ? 1 : 0;

  // Up to the first scanner every step needs the file; a failure there is
  // reported once and ends loading, keeping what was applied so far.
  auto general = ReadSetting(app, "GETSETT");
  if (!general) return void(app.Ask(kSettingsUnreadable));
  FillBoxes(*general, {&b.Check2, &b.Check3, &b.Check4, &b.Check5, &b.Check6, &b.Check9,
                       &b.Check8, &b.Check7});
  auto secure = ReadSetting(app, "GETSETT2");
  if (!secure) return void(app.Ask(kSettingsUnreadable));
  FillBoxes(*secure, {&b.Check15, &b.Check14, &b.Check13, &b.Check12, &b.Check16, &b.Check17});
  auto advanced = ReadSetting(app, "ADV");
  if (!advanced) return void(app.Ask(kSettingsUnreadable));
  auto adv = Split(*advanced, ',');
  if (adv.size() > 0 && !Trim(adv[0]).empty()) app.readBufferSize = int32_t(ParseLong(adv[0]));
  if (adv.size() > 1 && !Trim(adv[1]).empty()) app.filesPerBatch = int32_t(ParseLong(adv[1]));
  if (adv.size() > 2 && !Trim(adv[2]).empty()) app.useScriptingHost = int16_t(ParseLong(adv[2]));
  app.autoScanFailed = b.Check8 == 1;
  auto first = ReadSetting(app, "ANTIVIRUS");
  if (!first) return void(app.Ask(kSettingsUnreadable));
  SplitScannerInto(*first, app.scanners.Text5, app.scanners.Text6);

  if (auto second = ReadSetting(app, "AV2"))
    SplitScannerInto(*second, app.scanners.Text1, app.scanners.Text2);
  if (auto options = ReadSetting(app, "ANTIVIRUS2"))
    FillBoxes(*options, {&b.Check10, &b.Check11, &b.avfocus});
  app.quoteChar = b.Check10 != 0 ? "\"" : "";
  app.useShortPaths = b.Check11 != 0;
  if (auto algo = ReadSetting(app, "ALGO")) app.algorithmName = *algo;
  if (auto autoCheck = ReadSetting(app, "AUTO"))
    app.autoCheckUpdates = EqualsNoCase(Trim(*autoCheck), "True") || ParseLong(*autoCheck) != 0;
}

}  // namespace kv
