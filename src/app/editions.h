// The two programs' descriptions. Each program's edition library answers
// ThisEdition() with one of them; tests of the plain look take the low one.
#pragma once
#include "context/edition.h"

namespace kv {
const Edition& FullEdition();
const Edition& LowEdition();
}  // namespace kv
