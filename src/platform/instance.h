// The system facts the secure shut down asks for: the version record, and
// whether another copy of the program runs.
#pragma once
#include <string>

#include "core/shut_off.h"

namespace kv {

SystemVersion CurrentSystemVersion();

// Takes the named marker for the life of the process; true when another
// process already held it (another instance runs).
bool TakeInstanceMarker(const std::string& name);

}  // namespace kv
