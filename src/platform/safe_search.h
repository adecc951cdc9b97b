// Where the program looks for libraries and programs it names without a path.
#pragma once

namespace kv {

// Libraries come from the system directory only: a library of a system name
// planted beside the program, in a folder its user can write to, is never
// loaded, and neither the current directory nor PATH is searched for one.
// Process-wide and for good; called first thing in WinMain.
void UseSafeLibrarySearch();

}  // namespace kv
