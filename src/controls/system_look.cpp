#include "controls/system_look.h"

#include <commctrl.h>

namespace kv::controls {

void DrawUnthemed(HWND control) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const HMODULE module = LoadLibraryA("uxtheme.dll");
  if (!module || !control) return;
  if (auto set = reinterpret_cast<SetTheme>(reinterpret_cast<void*>(GetProcAddress(module, "SetWindowTheme"))))
    set(control, L"", L"");
}

namespace {
LRESULT CALLBACK GroupGround(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_ERASEBKGND) {
    const HDC dc = reinterpret_cast<HDC>(wp);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, wp, reinterpret_cast<LPARAM>(hwnd)));
    RECT c{};
    GetClientRect(hwnd, &c);
    FillRect(dc, &c, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &GroupGround, id);
  return DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

void FillGroupGround(HWND groupBox) {
  if (groupBox) SetWindowSubclass(groupBox, &GroupGround, 1, 0);
}

}  // namespace kv::controls
