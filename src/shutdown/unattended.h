#pragma once

namespace kv {
class App;
// "/s": shows the secure-shut-down window, which waits for the user's choice.
void ShowSecureShutDown(App& app);
// "/a": runs the checks of the secure shut down at once and ends the program.
void RunScheduledScan(App& app);
}  // namespace kv
