// Keyboard navigation the way dialogs have it (Tab, Shift+Tab, arrows,
// Enter, Space) for top-level windows of a class, whichever message loop
// runs: the program's own loop, a test's pump or a modal box's.
#pragma once
#include <windows.h>

#include <vector>

namespace kv::controls {

// Moves the focus from `from` by `step` along a row of choices (the arrow
// keys in a navigation bar), round from the last to the first, passing
// over hidden and disabled ones.
void StepFocus(const std::vector<HWND>& row, HWND from, int step);

// Hands the keys of every window of the class (and of its children) to
// IsDialogMessage, and F1 to the window as WM_HELP. One hook per thread
// serves every class registered.
void UseDialogKeys(const char* className);

}  // namespace kv::controls
