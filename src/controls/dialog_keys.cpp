#include "controls/dialog_keys.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kv::controls {

namespace {

std::vector<std::string>& Classes() {
  thread_local std::vector<std::string> classes;
  return classes;
}

// The loop then receives an empty message in place of a key it handled.
LRESULT CALLBACK KeyboardHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    MSG* m = reinterpret_cast<MSG*>(lp);
    // A key that arrives for a control hidden since it was pressed (Enter
    // on a tile that opened another page: its WM_CHAR follows) is left to
    // that control: the dialog manager's mnemonic search never ends when it
    // starts from a hidden control under Wine.
    if (m->message >= WM_KEYFIRST && m->message <= WM_KEYLAST && m->hwnd && IsWindowVisible(m->hwnd)) {
      HWND root = GetAncestor(m->hwnd, GA_ROOT);
      char cls[64] = "";
      if (root && GetClassNameA(root, cls, sizeof cls)) {
        for (const std::string& name : Classes()) {
          if (lstrcmpiA(cls, name.c_str()) != 0) continue;
          if (IsDialogMessageA(root, m)) {
            m->message = WM_NULL;
            m->wParam = m->lParam = 0;
          }
          break;
        }
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void UseDialogKeys(const char* className) {
  thread_local HHOOK hook = nullptr;
  for (const std::string& name : Classes())
    if (name == className) return;
  Classes().emplace_back(className);
  // Kept for the life of the thread: windows of the class may come and go.
  if (!hook) hook = SetWindowsHookExA(WH_GETMESSAGE, &KeyboardHook, nullptr, GetCurrentThreadId());
}

}  // namespace kv::controls
