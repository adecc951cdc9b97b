#include "platform/pump.h"

#include <windows.h>

namespace kv {

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));  // leave it for the main loop
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void clsDoEvents::GetInputState() const {
  if (HIWORD(GetQueueStatus(queueUsed_)) != 0) PumpMessages();
}

}  // namespace kv
