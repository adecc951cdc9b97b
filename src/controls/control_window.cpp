#include "controls/control_window.h"

#include <windowsx.h>

#include <exception>

namespace kv::controls {

namespace {

bool EnsureClass(const char* className, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, className, &wc)) return true;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = className;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

POINT MousePoint(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

ControlWindow::~ControlWindow() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

bool ControlWindow::CreateControl(const char* className, HWND parent, int id, int x, int y,
                                  int width, int height, const std::string& text,
                                  DWORD extraStyle) {
  if (hwnd_ || !EnsureClass(className, &ControlWindow::Proc)) return false;
  const DWORD style = WS_CHILD | WS_VISIBLE | extraStyle;
  HWND made = CreateWindowExA(0, className, text.c_str(), style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), this);
  return made != nullptr;
}

LRESULT CALLBACK ControlWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ControlWindow* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<ControlWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->Destroyed();
    } catch (...) {
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  // A handler that throws must not unwind into the system's code; the
  // control stays usable and the message gets its default treatment.
  try {
    return self->Handle(msg, wp, lp);
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("custom control: unknown exception in a handler");
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

#ifndef WM_DPICHANGED_AFTERPARENT
constexpr UINT WM_DPICHANGED_AFTERPARENT = 0x02E3;  // older headers lack it
#endif

bool ControlWindow::HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption,
                                 LRESULT& result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      if (dc) Paint(dc);
      EndPaint(hwnd_, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SETTEXT:
      result = Default(msg, wp, lp);
      caption = lp ? reinterpret_cast<const char*>(lp) : "";
      Redraw();
      return true;
    case WM_SETFONT:
      result = 0;
      return true;
    case WM_DPICHANGED_AFTERPARENT:
    case WM_SIZE:
    case WM_ENABLE:
      Redraw();
      result = 0;
      return true;
    case WM_UPDATEUISTATE:
      result = Default(msg, wp, lp);
      Redraw();
      return true;
    default:
      return false;
  }
}

void ControlWindow::Redraw() const {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ControlWindow::TrackPointerLeave() const {
  if (!hwnd_) return;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = hwnd_;
  TrackMouseEvent(&tme);
}

POINT ControlWindow::PointerInClient() const {
  POINT p{-1, -1};
  if (hwnd_ && GetCursorPos(&p)) ScreenToClient(hwnd_, &p);
  return p;
}

bool ControlWindow::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

bool ControlWindow::FocusCuesHidden() const {
  if (!hwnd_) return true;
  const LRESULT state = SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0);
  return (state & UISF_HIDEFOCUS) != 0;
}

void ControlWindow::Raise(const std::function<void()>& event) {
  if (!event) return;
  std::function<void()> handler = event;
  handler();
}

}  // namespace kv::controls
