// A clickable label (a STATIC with SS_NOTIFY) that the keyboard reaches as
// well: a Tab stop that draws a dotted frame round its text while it has
// the focus, reports Enter, Space and an accessibility client's default
// action to its parent as the same STN_CLICKED a mouse click sends, and is
// a link to assistive technology.
#pragma once
#include <windows.h>

namespace kv::controls {

// Idempotent; the label keeps its text, font and colours.
void MakeKeyboardLink(HWND label);

}  // namespace kv::controls
