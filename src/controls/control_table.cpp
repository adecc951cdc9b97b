#include "controls/control_table.h"

namespace kv::controls {

HWND Window::MakeRow(const ControlPlan& plan) {
  HWND made = MakeChild(hwnd_, plan.cls, plan.id, plan.text, plan.style, plan.exStyle);
  Place(made, plan.x, plan.y, plan.width, plan.height, plan.font);
  if (made && *plan.name) NameForAccessibility(made, plan.name);
  return made;
}

}  // namespace kv::controls
