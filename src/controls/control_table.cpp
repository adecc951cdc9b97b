#include "controls/control_table.h"

namespace kv::controls {

HWND MakeControl(HWND parent, const ControlPlan& plan) {
  HWND made = MakeChild(parent, plan.cls, plan.id, plan.text, plan.style, plan.exStyle);
  if (made && *plan.name) NameForAccessibility(made, plan.name);
  return made;
}

HWND Window::MakeRow(const ControlPlan& plan) {
  HWND made = MakeControl(hwnd_, plan);
  Place(made, plan.x, plan.y, plan.width, plan.height, plan.font);
  return made;
}

}  // namespace kv::controls
