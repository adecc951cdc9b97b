#include "controls/check.h"

#include <algorithm>

namespace kv {

using namespace controls;

namespace {

// Layout at 96 DPI.
constexpr int kInset = 2;         // box distance from the left edge
constexpr int kBox = 14;          // box side
constexpr int kCaptionLeft = 22;  // caption start, just past the box
constexpr int kMarkerZone = 16;   // right end kept for the state marker (full look)

constexpr COLORREF kAccent = RGB(0, 103, 192);
constexpr COLORREF kGreyText = RGB(128, 128, 128);

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
  Redraw();
}

void check::Value(int value) {
  value_ = value != 0;
  Redraw();
}

void check::downStatus(int) { SetLit(false); }

COLORREF check::CaptionColor() const { return lit_ ? kBlue : kBlack; }

RECT check::BoxRect() const {
  RECT client{0, 0, 0, 0};
  if (!hwnd_) return client;
  GetClientRect(hwnd_, &client);
  const UINT dpi = WindowDpi(hwnd_);
  return RECT{0, 0, std::min(LONG(Scale(kCaptionLeft, dpi)), client.right), client.bottom};
}

RECT check::CaptionRect() const {
  RECT client{0, 0, 0, 0};
  if (!hwnd_) return client;
  GetClientRect(hwnd_, &client);
  const UINT dpi = WindowDpi(hwnd_);
  const LONG left = std::min(LONG(Scale(kCaptionLeft, dpi)), client.right);
  LONG right = client.right;
  if (!plain_) right = std::max(left, right - LONG(Scale(kMarkerZone, dpi)));
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
  Redraw();
  Raise(Click);
}

void check::OnMouseMove(POINT p) {
  TrackPointerLeave();
  const Part part = HitTest(p);
  if (mouseHeld_) {
    const bool over = part == heldPart_;
    if (over != heldOver_) {
      heldOver_ = over;
      Redraw();
    }
  }
  if (boxHot_ != (part == Part::Box)) {
    boxHot_ = part == Part::Box;
    Redraw();
  }
  if (part == Part::Caption)
    LightCaption();
  else
    SetLit(false);
}

void check::OnButtonDown(POINT p) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (!hwnd_) return;
  const Part part = HitTest(p);
  if (part == Part::None) return;
  mouseHeld_ = true;
  heldPart_ = part;
  heldOver_ = true;
  SetCapture(hwnd_);
  Redraw();
}

void check::OnButtonUp(POINT p) {
  if (!mouseHeld_) return;
  // Like a real check box: the press and the release must be on the same
  // part, so dragging off cancels.
  const bool same = HitTest(p) == heldPart_;
  mouseHeld_ = false;
  heldOver_ = false;
  heldPart_ = Part::None;
  if (GetCapture() == hwnd_) ReleaseCapture();
  Redraw();
  if (same) ToggleAndRaise();
}

void check::Destroyed() {
  lit_ = boxHot_ = mouseHeld_ = heldOver_ = keyHeld_ = false;
  heldPart_ = Part::None;
}

LRESULT check::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT shared; HandleShared(msg, wp, lp, caption_, shared)) return shared;
  switch (msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(MousePoint(lp));
      return 0;
    case WM_MOUSELEAVE:
      if (!mouseHeld_) {
        boxHot_ = false;
        SetLit(false);
        Redraw();
      }
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(MousePoint(lp));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(MousePoint(lp));
      return 0;
    case WM_CAPTURECHANGED:
      if (mouseHeld_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        mouseHeld_ = heldOver_ = false;
        heldPart_ = Part::None;
        Redraw();
      }
      return 0;
    case WM_KILLFOCUS:
      keyHeld_ = false;
      Redraw();
      return 0;
    case WM_SETFOCUS:
      Redraw();
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE) {
        if (!(lp & 0x40000000)) {
          keyHeld_ = true;
          Redraw();
        }
        return 0;
      }
      break;
    case WM_KEYUP:
      if (wp == VK_SPACE) {
        if (keyHeld_) {
          keyHeld_ = false;
          ToggleAndRaise();
        }
        return 0;
      }
      break;
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

