#pragma once

namespace kv {
class App;
class intCheck;
struct CheckRequest;
struct CheckTally;
// "/r": shows the check run window, prepares the auto-load check and
// minimises the window; the check runs from its timer.
void StartAutoLoadCheck(App& app);

// What each kind of run does once its check is over: a first full scan
// hands back to the main window; unattended runs scan the failing files; a
// clean logon check ends the program; the result is shown; a secure shut
// down goes on with its registry step.
void EndCheckRun(App& app, intCheck& window, const CheckRequest& request, const CheckTally& tally);
}  // namespace kv
