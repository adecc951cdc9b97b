#pragma once

namespace kv {
class App;
// "/r": shows the check run window, prepares the auto-load check and
// minimises the window; the check runs from its timer.
void StartAutoLoadCheck(App& app);
}  // namespace kv
