#include "controls/window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace kv::controls {

namespace {

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
constexpr UINT WM_DPICHANGED_AFTERPARENT = 0x02E3;  // older headers lack it
#endif

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Older systems have no GetDpiForWindow; linking it directly would stop the
// program from starting there.
GetDpiForWindowFn DpiForWindowFunction() {
  static const GetDpiForWindowFn fn = [] {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return GetDpiForWindowFn{};
    FARPROC proc = GetProcAddress(user32, "GetDpiForWindow");
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(proc));
  }();
  return fn;
}

bool EnsureClass(const WindowClass& cls, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, cls.name, &wc)) return true;
  wc.style = cls.style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = cls.background;
  if (cls.programIcon) {
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  }
  wc.lpszClassName = cls.name;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The first control in Tab order inside `container`: what a dialog gives
// the focus first. Spelled out rather than asking GetNextDlgTabItem for
// the item after none, which Wine and Windows answer differently.
HWND FirstTabStop(HWND container) {
  for (HWND c = GetWindow(container, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c) || !IsWindowEnabled(c)) continue;
    if (GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP) return c;
    if (GetWindowLongPtrA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND inner = FirstTabStop(c)) return inner;
  }
  return nullptr;
}

void Report(const char* what) {
  OutputDebugStringA("Korvanel: exception in a window handler: ");
  OutputDebugStringA(what);
  OutputDebugStringA("\n");
}

}  // namespace

bool operator==(const Typeface& a, const Typeface& b) {
  return std::strcmp(a.face, b.face) == 0 && a.points == b.points && a.weight == b.weight &&
         a.underline == b.underline && a.pitchAndFamily == b.pitchAndFamily;
}

Font MakeFont(const Typeface& typeface, UINT dpi) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(typeface.points, int(dpi), 72);
  lf.lfWeight = typeface.weight;
  lf.lfUnderline = typeface.underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = typeface.pitchAndFamily;
  lstrcpynA(lf.lfFaceName, typeface.face, LF_FACESIZE);
  return Font(CreateFontIndirectA(&lf));
}

namespace {
const ScreenOverride* screenOverride = nullptr;

// Classes that show their own text, which the system then names them by.
bool IsLabelled(const char* cls) {
  for (const char* shows : {"STATIC", "BUTTON", "EDIT"})
    if (lstrcmpiA(cls, shows) == 0) return true;
  return false;
}

// The window rectangle around a client area of the given size.
RECT FrameAround(HWND hwnd, SIZE client, UINT dpi) {
  RECT r{0, 0, client.cx, client.cy};
  const DWORD style = DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
  const DWORD ex = DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
  // The frame grows with the DPI too where the system can say by how much.
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  if (!adjust || !adjust(&r, style, FALSE, ex, dpi)) AdjustWindowRectEx(&r, style, FALSE, ex);
  return r;
}
}  // namespace

ScreenOverride::ScreenOverride(RECT workArea, UINT dpi)
    : before_(screenOverride), workArea_(workArea), dpi_(dpi) {
  screenOverride = this;
}
ScreenOverride::~ScreenOverride() { screenOverride = before_; }

