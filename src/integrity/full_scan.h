// The first full scan: a skeleton baseline of the system directory, filled
// in by a check run in baseline mode.
#pragma once

namespace kv {

class App;

// How the check run that fills the skeleton starts: at once, or by the
// caller (the check window's own preparation) once the skeleton is there.
enum class FirstScanCheck { Started, LeftToCaller };

void StartFullScan(App& app, FirstScanCheck check = FirstScanCheck::Started);

// A first full scan was started in this process, whatever became of it.
bool FullScanStarted(const App& app);

}  // namespace kv
