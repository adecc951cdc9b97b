#pragma once

namespace kv {
class App;
// The daily update check at start-up (compares lastcheckedupdates with today
// and starts the download of the update file).
void StartupUpdateCheck(App& app);
}  // namespace kv
