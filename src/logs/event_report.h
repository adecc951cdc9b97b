// The events a run leaves in the system's event log: one per kind of thing
// it found (files; registry entries; pending operations; a data file changed
// outside the program; a scanner failure; a run that could not do its work),
// or one saying it was clean. docs/events.md lists each id and its text.
#pragma once
#include <string>
#include <vector>

#include "context/run_report.h"
#include "platform/host.h"

namespace kv {

class App;

inline constexpr unsigned long kEventClean = 1000;
inline constexpr unsigned long kEventFiles = 2001;
inline constexpr unsigned long kEventRegistry = 2002;
inline constexpr unsigned long kEventPending = 2003;
inline constexpr unsigned long kEventDataFileChanged = 3001;
inline constexpr unsigned long kEventScannerFailure = 3002;
inline constexpr unsigned long kEventCouldNotRun = 3003;

// At most this many paths are named in one event; the count says the rest.
inline constexpr size_t kEventPathLimit = 50;

struct RunEvent {
  EventType type;
  unsigned long id;
  std::string text;
};

// "logon", "shutdown", "scheduled" or "manual".
const char* RunName(RunKind kind);

std::vector<RunEvent> RunEvents(const RunReport& report);

// Hands the run's events to the Host.
void ReportRunEvents(App& app);

}  // namespace kv
