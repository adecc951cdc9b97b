// What a check run is asked to do, taken from how it was started: the
// caller's run-state flags and folder, the categories the settings choose
// for the kind of run, and the custom folders queued for it.
#pragma once
#include "integrity/check_run.h"

namespace kv {

class App;

// The program was started with a command-line argument ("/r", "/s", "/a"):
// nobody started the run by hand.
bool StartedWithArguments(const App& app);

CheckReason ReasonOf(const App& app);

// The request for the run the run-state flags describe. Reads the settings
// and, like every preparation before it, leaves the category flags of the
// first folder in the run state.
CheckRequest PrepareRequest(App& app);

}  // namespace kv
