#include "integrity/baseline_files.h"

#include <utility>

#include "context/app.h"
#include "context/seals.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/baseline_scan.h"
#include "platform/files.h"

namespace kv {

void SelectBaselineFile(App& app) {
  app.baselineFile = SystemBaselineFile(app.dataRoot, app.algorithmName);
}

std::string FolderBaselineFile(App& app, int slot) {
  return kv::FolderBaselineFile(app.dataRoot, slot, app.algorithmName);
}

namespace {
bool LoadInto(Baseline& target, const std::string& path) {
  auto text = ReadWholeFile(path);
  if (!text) return false;
  // The old baseline goes before the new one is made from the text: after
  // a save the two are the same size, tens of megabytes each.
  target = Baseline();
  target = Baseline::FromOwnedText(std::move(*text));
  return true;
}
}  // namespace

bool LoadSystemBaseline(App& app, const std::string& path) {
  switch (GuardDataFile(app, path)) {
    case SealGuard::Use:
      break;
    case SealGuard::Refused:
      return false;
    case SealGuard::Rebuild:
      // Rebuilt as a missing baseline is: from its backup, or by the first
      // full scan (which loads it when it ends).
      if (!EqualsNoCase(path, app.baselineFile) || FileExists(path)) return false;
      EnsureBaseline(app);
      if (app.ended || app.scanDocument || !FileExists(path)) return false;
      return LoadSystemBaseline(app, path);
  }
  return LoadInto(app.systemBaseline, path);
}

bool LoadFolderBaseline(App& app, const std::string& path) {
  if (!FileExists(path)) {
    const std::string backup = BackupFileOf(path);
    // A secure shut down has nobody to ask: the backup is the best there is.
    const bool restored =
        FileExists(backup) && GuardDataFile(app, backup) == SealGuard::Use &&
        (app.Start().InSecureShutDown() ||
         app.Ask("The data file is missing! Would you like to use the backup?", MsgButtons::YesNo,
                 ".Dat file Missing!") == MsgAnswer::Yes) &&
        app.seals.Copy(backup, path);
    if (app.ended) return false;
    if (!restored) {
      const int slot = SlotOfFolderBaselineFile(path);
      const std::string folder = SettingsEntry(app, "path", Dec(slot));
      app.windows.BuildFolderBaseline(app, folder, path, slot);
      if (app.ended) return false;
    }
  }
  switch (GuardDataFile(app, path)) {
    case SealGuard::Use:
      break;
    case SealGuard::Refused:
      return false;
    case SealGuard::Rebuild:
      // Rebuilt as a missing one is; a file that could not be set aside is
      // not asked about again.
      if (app.ended || FileExists(path)) return false;
      return LoadFolderBaseline(app, path);
  }
  return LoadInto(app.folderBaseline, path);
}

bool SaveBaselineFile(App& app, const Baseline& baseline, const std::string& path) {
  // The backup is replaced whole as well: a copy cut short by a crash would
  // leave a backup that no longer holds the previous baseline. A file
  // changed behind the program's back never becomes the backup.
  if (FileExists(path)) app.seals.Copy(path, BackupFileOf(path));
  // Written from the sections themselves: no text of the whole beside them.
  return app.seals.Replace(path, baseline.TextPieces());
}

bool SaveSystemBaseline(App& app) { return SaveBaselineFile(app, app.systemBaseline, app.baselineFile); }

}  // namespace kv
