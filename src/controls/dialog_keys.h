// Keyboard navigation the way dialogs have it (Tab, Shift+Tab, arrows,
// Enter, Space) for top-level windows of a class, whichever message loop
// runs: the program's own loop, a test's pump or a modal box's.
#pragma once

namespace kv::controls {

// Hands the keys of every window of the class (and of its children) to
// IsDialogMessage. One hook per thread serves every class registered.
void UseDialogKeys(const char* className);

}  // namespace kv::controls
