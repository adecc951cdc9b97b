#include "controls/art.h"

#include <oleacc.h>

#include "controls/gdi.h"
#include "controls/theme.h"

namespace kv {

COLORREF ToColorRef(art::Colour c) { return RGB(c.r, c.g, c.b); }

art::Colour SysColour(int index) {
  const COLORREF c = GetSysColor(index);
  return art::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

void PresentRaster(const art::Raster& r, HDC dc, int x, int y) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.Width();
  bi.bmiHeader.biHeight = -r.Height();  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, DWORD(r.Width()), DWORD(r.Height()), 0, 0, 0, UINT(r.Height()),
                    r.Pixels().data(), &bi, DIB_RGB_COLORS);
}

bool Picture::Create(HWND parent, int id, art::Colour background, ShapePainter shapes,
                     TextPainter text, bool clickable, bool focusable) {
  if (hwnd_) return false;
  background_ = background;
  shapes_ = std::move(shapes);
  text_ = std::move(text);
  clickable_ = clickable;
  focusable_ = focusable;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (focusable ? WS_TABSTOP : 0);
  return Window::Create(controls::WindowClass{kClassName, CS_HREDRAW | CS_VREDRAW}, 0, "", style, 0, 0,
                        1, 1, parent, id);
}

void Picture::Visible(bool show) const {
  if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void Picture::Move(int x, int y, int width, int height) const {
  controls::MoveControl(hwnd_, x, y, width, height);
}

void Picture::Name(std::string text) {
  name_ = std::move(text);
  if (hwnd_) SetWindowTextA(hwnd_, name_.c_str());
  controls::NotifyNameChange(hwnd_);
}

void Picture::Marked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  Redraw();
  controls::NotifyStateChange(hwnd_);
}

std::optional<controls::AccessibleFacts> Picture::OnAccessible() const {
  if (name_.empty()) return std::nullopt;
  if (!clickable_ && !focusable_) return controls::AccessibleFacts{name_, ROLE_SYSTEM_GRAPHIC, 0, ""};
  long state = pressed_ ? STATE_SYSTEM_PRESSED : 0;
  if (marked_) state |= STATE_SYSTEM_SELECTED;
  return controls::AccessibleFacts{name_, ROLE_SYSTEM_PUSHBUTTON, state, "Press"};
}

bool Picture::OnMouseMove(POINT) {
  if (!tracking_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
  }
  Raise(MouseMove);
  return true;
}

LRESULT Picture::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSELEAVE:
      tracking_ = false;
      Raise(MouseLeave);
      return 0;
    case WM_LBUTTONDOWN:
      if (focusable_) SetFocus(hwnd_);
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (wasPressed && clickable_) Raise(Click);
      return 0;
    }
    case WM_SETCURSOR:
      if (clickable_ && LOWORD(lp) == HTCLIENT) {
        SetCursor(controls::HandPointer());
        return TRUE;
      }
      break;
    case WM_GETDLGCODE: {
      if (!focusable_) return 0;
      // Enter belongs to the focused picture, not to a default button.
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      const LRESULT arrows = ArrowKey ? DLGC_WANTARROWS : 0;
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
        return DLGC_BUTTON | DLGC_WANTMESSAGE | arrows;
      return DLGC_BUTTON | arrows;
    }
    case BM_CLICK:
      if (focusable_ || clickable_) Raise(Click);
      return 0;
    case WM_KEYDOWN:
      if (focusable_ && (wp == VK_SPACE || wp == VK_RETURN) && !(lp & (1 << 30))) {
        Raise(Click);
        return 0;
      }
      if (focusable_ && ArrowKey && (wp == VK_UP || wp == VK_LEFT || wp == VK_DOWN || wp == VK_RIGHT)) {
        const int step = wp == VK_UP || wp == VK_LEFT ? -1 : 1;
        const auto handler = ArrowKey;
        handler(step);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      Redraw();
      break;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

bool Picture::OnPaint(HDC target) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return true;
  Look look;
  look.dpi = Dpi();
  look.focused = focusable_ && HasFocus() && !FocusCuesHidden();
  look.highContrast = controls::HighContrast();
  look.marked = marked_;
  art::Raster raster(client.right, client.bottom);
  raster.Clear(look.highContrast ? SysColour(COLOR_WINDOW) : background_);
  if (shapes_) shapes_(raster, look);

  // Shapes and text meet in a memory bitmap so the screen sees one blit.
  controls::MemoryDC mem(target);
  controls::Bitmap bmp(CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!mem || !bmp) return true;
  controls::Selection selected(mem.get(), bmp.get());
  PresentRaster(raster, mem.get(), 0, 0);
  if (text_) {
    SetBkMode(mem.get(), TRANSPARENT);
    text_(mem.get(), client, look);
  }
  BitBlt(target, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace kv
