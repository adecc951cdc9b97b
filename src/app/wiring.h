// How the subsystems reach the main window and the subsystems above them in
// this program; both editions use it.
#pragma once
#include "context/wiring.h"

namespace kv {
const Wiring& StandardWiring();
}  // namespace kv
