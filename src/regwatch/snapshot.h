#pragma once

namespace kv {
class App;
// Creates the registry snapshot file with a first snapshot when it cannot be
// opened. The registry watch fills this in; until then a start leaves it be.
void EnsureRegistrySnapshot(App& app);
}  // namespace kv
