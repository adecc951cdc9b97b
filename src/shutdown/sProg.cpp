#include "shutdown/sProg.h"

#include <commctrl.h>

#include <algorithm>

#include "context/app.h"

namespace kv {

sProg::sProg() {
  const UINT dpi = controls::WindowDpi(nullptr);
  Create(controls::WindowClass{"KorvanelProgress", 0, GetSysColorBrush(COLOR_BTNFACE)},
         WS_EX_TOOLWINDOW, "Korvanel - Secure Shut Down", WS_POPUP | WS_CAPTION, CW_USEDEFAULT,
         CW_USEDEFAULT, controls::Scale(380, dpi), controls::Scale(90, dpi), nullptr);
  ProgressBar1 = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 0,
                                 0, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  Place(ProgressBar1, 16, 16, 340, 22);
  SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, 100);
}

sProg::~sProg() { Destroy(); }

void sProg::SetProgress(int percent) {
  SendMessageA(ProgressBar1, PBM_SETPOS, WPARAM(std::clamp(percent, 0, 100)), 0);
}

int sProg::Progress() const { return int(SendMessageA(ProgressBar1, PBM_GETPOS, 0, 0)); }

sProg& App::ShutDownProgress() {
  if (!progress_) progress_ = MakeOwned<sProg>();
  return *progress_;
}

}  // namespace kv
