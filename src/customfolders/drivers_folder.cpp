#include "customfolders/drivers_folder.h"

#include "context/app.h"
#include "context/settings.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

namespace {
constexpr char kEveryKindAlways[] = "1,1,1,1,1,1,1";
}  // namespace

std::string DriversFolder() { return SystemDirectory() + "drivers\\"; }

bool DriversFolderWatched(App& app) {
  const std::string folder = DriversFolder();
  for (int slot = 1; slot <= 20; ++slot)
    if (EqualsNoCase(Trim(ReadEntry(app.settingsFile, "path", Dec(slot))), folder)) return true;
  return false;
}

void WatchDriversFolder(App& app) {
  const std::string folder = DriversFolder();
  const AddedFolder added = AddCustomFolder(app, folder, kEveryKindAlways, kEveryKindAlways);
  if (added.already)
    app.Ask("The drivers folder " + folder + " is already watched (custom folder " + Dec(added.slot) + ").");
  else if (added.slot)
    app.Ask("The drivers folder " + folder + " is now watched as custom folder " + Dec(added.slot) +
            ".  Its first scan runs with the next check.");
  else
    app.Ask("The drivers folder could not be added: all twenty custom folders are in use, or the "
            "settings file could not be written.",
            MsgButtons::Ok, {}, MsgIcon::Error);
}

}  // namespace kv
