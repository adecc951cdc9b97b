#include "integrity/baseline_files.h"

#include "context/app.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

void SelectBaselineFile(App& app) {
  app.baselineFile = SystemBaselineFile(app.appDir, app.algorithmName);
}

std::string FolderBaselineFile(App& app, int slot) {
  return kv::FolderBaselineFile(app.appDir, slot, app.algorithmName);
}

namespace {
bool LoadInto(Baseline& target, const std::string& path) {
  auto text = ReadWholeFile(path);
  if (!text) return false;
  target = Baseline::FromText(*text);
  return true;
}
}  // namespace

bool LoadSystemBaseline(App& app, const std::string& path) {
  return LoadInto(app.systemBaseline, path);
}

bool LoadFolderBaseline(App& app, const std::string& path) {
  if (!FileExists(path)) {
    const std::string backup = BackupFileOf(path);
    // A secure shut down has nobody to ask: the backup is the best there is.
    const bool restored =
        FileExists(backup) &&
        (app.run.InSecureShutDown() ||
         app.Ask("The data file is missing! Would you like to use the backup?", MsgButtons::YesNo,
                 ".Dat file Missing!") == MsgAnswer::Yes) &&
        CopyFileTo(backup, path);
    if (!restored) {
      const int slot = SlotOfFolderBaselineFile(path);
      const std::string folder = SettingsEntry(app, "path", Dec(slot));
      app.wiring.buildFolderBaseline(app, folder, path, slot);
      if (app.ended) return false;
    }
  }
  return LoadInto(app.folderBaseline, path);
}

bool SaveBaselineFile(const Baseline& baseline, const std::string& path) {
  // The backup is replaced whole as well: a copy cut short by a crash would
  // leave a backup that no longer holds the previous baseline.
  if (FileExists(path))
    if (const auto previous = ReadWholeFile(path)) ReplaceFileContents(BackupFileOf(path), *previous);
  return ReplaceFileContents(path, baseline.ToText());
}

bool SaveSystemBaseline(App& app) { return SaveBaselineFile(app.systemBaseline, app.baselineFile); }

}  // namespace kv
