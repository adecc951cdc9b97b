// The folder where kernel drivers are installed, which the system
// directory's own check never looks into, watched as a custom folder.
#pragma once
#include <string>

namespace kv {

class App;

// The system directory's "drivers\" folder.
std::string DriversFolder();
// True when a custom-folder slot holds it.
bool DriversFolderWatched(App& app);
// Puts it into the first empty slot, every kind of file, at logon and at
// shut down, and says what came of it.
void WatchDriversFolder(App& app);

}  // namespace kv
