// The one foundation every window of the program stands on: its class is
// registered once, the C++ object is bound to its HWND from WM_NCCREATE to
// WM_NCDESTROY, no C++ exception ever leaves the window procedure, the DPI
// follows the monitor, the window owns its fonts, and messages arrive at
// small virtual handlers.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "controls/accessible.h"
#include "controls/gdi.h"
#include "platform/window_places.h"

namespace kv::controls {

// What a window class is registered with; the name identifies it, so the
// first window of a class decides the rest.
struct WindowClass {
  const char* name;
  UINT style = 0;
  HBRUSH background = nullptr;  // must live as long as the process
  bool programIcon = false;     // the program's icon (resource 1), large and small
};

// A font by description; the size is in points, so the pixels follow the DPI.
struct Typeface {
  const char* face = "Segoe UI";
  int points = 9;
  int weight = FW_NORMAL;
  bool underline = false;
  BYTE pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
};
bool operator==(const Typeface& a, const Typeface& b);

Font MakeFont(const Typeface& typeface, UINT dpi);

// The window's DPI: GetDpiForWindow where the system has it, else the
// screen's logical pixels per inch (also for a null window).
UINT WindowDpi(HWND hwnd);

// The part of the window's monitor that windows may cover (the screen less
// the taskbar); the primary monitor's for a null window.
RECT WorkAreaOf(HWND hwnd);

// Lays the program's windows out for a screen the machine does not have: a
// work area and a DPI that WorkAreaOf and WindowDpi answer while it is held.
// The window rules are the same at every size and scale, so tests walk them
// at the screens people have without changing the real display.
class ScreenOverride {
 public:
  ScreenOverride(RECT workArea, UINT dpi);
  ~ScreenOverride();
  ScreenOverride(const ScreenOverride&) = delete;
  ScreenOverride& operator=(const ScreenOverride&) = delete;

 private:
  const ScreenOverride* before_;
  RECT workArea_;
  UINT dpi_;
  friend RECT WorkAreaOf(HWND);
  friend UINT WindowDpi(HWND);
};

// A child control of a system class ("LISTBOX", "EDIT", a tree view ...),
// created at 1x1 for its window's layout to place; WS_CHILD is added. A
// control that does not show its text (a list, a tree) is named by it for
// assistive technology.
HWND MakeChild(HWND parent, const char* cls, int id, const char* text, DWORD style,
               DWORD exStyle = 0);

// Moves and sizes a child (pixels in its parent's client area) without
// touching its z-order, which is the Tab order. A null child is ignored.
void MoveControl(HWND control, int x, int y, int width, int height);
// Gives a control a font and redraws it in it. A null control is ignored.
void SetControlFont(HWND control, HFONT font);

// One child control as a table of controls gives it (control_table.h):
// its class, text and style (WS_CHILD is added), its place at 96 DPI and
// its font, and what assistive technology calls it where the control does
// not say so itself (empty: what it shows). A place left at zero is a
// control that its page's Layout() places and fonts.
struct ControlPlan {
  int id = 0;
  const char* cls = "STATIC";
  const char* text = "";
  DWORD style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::optional<Typeface> font;
  const char* name = "";
  DWORD exStyle = 0;
  bool Placed() const { return x || y || width || height; }
};
// Makes a system control from its plan as a child of `parent`, named for
// assistive technology; it is not placed.
HWND MakeControl(HWND parent, const ControlPlan& plan);
template <class W>
struct ControlRow;

// A length in pixels at 96 DPI, for the given DPI.
inline int Scale(int px96, UINT dpi) { return MulDiv(px96, int(dpi), 96); }
inline float ScaleF(float px96, UINT dpi) { return px96 * float(dpi) / 96.0f; }
// A length in twips (1440 per inch), in pixels at the given DPI.
inline int Twips(int twips, UINT dpi) { return MulDiv(twips, int(dpi), 1440); }

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The DPI the window is laid out for; it changes with WM_DPICHANGED
  // (top-level windows) and WM_DPICHANGED_AFTERPARENT (children).
  UINT Dpi() const { return dpi_; }
  int Px(int px96) const { return Scale(px96, dpi_); }
  // One of the window's fonts, made for its DPI on first use. The window
  // owns it; after a DPI change the same description gives a new font and
  // the old one lives until OnDpiChanged has handed the new one out.
  HFONT FontOf(const Typeface& typeface) const;
  void Redraw() const;
  // Sizes the window so that its client area is `client` (at 96 DPI) at its
  // DPI, keeping its place.
  void SizeClientTo(SIZE client);
  // Centres the window in the work area of its monitor, its top left corner
  // never off it, and raises it.
  void CentreOnScreen() const;
  // Centres the window on `owner` (on the screen when there is none or it
  // is hidden or minimised), then keeps it inside the work area.
  void CentreOn(HWND owner) const;
  // A secondary window opened from `opener` (any window inside the one
  // that opens it): that window becomes its owner, so it stays in front of
  // it and goes with it when minimised, and it opens centred on it (on the
  // screen without one). A window already shown keeps its place.
  void OpenOver(HWND opener);
  // Shrinks the window to its monitor's work area where it is larger and
  // moves it wholly inside; a window never opens partly off screen.
  void FitOnScreen() const;
  // Puts the window where the user left it last time (a window that cannot
  // be sized keeps its own size), wholly inside the work area whatever the
  // screen is now; none leaves it where it is. A window left maximised
  // opens maximised: Show gives the command its ShowWindow takes.
  void RestorePlace(const std::optional<WindowPlace>& kept);
  int ShowCommand(int usual);
  // Told the window's place each time the user has moved or sized it, or
  // maximised or restored it.
  std::function<void(const WindowPlace&)> PlaceChanged;

