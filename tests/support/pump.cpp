#include "support/pump.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace kv::test {

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& cond, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
  for (;;) {
    PumpPending();
    if (cond()) return true;
    if (GetTickCount64() >= deadline) {
      ADD_FAILURE() << "condition not reached within " << timeoutMs << " ms";
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void Later(int ms, std::function<void()> action) {
  static std::function<void()> pending;
  pending = std::move(action);
  SetTimer(nullptr, 0, UINT(ms), [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto run = std::move(pending);
    if (run) run();
  });
}

}  // namespace kv::test
