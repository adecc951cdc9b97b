#include "shutdown/sProg.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

sProg::sProg() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "KorvanelProgress";
    registered = RegisterClassExA(&wc) != 0;
  }
  hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, "KorvanelProgress", "Korvanel - Secure Shut Down",
                          WS_POPUP | WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 380, 90, nullptr,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
  ProgressBar1 = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 16, 16,
                                 340, 22, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, 100);
}

sProg::~sProg() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void sProg::SetProgress(int percent) {
  SendMessageA(ProgressBar1, PBM_SETPOS, WPARAM(std::clamp(percent, 0, 100)), 0);
}

int sProg::Progress() const { return int(SendMessageA(ProgressBar1, PBM_GETPOS, 0, 0)); }

}  // namespace kv