  // The least client size (at 96 DPI) the user can size the window down to.
  void MinimumClient(SIZE client96) { minClient96_ = client96; }

 protected:
  Window() = default;
  // Unbinds, then destroys the window. A window whose members are child
  // windows or state its handlers read calls Destroy() first in its own
  // destructor, so the system's messages never reach a half-destroyed object.
  virtual ~Window();

  // Registers the class on first use and creates the window bound to this
  // object. False when it already exists or the system refuses.
  bool Create(const WindowClass& cls, DWORD exStyle, const char* title, DWORD style, int x, int y,
              int width, int height, HWND parent, int id = 0);
  void Destroy();

  // Places a child at a rectangle given at 96 DPI and, when given, sets its
  // font; both are done again for the new DPI when it changes.
  void Place(HWND child, int x, int y, int width, int height,
             std::optional<Typeface> font = std::nullopt);
  // Makes a system control from its plan, placed as Place does and named
  // for assistive technology.
  HWND MakeRow(const ControlPlan& plan);
  // Makes a window's table of controls (control_table.h) in its order,
  // which is the Tab order; `plain` is the program's own controls' look.
  // Rows with a place are placed as Place does; the rest wait for the
  // window's own layout.
  template <class W, size_t N>
  void MakeControls(const ControlRow<W> (&rows)[N], bool plain = false);

  // --- handlers ------------------------------------------------------------
  // Each returns whether it handled the message; an unhandled one goes to
  // OnMessage, which gives the system's default treatment unless overridden.
  virtual void OnCreate() {}
  virtual bool OnCommand(int id, int code, HWND from) {
    (void)id, (void)code, (void)from;
    return false;
  }
  // WM_PAINT (inside BeginPaint/EndPaint) and WM_PRINTCLIENT.
  virtual bool OnPaint(HDC dc) {
    (void)dc;
    return false;
  }
  virtual bool OnTimer(UINT_PTR id) {
    (void)id;
    return false;
  }
  virtual void OnSize(int width, int height) { (void)width, (void)height; }
  // WM_ERASEBKGND: true when the background is drawn.
  virtual bool OnEraseBackground(HDC dc) {
    (void)dc;
    return false;
  }
  // The pointer moved over the window's own background.
  virtual bool OnMouseMove(POINT at) {
    (void)at;
    return false;
  }
  // A static child is about to draw (WM_CTLCOLORSTATIC): its text colour and
  // the brush behind it; none leaves it to the system. The text is drawn
  // transparent over the brush.
  struct LabelLook {
    COLORREF ink;
    HBRUSH ground;
  };
  virtual std::optional<LabelLook> OnLabelLook(HWND label) {
    (void)label;
    return std::nullopt;
  }
  // The pointer over a child in its client area (links show a hand); null
  // keeps the usual one.
  virtual HCURSOR OnChildPointer(HWND child) {
    (void)child;
    return nullptr;
  }
  // F1 (WM_HELP): the window opens its page of the help; unhandled, the
  // system passes the request on.
  virtual bool OnHelp() { return false; }
  // The close box; unhandled, the window is destroyed.
  virtual bool OnClose() { return false; }
  // The DPI has changed: the window has its new size, the placed children
  // their new places and fonts; the rest of the layout is redone here.
  virtual void OnDpiChanged() {}
  // What assistive technology is told about the window (WM_GETOBJECT for
  // its client object); none leaves the system's standard answer. Asked
  // afresh each time a client wants to know.
  virtual std::optional<AccessibleFacts> OnAccessible() const { return std::nullopt; }
  // The system's colours or its high-contrast setting changed; the window
  // is repainted afterwards, children included.
  virtual void OnColoursChanged() {}
  // The window is gone (its parent was destroyed, or DestroyWindow ran);
  // the object is already unbound.
  virtual void OnDestroyed() {}
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) const { return DefWindowProcA(hwnd_, msg, wp, lp); }

  // Asks for one WM_MOUSELEAVE when the pointer leaves the window.
  void TrackPointerLeave() const;
  // Where the pointer is now, in client coordinates.
  POINT PointerInClient() const;
  bool HasFocus() const;
  // When the control with the focus has just been hidden (its page or panel
  // went away), the keyboard would be lost: the focus moves to the first Tab
  // stop inside `preferred` when it has one, else to the window's first.
  void RescueFocus(HWND preferred = nullptr) const;
  bool FocusCuesHidden() const;
  // Raises an event through a copy of the handler: the handler may replace
  // itself or destroy the window, so callers touch no member afterwards.
  static void Raise(const std::function<void()>& event);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // A window of one of the program's own classes, bound through Proc.
  static bool IsProgramWindow(HWND hwnd);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void ChangeDpi(UINT dpi);
  void ColoursChanged(UINT msg, WPARAM wp, LPARAM lp);
  void KeepFocus(WPARAM activation);
  void PlaceNow(HWND child, const RECT& at96, const std::optional<Typeface>& font);

  struct Placed {
    HWND child;
    RECT at96;
    std::optional<Typeface> font;
  };
  UINT dpi_ = 96;
  mutable std::vector<std::pair<Typeface, Font>> fonts_;
  std::vector<Placed> placed_;
  HWND lastFocus_ = nullptr;  // a top-level window's focused child when it was deactivated
  SIZE minClient96_{0, 0};
  RECT normal_{};           // the last place while neither maximised nor minimised
  bool maximized_ = false;  // as last told to PlaceChanged
  bool openMaximized_ = false;
  void TrackPlace(bool userDone);
};

// Client coordinates carried by a mouse message.
POINT MousePoint(LPARAM lp);
bool Contains(const RECT& r, POINT p);

}  // namespace kv::controls
