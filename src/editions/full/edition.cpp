#include "app/editions.h"

namespace kv {
const Edition& ThisEdition() { return FullEdition(); }
}  // namespace kv
