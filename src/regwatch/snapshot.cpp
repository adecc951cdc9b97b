#include "regwatch/snapshot.h"

namespace kv {
void EnsureRegistrySnapshot(App&) {}
}  // namespace kv
