#include "controls/link_label.h"

#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "controls/accessible.h"
#include "controls/control_text.h"
#include "controls/gdi.h"
#include "controls/palette.h"
#include "controls/theme.h"

namespace kv::controls {

namespace {

constexpr UINT_PTR kSubclassId = 0x4B4C;  // one id for every link label

void ReportClick(HWND label) {
  const HWND parent = GetParent(label);
  const int id = GetDlgCtrlID(label);
  if (parent)
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(label));
}

// A solid frame rather than DrawFocusRect's XOR: it survives a partial
// repaint, which would rub an XOR frame out again.
void DrawFocusFrame(HWND label) {
  if (GetFocus() != label) return;
  if (SendMessageA(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
  RECT client{};
  GetClientRect(label, &client);
  const std::string text = ControlText(label);
  WindowDC dc(label);
  if (!dc) return;
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
  RECT box{0, 0, 0, 0};
  {
    std::optional<Selection> selected;
    if (font) selected.emplace(dc.get(), font);
    DrawTextA(dc.get(), text.c_str(), int(text.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  const int width = box.right + 4;
  RECT frame = client;
  if (GetWindowLongPtrA(label, GWL_STYLE) & SS_RIGHT)
    frame.left = std::max(client.left, client.right - width);
  else
    frame.right = std::min(client.right, client.left + width);
  const Brush ink = SolidBrush(HighContrast() ? GetSysColor(COLOR_HIGHLIGHT) : palette::kAccent);
  FrameRect(dc.get(), &frame, ink.get());
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter belongs to the focused link, not to a default button.
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_BUTTON | DLGC_WANTMESSAGE;
      return DLGC_BUTTON;
    }
    case WM_KEYDOWN:
      if ((wp == VK_RETURN || wp == VK_SPACE) && !(lp & 0x40000000)) {
        ReportClick(hwnd);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == ' ' || wp == '\r') return 0;  // no beep
      break;
    case BM_CLICK:
      ReportClick(hwnd);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT painted = DefSubclassProc(hwnd, msg, wp, lp);
      DrawFocusFrame(hwnd);
      return painted;
    }
    case WM_GETOBJECT:
      if (static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT))
        if (LRESULT answer = AnswerGetObject(hwnd, wp, lp, [hwnd]() -> std::optional<AccessibleFacts> {
              return AccessibleFacts{ControlText(hwnd), ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, "Jump"};
            }))
          return answer;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &LinkProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void MakeKeyboardLink(HWND label) {
  if (!label) return;
  SetWindowLongPtrA(label, GWL_STYLE, GetWindowLongPtrA(label, GWL_STYLE) | WS_TABSTOP | SS_NOTIFY);
  SetWindowSubclass(label, &LinkProc, kSubclassId, 0);
}

}  // namespace kv::controls
