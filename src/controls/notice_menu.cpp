#include "controls/notice_menu.h"

#include <shellapi.h>

namespace kv::controls {

NoticeAction NoticeActionOf(HWND window, LPARAM iconEvent) {
  switch (LOWORD(iconEvent)) {
    case WM_LBUTTONUP:
    case NIN_BALLOONUSERCLICK:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      return NoticeAction::Review;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: {
      enum { kReview = 1, kDismiss };
      HMENU menu = CreatePopupMenu();
      AppendMenuW(menu, MF_STRING, kReview, L"&Review findings");
      AppendMenuW(menu, MF_STRING, kDismiss, L"&Dismiss");
      SetMenuDefaultItem(menu, kReview, FALSE);
      POINT at{};
      GetCursorPos(&at);
      // Only a window in front closes its menu when the user clicks elsewhere.
      SetForegroundWindow(window);
      const int chosen =
          TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
      DestroyMenu(menu);
      return chosen == kReview ? NoticeAction::Review : chosen == kDismiss ? NoticeAction::Dismiss : NoticeAction::None;
    }
  }
  return NoticeAction::None;
}

}  // namespace kv::controls
