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

bool IsHelpKey(const MSG& m) {
  return m.message == WM_KEYDOWN && m.wParam == VK_F1 && !(m.lParam & 0x40000000) &&
         GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

// F1 asks the window the key was pressed in for its help, whichever of its
// controls has the focus.
void AskForHelp(HWND root, HWND from) {
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = GetDlgCtrlID(from);
  info.hItemHandle = from;
  GetCursorPos(&info.MousePos);
  SendMessageA(root, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
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
          if (IsHelpKey(*m)) {
            AskForHelp(root, m->hwnd);
            m->message = WM_NULL;
            m->wParam = m->lParam = 0;
          } else if (IsDialogMessageA(root, m)) {
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

void StepFocus(const std::vector<HWND>& row, HWND from, int step) {
  const int n = int(row.size());
  int at = 0;
  while (at < n && row[size_t(at)] != from) ++at;
  if (at == n || step == 0) return;
  for (int tried = 1; tried < n; ++tried) {
    const HWND next = row[size_t(((at + step * tried) % n + n) % n)];
    if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
      SetFocus(next);
      return;
    }
  }
}

void UseDialogKeys(const char* className) {
  thread_local HHOOK hook = nullptr;
  for (const std::string& name : Classes())
    if (name == className) return;
  Classes().emplace_back(className);
  // Kept for the life of the thread: windows of the class may come and go.
  if (!hook) hook = SetWindowsHookExA(WH_GETMESSAGE, &KeyboardHook, nullptr, GetCurrentThreadId());
}

}  // namespace kv::controls
