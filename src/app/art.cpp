#include "app/art.h"

#include <exception>

#include "controls/theme.h"

namespace kv {

namespace {

void RegisterOnce(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc{sizeof wc};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = Picture::kClassName;
  RegisterClassExA(&wc);
  done = true;
}

}  // namespace

COLORREF ToColorRef(art::Colour c) { return RGB(c.r, c.g, c.b); }

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

Picture::~Picture() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Picture::Create(HWND parent, int id, art::Colour background, ShapePainter shapes,
                     TextPainter text, bool clickable, bool focusable) {
  if (hwnd_) return false;
  RegisterOnce(&Picture::Proc);
  background_ = background;
  shapes_ = std::move(shapes);
  text_ = std::move(text);
  clickable_ = clickable;
  focusable_ = focusable;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (focusable ? WS_TABSTOP : 0);
  hwnd_ = CreateWindowExA(0, kClassName, "", style, 0, 0, 1, 1, parent,
                          reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void Picture::Visible(bool show) const {
  if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void Picture::Move(int x, int y, int width, int height) const {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Picture::Redraw() const {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Picture::Raise(const std::function<void()>& event) {
  if (!event) return;
  const std::function<void()> copy = event;  // the handler may replace itself
  copy();
}

LRESULT CALLBACK Picture::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Picture*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  try {
    return self->Handle(msg, wp, lp);
  } catch (const std::exception&) {
    return DefWindowProcA(h, msg, wp, lp);
  } catch (...) {
    return DefWindowProcA(h, msg, wp, lp);
  }
}

LRESULT Picture::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      Raise(MouseMove);
      return 0;
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
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) return DLGC_BUTTON | DLGC_WANTMESSAGE;
      return DLGC_BUTTON;
    }
    case BM_CLICK:
      if (focusable_ || clickable_) Raise(Click);
      return 0;
    case WM_KEYDOWN:
      if (focusable_ && (wp == VK_SPACE || wp == VK_RETURN) && !(lp & (1 << 30))) {
        Raise(Click);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      Redraw();
      break;
    case WM_SIZE:
      Redraw();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

void Picture::Paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  Look look;
  look.dpi = controls::WindowDpi(hwnd_);
  look.focused = focusable_ && GetFocus() == hwnd_ &&
                 !(SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  art::Raster raster(client.right, client.bottom);
  raster.Clear(background_);
  if (shapes_) shapes_(raster, look);

  // Shapes and text meet in a memory bitmap so the screen sees one blit.
  HDC mem = CreateCompatibleDC(target);
  HBITMAP bmp = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  PresentRaster(raster, mem, 0, 0);
  if (text_) {
    SetBkMode(mem, TRANSPARENT);
    text_(mem, client, look);
  }
  BitBlt(target, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

}  // namespace kv
