// The first full scan: a skeleton baseline of the system directory, filled
// in by a check run in baseline mode.
#pragma once

namespace kv {

class App;

void StartFullScan(App& app);

}  // namespace kv
