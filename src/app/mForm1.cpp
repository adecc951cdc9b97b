#include "app/mForm1.h"

#include "app/app.h"

namespace kv {

namespace {
constexpr char kClassName[] = "KorvanelMain";

void RegisterOnce(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc{sizeof wc};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);
  done = true;
}
}  // namespace

mForm1::mForm1(App& app) : app_(app) {
  RegisterOnce(&mForm1::WndProc);
  hwnd_ = CreateWindowExA(0, kClassName, "Welcome to Korvanel2",
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                          CW_USEDEFAULT, 760, 540, nullptr, nullptr, GetModuleHandleA(nullptr),
                          this);
}

mForm1::~mForm1() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::string mForm1::Caption() const {
  char buf[512] = "";
  GetWindowTextA(hwnd_, buf, sizeof buf);
  return buf;
}

void mForm1::SetCaption(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
void mForm1::Show() { ShowWindow(hwnd_, SW_SHOW); }
void mForm1::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool mForm1::Visible() const { return IsWindowVisible(hwnd_); }

LRESULT CALLBACK mForm1::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<mForm1*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = h;
  }
  auto* self = reinterpret_cast<mForm1*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  try {
    return self->Handle(msg, wp, lp);
  } catch (...) {
    return DefWindowProcA(h, msg, wp, lp);
  }
}

LRESULT mForm1::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // Unloading the main window ends the whole program at once.
      app_.EndProgram();
      return 0;
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

}  // namespace kv