void check::EnsureFonts() const {
  const UINT dpi = hwnd_ ? WindowDpi(hwnd_) : 96u;
  if (font_ && underlined_ && dpi == fontDpi_) return;
  font_ = CreateCaptionFont(dpi, false);
  underlined_ = CreateCaptionFont(dpi, true);
  fontDpi_ = dpi;
}

void check::Paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  EnsureFonts();
  Canvas canvas(target, client.right, client.bottom);
  if (!canvas.Ok()) return;
  canvas.PaintParentBackground(hwnd_);
  const bool usable = IsWindowEnabled(hwnd_) != FALSE;
  if (!plain_) {
    PaintImage2(canvas);
    PaintImage1(canvas, usable);
  }
  PaintCheck1(canvas, usable);
  RECT text = CaptionRect();
  text.left += Scale(2, fontDpi_);
  const COLORREF colour = usable ? CaptionColor() : kGreyText;
  canvas.Text(caption_.c_str(), int(caption_.size()), text, lit_ ? underlined_.get() : font_.get(),
              colour, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  canvas.Present(target);
}

// Image2: a soft strip behind the whole row.
void check::PaintImage2(Canvas& canvas) const {
  const float w = float(canvas.Width()), h = float(canvas.Height());
  canvas.FillRound({0.0f, 0.0f, w, h}, ScaleF(4.0f, fontDpi_), RGB(247, 249, 252), RGB(237, 241, 246));
}

// Image1: the state marker at the right end, a filled dot when checked and
// a ring when not.
void check::PaintImage1(Canvas& canvas, bool usable) const {
  const UINT dpi = fontDpi_;
  const float line = std::max(1.0f, float(int(ScaleF(1.0f, dpi))));
  const float r = ScaleF(3.0f, dpi);
  const float cx = float(canvas.Width()) - ScaleF(9.0f, dpi), cy = float(canvas.Height()) * 0.5f;
  if (value_ && usable) {
    canvas.FillCircle(cx, cy, r, RGB(46, 160, 67));
  } else {
    canvas.FillCircle(cx, cy, r, RGB(176, 184, 194));
    canvas.FillCircle(cx, cy, r - line, RGB(242, 245, 249));
  }
}

// Check1: the box itself, with the focus ring around it.
void check::PaintCheck1(Canvas& canvas, bool usable) const {
  const UINT dpi = fontDpi_;
  const float line = std::max(1.0f, float(int(ScaleF(1.0f, dpi))));
  const float side = float(Scale(kBox, dpi));
  const float bx = float(Scale(kInset, dpi));
  const float by = float(int((float(canvas.Height()) - side) * 0.5f));
  const RectF box{bx, by, bx + side, by + side};
  const float radius = ScaleF(3.0f, dpi);
  const bool pressed = (mouseHeld_ && heldOver_) || keyHeld_;
  if (value_) {
    const COLORREF top = !usable ? RGB(160, 166, 175) : pressed ? RGB(0, 84, 160) : RGB(24, 124, 220);
    const COLORREF bottom = !usable ? RGB(146, 152, 161) : pressed ? RGB(0, 70, 140) : RGB(0, 100, 196);
    canvas.FillRound(box, radius, bottom, bottom);
    canvas.FillRound(box.Inset(line), radius - line, top, bottom);
    const float mark[] = {bx + side * 0.24f, by + side * 0.52f, bx + side * 0.43f,
                          by + side * 0.71f, bx + side * 0.77f, by + side * 0.31f};
    canvas.Polyline(mark, 3, ScaleF(1.8f, dpi), kWhite);
  } else {
    const COLORREF border = !usable ? RGB(176, 182, 190) : (boxHot_ || pressed) ? kAccent : RGB(112, 120, 132);
    const COLORREF top = pressed ? RGB(214, 228, 246) : kWhite;
    const COLORREF bottom = pressed ? RGB(204, 220, 242) : RGB(241, 244, 248);
    canvas.FillRound(box, radius, border, border);
    canvas.FillRound(box.Inset(line), radius - line, top, bottom);
  }
  if (HasFocus() && !FocusCuesHidden()) {
    const float gap = ScaleF(2.0f, dpi) + line;
    canvas.StrokeRound(box.Inset(-gap), radius + gap, line, kAccent, 0.75f);
  }
}

}  // namespace kv
