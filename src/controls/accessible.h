// What assistive technology (screen readers, magnifiers, voice control)
// learns about a window of the program's own: its name, role, state and
// default action, through the platform's accessibility objects.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace kv::controls {

struct AccessibleFacts {
  std::string name;           // the caption, or what a picture leads to
  // ROLE_SYSTEM_*; none (0) keeps the system's role, state and default
  // action, so only the name is the program's (a list named by its heading).
  long role = 0;
  long state = 0;             // STATE_SYSTEM_* of the control itself (checked, unavailable ...)
  std::string defaultAction;  // "Press", "Check" ...; empty when it has none
};

// IAccessible's interface id. The import library's IID_IAccessible links as
// a code thunk rather than the id itself, so the program spells it out.
inline constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

using FactsSource = std::function<std::optional<AccessibleFacts>()>;

// The answer to WM_GETOBJECT asking for OBJID_CLIENT: an object that takes
// name, role, state and default action from `facts` at the moment they are
// asked for, and everything else (place, parent, focus, navigation) from
// the system's standard object for the window. The window's own flags add
// invisible, focused and focusable. Zero for any other object asked for.
LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, FactsSource facts);

// Names a control of a system class (a list, a tree) for assistive
// technology; its role, state, items and actions stay the system's. The
// system would otherwise look for a label just before it, which a control
// placed under a heading of its page's own drawing does not have.
void NameForAccessibility(HWND control, std::string name);

// Tells listening assistive technology that the window's name or state
// changed (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_STATECHANGE).
void NotifyNameChange(HWND hwnd);
void NotifyStateChange(HWND hwnd);

}  // namespace kv::controls
