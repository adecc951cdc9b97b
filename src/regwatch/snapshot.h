// The registry snapshot Data\Registry.dat and the pass that compares the
// live auto-start values with it.
#pragma once
#include <string>
#include <vector>

#include "core/regwatch_rules.h"

namespace kv {
class App;

// Creates the snapshot file with a first snapshot when it cannot be opened;
// an existing file, even an empty one, is used as it is once its seal was
// checked (one the user chose to rebuild is taken anew).
void EnsureRegistrySnapshot(App& app);

// 0 unchanged (or stored, while app.registryAcceptMode is set), 1 new,
// 2 modified. Exactly one index is non-zero and picks the section; wow32
// picks the machine's 32-bit view. `name` comes back as the snapshot key.
int CompareEntry(App& app, std::string& name, const std::string& valueText, int lmIndex,
                 int cuIndex, int crIndex, bool wow32 = false);

// Stores exactly these listed entries, in one write of the snapshot file;
// false when it could not be written (nothing is accepted then).
bool AcceptEntries(App& app, const std::vector<RegWarning>& warnings);

// Every value of a watched place, in enumeration order, with its data text.
std::vector<RegValueRead> ReadPlaceValues(const PassPlace& place);

// One full pass over the watched places: the tree and warning list for the
// page. Pumps messages after every entry; clears registryAcceptMode at its end.
RegistryPass setReg(App& app);

}  // namespace kv