RECT WorkAreaOf(HWND hwnd) {
  if (screenOverride) return screenOverride->workArea_;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR m = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (GetMonitorInfoA(m, &monitor)) return monitor.rcWork;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

UINT WindowDpi(HWND hwnd) {
  if (screenOverride) return screenOverride->dpi_;
  if (auto fn = DpiForWindowFunction(); fn && hwnd) {
    if (UINT dpi = fn(hwnd)) return dpi;
  }
  int dpi = 0;
  if (WindowDC dc(hwnd); dc) dpi = GetDeviceCaps(dc.get(), LOGPIXELSX);
  return dpi > 0 ? UINT(dpi) : 96u;
}

HWND MakeChild(HWND parent, const char* cls, int id, const char* text, DWORD style, DWORD exStyle) {
  HWND child = CreateWindowExA(exStyle, cls, text, WS_CHILD | style, 0, 0, 1, 1, parent,
                               reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  // Lists and trees show no text of their own; the one they are made with
  // is what a screen reader calls them.
  if (child && text && *text && !IsLabelled(cls)) NameForAccessibility(child, text);
  return child;
}

void MoveControl(HWND control, int x, int y, int width, int height) {
  if (control) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlFont(HWND control, HFONT font) {
  if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

POINT MousePoint(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool Window::IsProgramWindow(HWND hwnd) {
  return hwnd && GetClassLongPtrA(hwnd, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(&Window::Proc);
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (!hwnd_) return;
  // The system would take the windows this one owns down with it; a window
  // opened from it (the support list from the anti-virus setup) stays open,
  // owned by this one's owner.
  struct Handover {
    HWND from, to;
  } handover{hwnd_, GetWindow(hwnd_, GW_OWNER)};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        const auto& h = *reinterpret_cast<const Handover*>(data);
        if (GetWindow(w, GW_OWNER) == h.from)
          SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(h.to));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handover));
  HWND hwnd = std::exchange(hwnd_, nullptr);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  placed_.clear();
}

bool Window::Create(const WindowClass& cls, DWORD exStyle, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent, int id) {
  if (hwnd_ || !EnsureClass(cls, &Window::Proc)) return false;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
  HWND made = CreateWindowExA(exStyle, cls.name, title, style, x, y, width, height, parent, menu,
                              GetModuleHandleA(nullptr), this);
  return made != nullptr;
}

HFONT Window::FontOf(const Typeface& typeface) const {
  for (const auto& [have, font] : fonts_)
    if (have == typeface) return font.get();
  fonts_.emplace_back(typeface, MakeFont(typeface, dpi_));
  return fonts_.back().second.get();
}

void Window::Place(HWND child, int x, int y, int width, int height, std::optional<Typeface> font) {
  if (!child) return;
  const RECT at96{x, y, x + width, y + height};
  PlaceNow(child, at96, font);
  for (Placed& p : placed_)
    if (p.child == child) {
      p.at96 = at96;
      p.font = std::move(font);
      return;
    }
  placed_.push_back(Placed{child, at96, std::move(font)});
}

void Window::PlaceNow(HWND child, const RECT& at96, const std::optional<Typeface>& font) {
  MoveControl(child, Px(at96.left), Px(at96.top), Px(at96.right - at96.left), Px(at96.bottom - at96.top));
  if (font) SetControlFont(child, FontOf(*font));
}

void Window::ChangeDpi(UINT dpi) {
  // The children still hold the old fonts until they are given the new ones.
  const auto retired = std::exchange(fonts_, {});
  dpi_ = dpi ? dpi : 96u;
  for (const Placed& p : placed_)
    if (IsWindow(p.child)) PlaceNow(p.child, p.at96, p.font);
  OnDpiChanged();
  Redraw();
}

// Only top-level windows hear of a change of colours or settings; they pass
// it on to every window of the program inside them (and the colour change
// to every child, as the system's controls expect), then repaint the lot.
void Window::ColoursChanged(UINT msg, WPARAM wp, LPARAM lp) {
  OnColoursChanged();
  if (!hwnd_ || (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD)) return;
  struct Change {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  } change{msg, wp, lp};
  EnumChildWindows(
      hwnd_,
      [](HWND child, LPARAM data) -> BOOL {
        const auto& c = *reinterpret_cast<const Change*>(data);
        if (IsProgramWindow(child) || c.msg == WM_SYSCOLORCHANGE) SendMessageA(child, c.msg, c.wp, c.lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&change));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// As dialogs do: a window that loses the activation remembers which of its
// controls had the focus and gives it back when it is activated again; the
// first time, the first control in the Tab order gets it, so the keyboard
// works at once.
void Window::KeepFocus(WPARAM activation) {
  if (LOWORD(activation) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(activation)) return;  // activated while minimised: nothing to focus yet
  HWND target = lastFocus_;
  const bool usable = target && IsWindow(target) && IsChild(hwnd_, target) &&
                      IsWindowVisible(target) && IsWindowEnabled(target);
  if (!usable) target = FirstTabStop(hwnd_);
  SetFocus(target ? target : hwnd_);
}

void Window::SizeClientTo(SIZE client) {
  const RECT r = FrameAround(hwnd_, SIZE{Px(client.cx), Px(client.cy)}, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::CentreOnScreen() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const RECT area = WorkAreaOf(hwnd_);
  const LONG x = area.left + std::max(0L, ((area.right - area.left) - (r.right - r.left)) / 2);
  const LONG y = area.top + std::max(0L, ((area.bottom - area.top) - (r.bottom - r.top)) / 2);
  SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::CentreOn(HWND owner) const {
  if (!hwnd_) return;
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner)) {
    CentreOnScreen();
    FitOnScreen();
    return;
  }
  RECT o{}, r{};
  GetWindowRect(owner, &o);
  GetWindowRect(hwnd_, &r);
  const LONG x = o.left + ((o.right - o.left) - (r.right - r.left)) / 2;
  const LONG y = o.top + ((o.bottom - o.top) - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitOnScreen();
}

void Window::OpenOver(HWND opener) {
  if (!hwnd_) return;
  HWND owner = opener ? GetAncestor(opener, GA_ROOT) : nullptr;
  if (owner == hwnd_) owner = nullptr;
  if (owner) SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  if (!IsWindowVisible(hwnd_)) CentreOn(owner);
}

void Window::RestorePlace(const std::optional<WindowPlace>& kept) {
  if (!hwnd_ || !kept) return;
  const RECT& r = kept->normal;
  const bool sizable = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_THICKFRAME) != 0;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (sizable ? 0 : SWP_NOSIZE));
  FitOnScreen();
  GetWindowRect(hwnd_, &normal_);
  openMaximized_ = kept->maximized && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_MAXIMIZEBOX);
  maximized_ = openMaximized_;
}

int Window::ShowCommand(int usual) {
  if (!std::exchange(openMaximized_, false) || IsWindowVisible(hwnd_)) return usual;
  return SW_SHOWMAXIMIZED;
}

// The normal place follows every move and size; the user's are told when
// the drag ends or the window is maximised or restored, not at every step.
void Window::TrackPlace(bool userDone) {
  if (!hwnd_ || !IsWindowVisible(hwnd_) || IsIconic(hwnd_)) return;
  const bool zoomed = IsZoomed(hwnd_) != FALSE;
  if (!zoomed) {
    GetWindowRect(hwnd_, &normal_);
  } else if (normal_.right <= normal_.left) {
    // Maximised before it was ever moved: the system kept its place.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd_, &placement)) normal_ = placement.rcNormalPosition;
  }
  if (!PlaceChanged || normal_.right <= normal_.left) return;
  if (userDone || zoomed != maximized_) {
    maximized_ = zoomed;
    const auto tell = PlaceChanged;
    tell(WindowPlace{normal_, zoomed});
  }
}

void Window::FitOnScreen() const {
  if (!hwnd_) return;
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const RECT area = WorkAreaOf(hwnd_);
  const LONG w = std::min(r.right - r.left, area.right - area.left);
  const LONG h = std::min(r.bottom - r.top, area.bottom - area.top);
  const LONG x = std::clamp(r.left, area.left, area.right - w);
  const LONG y = std::clamp(r.top, area.top, area.bottom - h);
  if (x != r.left || y != r.top || w != r.right - r.left || h != r.bottom - r.top)
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::Redraw() const {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::TrackPointerLeave() const {
  if (!hwnd_) return;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = hwnd_;
  TrackMouseEvent(&tme);
}

POINT Window::PointerInClient() const {
  POINT p{-1, -1};
  if (hwnd_ && GetCursorPos(&p)) ScreenToClient(hwnd_, &p);
  return p;
}

void Window::RescueFocus(HWND preferred) const {
  // The system hands the focus of a hidden control to its parent, so the
  // window itself (or a hidden container) may hold it by now.
  const HWND focus = GetFocus();
  if (!hwnd_ || !focus) return;
  if (focus != hwnd_ && (!IsChild(hwnd_, focus) || IsWindowVisible(focus))) return;
  HWND target = nullptr;
  if (preferred && IsWindowVisible(preferred)) target = FirstTabStop(preferred);
  if (!target) target = FirstTabStop(hwnd_);
  SetFocus(target ? target : hwnd_);
}

bool Window::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

bool Window::FocusCuesHidden() const {
  if (!hwnd_) return true;
  const LRESULT state = SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0);
  return (state & UISF_HIDEFOCUS) != 0;
}

void Window::Raise(const std::function<void()>& event) {
  if (!event) return;
  const std::function<void()> handler = event;
  handler();
}

// The one window procedure. A handler that throws must not unwind into the
// system's code: the exception ends at this boundary and the message gets
// the system's default treatment (DefWindowProcA), whatever the window. The
// object may be destroyed by its own handler, so nothing here touches it
// after dispatching.
LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) {
      self->hwnd_ = hwnd;
      self->dpi_ = WindowDpi(hwnd);
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->placed_.clear();
    try {
      self->OnDestroyed();
    } catch (const std::exception& e) {
      Report(e.what());
    } catch (...) {
      Report("unknown");
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  try {
    return self->Dispatch(msg, wp, lp);
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("unknown");
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      if (dc.get()) OnPaint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      if (OnPaint(reinterpret_cast<HDC>(wp))) return 0;
      break;
    case WM_TIMER:
      if (OnTimer(wp)) return 0;
      break;
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      if (!(GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD)) TrackPlace(false);
      return 0;
    case WM_MOVE:
      if (!(GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD)) TrackPlace(false);
      break;
    case WM_EXITSIZEMOVE:
      TrackPlace(true);
      break;
    case WM_ERASEBKGND:
      if (OnEraseBackground(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove(MousePoint(lp))) return 0;
      break;
    case WM_CLOSE:
      if (OnClose()) return 0;
      break;
    case WM_HELP:
      if (OnHelp()) return TRUE;
      break;
    case WM_CTLCOLORSTATIC:
      if (const auto look = OnLabelLook(reinterpret_cast<HWND>(lp))) {
        const HDC dc = reinterpret_cast<HDC>(wp);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, look->ink);
        return reinterpret_cast<LRESULT>(look->ground);
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) != hwnd_) {
        if (HCURSOR pointer = OnChildPointer(reinterpret_cast<HWND>(wp))) {
          SetCursor(pointer);
          return TRUE;
        }
      }
      break;
    case WM_DPICHANGED: {
      // Resized to the system's suggestion first, so the relayout sees the
      // new client area.
      if (const RECT* r = reinterpret_cast<const RECT*>(lp))
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      ChangeDpi(HIWORD(wp));
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      if (minClient96_.cx > 0 || minClient96_.cy > 0) {
        const RECT f = FrameAround(hwnd_, SIZE{Px(minClient96_.cx), Px(minClient96_.cy)}, dpi_);
        info->ptMinTrackSize = POINT{f.right - f.left, f.bottom - f.top};
      }
      // A window may always be as large as its monitor's work area.
      const RECT area = WorkAreaOf(hwnd_);
      info->ptMaxTrackSize.x = std::max(info->ptMaxTrackSize.x, area.right - area.left);
      info->ptMaxTrackSize.y = std::max(info->ptMaxTrackSize.y, area.bottom - area.top);
      return 0;
    }
    case WM_DPICHANGED_AFTERPARENT:
      ChangeDpi(WindowDpi(hwnd_));
      return 0;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT) && OnAccessible()) {
        const HWND self = hwnd_;
        return AnswerGetObject(hwnd_, wp, lp, [self]() -> std::optional<AccessibleFacts> {
          // The object may outlive the window, or the window its binding.
          if (!IsProgramWindow(self)) return std::nullopt;
          const auto* bound = reinterpret_cast<const Window*>(GetWindowLongPtrA(self, GWLP_USERDATA));
          return bound ? bound->OnAccessible() : std::nullopt;
        });
      }
      break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      ColoursChanged(msg, wp, lp);
      break;
    case WM_ACTIVATE:
      if (!(GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD)) {
        KeepFocus(wp);
        return 0;
      }
      break;
    default:
      break;
  }
  return OnMessage(msg, wp, lp);
}

}  // namespace kv::controls
