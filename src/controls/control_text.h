// Reading controls back: the program parses its captions and list lines as
// working data, so every window reads them the same way.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kv::controls {

std::string ControlText(HWND control);
// One line of a list box; empty for a line that is not there.
std::string ListLine(HWND list, int index);
std::vector<std::string> ListLines(HWND list);

}  // namespace kv::controls
