// The answer to a notification-area icon's message (kNotifyIconMessage): a
// click on the icon or its balloon, or the icon chosen by keyboard, means
// review; its menu offers review and dismiss.
#pragma once
#include <windows.h>

namespace kv::controls {

enum class NoticeAction { None, Review, Dismiss };

// `iconEvent` is the message's lParam. A menu is shown by this call and
// closed before it returns.
NoticeAction NoticeActionOf(HWND window, LPARAM iconEvent);

}  // namespace kv::controls
