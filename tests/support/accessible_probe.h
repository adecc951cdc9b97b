// A window's client object as a screen reader gets it: through
// AccessibleObjectFromWindow, the platform's own entry point.
#pragma once
#include <windows.h>

#include <string>

namespace kv::test {

struct Accessible {
  bool found = false;
  std::string name;
  long role = 0, state = 0;
  std::string action;
};

Accessible AskAccessible(HWND hwnd);
// Runs the object's default action (what a screen reader's "click" does).
bool DoDefaultAction(HWND hwnd);

}  // namespace kv::test
