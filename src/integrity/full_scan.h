#pragma once

namespace kv {
class App;
// Writes the skeleton baseline of the system directory and starts the check
// run that fills it in.
void StartFullScan(App& app);
}  // namespace kv
