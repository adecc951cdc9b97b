#include "platform/pump.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <thread>

namespace kv {

namespace {
// When the queue was last asked. Asking costs a round trip to the window
// server (tens of microseconds under Wine, paid per file chunk), while a
// user cannot tell a pause or stop click handled a few milliseconds later.
std::atomic<ULONGLONG> lastQueueCheck{0};
constexpr ULONGLONG kQueueCheckIntervalMs = 5;
}  // namespace

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

bool clsDoEvents::InputWaiting() const {
  const ULONGLONG now = GetTickCount64();
  if (now - lastQueueCheck.load(std::memory_order_relaxed) < kQueueCheckIntervalMs) return false;
  lastQueueCheck.store(now, std::memory_order_relaxed);
  return HIWORD(GetQueueStatus(queueUsed_)) != 0;
}

void WorkWhilePumping(const std::function<void()>& work) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!done) {
    work();
    return;
  }
  std::exception_ptr failed;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failed = std::current_exception();
    }
    SetEvent(done);
  });
  while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpMessages();
  worker.join();
  CloseHandle(done);
  if (failed) std::rethrow_exception(failed);
}

void PumpWaitingMessages() {
  clsDoEvents any;
  any.QueueUsed(QS_ALLINPUT);
  any.GetInputState();
}

void clsDoEvents::GetInputState() const {
  if (InputWaiting()) PumpMessages();
}

}  // namespace kv
