#pragma once

namespace kv {
class App;
// "/s": shows the secure-shut-down window, which waits for the user's choice.
void ShowSecureShutDown(App& app);
// "/a": runs the checks of the secure shut down at once and ends the program.
void RunScheduledScan(App& app);
// After the file check of a secure shut down or scheduled scan: the registry
// step and the end of the sequence.
void ContinueSecureShutDown(App& app);
// Progress of the file check on the secure shut-down progress window.
void SetShutDownProgress(App& app, int percent);
}  // namespace kv
