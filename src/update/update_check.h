#pragma once
#include <string>

namespace kv {
class App;
// The daily update check at start-up (compares lastcheckedupdates with today
// and starts the download of the update file).
void StartupUpdateCheck(App& app);
// The Options page's update button, whose caption is also its mode:
// "Check for Updates" or "Download Updates".
void UpdatesButtonClick(App& app);
std::string UpdatesButtonCaption(const App& app);
}  // namespace kv
