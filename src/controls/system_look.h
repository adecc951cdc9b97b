// System controls in the program's pages: drawn without the visual theme
// they take their text colour and ground from WM_CTLCOLORSTATIC like the
// labels beside them.
#pragma once
#include <windows.h>

namespace kv::controls {

void DrawUnthemed(HWND control);

// A group box paints only its frame and caption, and a parent that clips
// its children paints nothing under it: the box fills its inside with the
// ground the parent gives its labels.
void FillGroupGround(HWND groupBox);

}  // namespace kv::controls
