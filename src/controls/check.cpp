#include "controls/check.h"

#include <oleacc.h>

#include <algorithm>

namespace kv {

using namespace controls;

namespace {

// Layout in twips.
constexpr int kCaptionLeft = 255;  // Label1 from the left edge
constexpr int kAbove = 15;         // Label1 and Image1 above the top edge
constexpr int kMarkerRight = 50;   // Image1's right side from the right edge
// Sizes at 96 DPI.
constexpr int kBox = 14;     // Check1's side
constexpr int kMarker = 10;  // Image1's side

using palette::kAccent;
using palette::kGreyText;

}  // namespace

check::check(HWND parent, int id, int x, int y, int width, int height, std::string_view caption,
             bool plain) {
  Create(parent, id, x, y, width, height, caption, plain);
}

bool check::Create(HWND parent, int id, int x, int y, int width, int height,
                   std::string_view caption, bool plain) {
  if (hwnd_) return false;
  caption_ = std::string(caption);
  plain_ = plain;
  return CreateControl(kClassName, parent, id, x, y, width, height, caption_, WS_TABSTOP);
}

void check::Caption(std::string_view text) {
  caption_ = std::string(text);
  if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
  NotifyNameChange(hwnd_);
  Redraw();
}

void check::Value(int value) {
  const bool changed = value_ != (value != 0);
  value_ = value != 0;
  if (changed) NotifyStateChange(hwnd_);
  Redraw();
}

void check::downStatus(int) { SetLit(false); }

COLORREF check::CaptionColor() const {
  if (HighContrast()) return GetSysColor(lit_ ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT);
  return lit_ ? kBlue : kBlack;
}

check::Parts check::LayoutFor(SIZE client, UINT dpi) {
  const int w = client.cx, h = client.cy;
  const int box = Scale(kBox, dpi), marker = Scale(kMarker, dpi);
  const int left = Twips(kCaptionLeft, dpi), top = -Twips(kAbove, dpi);
  const int markerRight = w - Twips(kMarkerRight, dpi);
  return Parts{RECT{0, 0, box, box}, RECT{left, top, left + w, h},
               RECT{markerRight - marker, top, markerRight, top + marker}, RECT{0, 0, w, h}};
}

check::Parts check::Layout() const {
  RECT client{0, 0, 0, 0};
  if (hwnd_) GetClientRect(hwnd_, &client);
  return LayoutFor(SIZE{client.right, client.bottom}, Dpi());
}

RECT check::BoxRect() const {
  RECT client{0, 0, 0, 0};
  if (!hwnd_) return client;
  GetClientRect(hwnd_, &client);
  return RECT{0, 0, std::min(Layout().Label1.left, client.right), client.bottom};
}

RECT check::CaptionRect() const {
  RECT client{0, 0, 0, 0};
  if (!hwnd_) return client;
  GetClientRect(hwnd_, &client);
  const Parts parts = Layout();
  const LONG left = std::min(parts.Label1.left, client.right);
  LONG right = std::min(parts.Label1.right, client.right);
  if (!plain_) right = std::clamp(parts.Image1.left, left, right);  // Image1 lies over Label1
  return RECT{left, 0, right, client.bottom};
}

check::Part check::HitTest(POINT p) const {
  if (Contains(CaptionRect(), p)) return Part::Caption;
  if (Contains(BoxRect(), p)) return Part::Box;
  return Part::None;
}

void check::SetLit(bool lit) {
  if (lit_ == lit) return;
  lit_ = lit;
  Redraw();
}

void check::LightCaption() {
  if (lit_) return;
  if (!plain_) Raise(CaptionHover);
  SetLit(true);
}

void check::ToggleAndRaise() {
  value_ = !value_;
  NotifyStateChange(hwnd_);
  Redraw();
  Raise(Click);
}

void check::OnHover(POINT, int part) {
  if (boxHot_ != (part == int(Part::Box))) {
    boxHot_ = part == int(Part::Box);
    Redraw();
  }
  if (part == int(Part::Caption))
    LightCaption();
  else
    SetLit(false);
}

void check::AccessibleName(std::string name) {
  accessibleName_ = std::move(name);
  NotifyNameChange(hwnd_);
}

std::optional<AccessibleFacts> check::OnAccessible() const {
  long state = value_ ? STATE_SYSTEM_CHECKED : 0;
  if (HeldOver()) state |= STATE_SYSTEM_PRESSED;
  if (lit_) state |= STATE_SYSTEM_HOTTRACKED;
  return AccessibleFacts{accessibleName_.empty() ? caption_ : accessibleName_, ROLE_SYSTEM_CHECKBUTTON,
                         state, value_ ? "Uncheck" : "Check"};
}

void check::OnDestroyed() {
  ControlWindow::OnDestroyed();
  lit_ = boxHot_ = false;
}

LRESULT check::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT shared; HandleShared(msg, wp, lp, caption_, shared)) return shared;
  if (LRESULT pressed; HandlePress(msg, wp, lp, pressed)) return pressed;
  switch (msg) {
    case WM_MOUSELEAVE:
      if (!MouseHeld()) {
        boxHot_ = false;
        SetLit(false);
        Redraw();
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case BM_GETCHECK:
      return value_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      Value(wp == BST_CHECKED ? 1 : 0);
      return 0;
    case BM_CLICK:
      ToggleAndRaise();
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void check::Paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  Canvas canvas(target, client.right, client.bottom);
  if (!canvas.Ok()) return;
  canvas.PaintParentBackground(hwnd_);
  const bool usable = IsWindowEnabled(hwnd_) != FALSE;
  const Parts parts = Layout();
  const bool contrast = HighContrast();
  if (contrast) {
    PaintHighContrast(canvas, parts, usable);
  } else {
    if (!plain_) {
      PaintImage2(canvas, parts.Image2);
      PaintImage1(canvas, parts.Image1, usable);
    }
    PaintCheck1(canvas, parts.Check1, usable);
  }
  RECT text = parts.Label1;
  text.right = CaptionRect().right;  // clipped where the control or Image1 ends
  const COLORREF colour = usable ? CaptionColor() : contrast ? GetSysColor(COLOR_GRAYTEXT) : kGreyText;
  canvas.Text(caption_.c_str(), int(caption_.size()), text, CaptionFont(), colour,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (HasFocus() && !FocusCuesHidden()) {
    const float line = std::max(1.0f, float(int(ScaleF(1.0f, Dpi()))));
    const RectF whole{0.0f, 0.0f, float(client.right), float(client.bottom)};
    if (contrast)
      canvas.StrokeRound(whole, 0.0f, line, GetSysColor(COLOR_WINDOWTEXT), 1.0f);
    else
      canvas.StrokeRound(whole, ScaleF(3.0f, Dpi()), line, kAccent, 0.75f);
  }
  canvas.Present(target);
}

// The same parts in the system colours: the page's window colour behind, a
// box framed and marked in the text colour, the marker a dot or a ring.
void check::PaintHighContrast(Canvas& canvas, const Parts& parts, bool usable) const {
  const UINT dpi = Dpi();
  const float line = std::max(1.0f, float(int(ScaleF(1.0f, dpi))));
  const COLORREF ground = GetSysColor(COLOR_WINDOW);
  const COLORREF ink = GetSysColor(usable ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  const RECT& at = parts.Check1;
  const float bx = float(at.left), by = float(at.top), side = float(at.right - at.left);
  const RectF box{bx, by, bx + side, by + side};
  const bool pressed = IsPressed();
  const COLORREF face = pressed ? GetSysColor(COLOR_HIGHLIGHT) : ground;
  canvas.FillRound(box, 0.0f, ink, ink);
  canvas.FillRound(box.Inset(line), 0.0f, face, face);
  if (value_) {
    const float mark[] = {bx + side * 0.24f, by + side * 0.52f, bx + side * 0.43f,
                          by + side * 0.71f, bx + side * 0.77f, by + side * 0.31f};
    canvas.Polyline(mark, 3, ScaleF(1.8f, dpi), pressed ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink);
  }
  if (plain_) return;
  const RECT& m = parts.Image1;
  const float r = ScaleF(3.0f, dpi);
  const float cx = float(m.left + m.right) * 0.5f, cy = float(m.top + m.bottom) * 0.5f;
  canvas.FillCircle(cx, cy, r, ink);
  if (!value_) canvas.FillCircle(cx, cy, r - line, ground);
}

// Image2: a soft strip behind the whole row.
void check::PaintImage2(Canvas& canvas, const RECT& at) const {
  canvas.FillRound({float(at.left), float(at.top), float(at.right), float(at.bottom)},
                   ScaleF(4.0f, Dpi()), palette::kStripTop, palette::kStripBottom);
}

// Image1: the state marker, a filled dot when checked and a ring when not.
void check::PaintImage1(Canvas& canvas, const RECT& at, bool usable) const {
  const float line = std::max(1.0f, float(int(ScaleF(1.0f, Dpi()))));
  const float r = ScaleF(3.0f, Dpi());
  const float cx = float(at.left + at.right) * 0.5f, cy = float(at.top + at.bottom) * 0.5f;
  if (value_ && usable) {
    canvas.FillCircle(cx, cy, r, palette::kMarkerOn);
  } else {
    canvas.FillCircle(cx, cy, r, palette::kMarkerRing);
    canvas.FillCircle(cx, cy, r - line, palette::kMarkerHole);
  }
}

// Check1: the box itself.
void check::PaintCheck1(Canvas& canvas, const RECT& at, bool usable) const {
  const UINT dpi = Dpi();
  const float line = std::max(1.0f, float(int(ScaleF(1.0f, dpi))));
  const float bx = float(at.left), by = float(at.top), side = float(at.right - at.left);
  const RectF box{bx, by, bx + side, by + side};
  const float radius = ScaleF(3.0f, dpi);
  const bool pressed = IsPressed();
  using namespace palette;
  if (value_) {
    const Face& face = !usable ? kBoxOnDisabled : pressed ? kBoxOnPressed : kBoxOn;
    canvas.FillRound(box, radius, face.border, face.border);
    canvas.FillRound(box.Inset(line), radius - line, face.top, face.bottom);
    const float mark[] = {bx + side * 0.24f, by + side * 0.52f, bx + side * 0.43f,
                          by + side * 0.71f, bx + side * 0.77f, by + side * 0.31f};
    canvas.Polyline(mark, 3, ScaleF(1.8f, dpi), kWhite);
  } else {
    const Face& face = pressed ? kBoxOffPressed : kBoxOff;
    const COLORREF border = !usable ? kBoxOffDisabledBorder : (boxHot_ || pressed) ? kAccent : face.border;
    canvas.FillRound(box, radius, border, border);
    canvas.FillRound(box.Inset(line), radius - line, face.top, face.bottom);
  }
}

}  // namespace kv
