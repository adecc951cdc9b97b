#include "controls/control_table.h"

namespace kv::controls {

HWND Window::MakeRow(const ControlSpec& spec) {
  HWND made = MakeChild(hwnd_, spec.cls, spec.id, spec.text, spec.style, spec.exStyle);
  Place(made, spec.x, spec.y, spec.width, spec.height, spec.font);
  if (made && *spec.name) NameForAccessibility(made, spec.name);
  return made;
}

}  // namespace kv::controls
