#pragma once

namespace kv {
class App;
// Starts the record of a run (see RunReport): the run's kind comes from how
// the program was started, or Manual for a check the user started.
void StartRunReport(App& app, bool manual);
// The end of a run: its events and its findings.jsonl lines, written once
// however many paths reach the end. Nothing happens when no run is open.
void FinishRun(App& app);
}  // namespace kv
