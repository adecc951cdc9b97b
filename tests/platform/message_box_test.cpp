// The production Host's message box, shown for real and answered from a
// timer inside its own modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32_host.h"

namespace kv {
namespace {

struct Seen {
  bool shown = false;
  HWND owner = nullptr;
  bool askerEnabled = true, mainEnabled = true;
  RECT box{};
  HWND asker = nullptr, main = nullptr;
};
Seen* seen = nullptr;

BOOL CALLBACK FindBox(HWND w, LPARAM found) {
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box || seen->shown) return;
  seen->shown = true;
  seen->owner = GetWindow(box, GW_OWNER);
  seen->askerEnabled = IsWindowEnabled(seen->asker) != FALSE;
  seen->mainEnabled = IsWindowEnabled(seen->main) != FALSE;
  GetWindowRect(box, &seen->box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
}

HWND Popup(const char* title, int x, int y, int w, int h, HWND owner) {
  return CreateWindowExA(0, "STATIC", title, WS_POPUP | WS_VISIBLE | WS_CAPTION, x, y, w, h, owner, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A question a window asks belongs to it: owned by it, centred on it, and
// neither it nor the window that owns it (the main window behind the
// wizard) takes input until it is answered.
TEST(MessageBoxTest, AQuestionBelongsToTheWindowThatAsksAndHoldsItsOwnersUntilAnswered) {
  Seen s;
  seen = &s;
  s.main = Popup("main", 40, 40, 900, 640, nullptr);
  s.asker = Popup("wizard", 420, 300, 420, 300, s.main);
  SetActiveWindow(s.main);  // the active window is not the one that asks
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &Answer);
  Win32Host host;
  EXPECT_EQ(host.ShowMessageOver(s.asker, "Are you sure?", "Korvanel", MsgButtons::YesNo, MsgIcon::Question),
            MsgAnswer::No);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(s.owner, s.asker);
  EXPECT_FALSE(s.askerEnabled);
  EXPECT_FALSE(s.mainEnabled);
  EXPECT_NEAR((s.box.left + s.box.right) / 2, 420 + 210, 2);
  EXPECT_NEAR((s.box.top + s.box.bottom) / 2, 300 + 150, 2);
  EXPECT_TRUE(IsWindowEnabled(s.main));
  EXPECT_TRUE(IsWindowEnabled(s.asker));
  DestroyWindow(s.asker);
  DestroyWindow(s.main);
  seen = nullptr;
}

}  // namespace
}  // namespace kv
