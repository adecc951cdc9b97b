#include "controls/cButton.h"

#include <oleacc.h>

#include <algorithm>

namespace kv {

using namespace controls;

namespace {

using palette::Face;
using palette::kDisabled;
using palette::kImage1;
using palette::kPlain;
using palette::kShape1;
using palette::kShape2;
constexpr COLORREF kFocusRing = palette::kAccent;

}  // namespace

cButton::cButton(HWND parent, int id, int x, int y, int width, int height,
                 std::string_view caption, bool plain) {
  Create(parent, id, x, y, width, height, caption, plain);
}

bool cButton::Create(HWND parent, int id, int x, int y, int width, int height,
                     std::string_view caption, bool plain) {
  if (hwnd_) return false;
  caption_ = std::string(caption);
  plain_ = plain;
  return CreateControl(kClassName, parent, id, x, y, width, height, caption_,
                       enabled_ ? WS_TABSTOP : 0);
}

void cButton::Caption(std::string_view text) {
  caption_ = std::string(text);
  if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
  NotifyNameChange(hwnd_);
  Redraw();
}

void cButton::Enabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled_) ClearTransientState();
  if (hwnd_) {
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    style = enabled_ ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP));
    SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
  }
  NotifyStateChange(hwnd_);
  Redraw();
}

void cButton::Checked(bool on) {
  const bool changed = !toggle_ || checked_ != on;
  toggle_ = true;
  checked_ = on;
  if (changed) NotifyStateChange(hwnd_);
}

void cButton::downStatus(int) {
  if (plain_) return;
  SetLit(false);
}

COLORREF cButton::CaptionColor() const {
  if (HighContrast()) {
    if (!enabled_) return GetSysColor(COLOR_GRAYTEXT);
    return GetSysColor(IsPressed() || lit_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
  }
  if (!enabled_) return palette::kDisabledText;
  if (IsPressed()) return kWhite;
  return kBlack;
}

RECT cButton::CaptionRect() const {
  RECT client{0, 0, 0, 0};
  if (!hwnd_) return client;
  GetClientRect(hwnd_, &client);
  const int height = client.bottom;
  const int strip = std::min(height, LineHeight() + Px(10));
  const int top = (height - strip) / 2;
  return RECT{0, top, client.right, top + strip};
}

void cButton::SetLit(bool lit) {
  if (lit_ == lit) return;
  lit_ = lit;
  Redraw();
}

void cButton::ClearTransientState() {
  lit_ = false;
  CancelPress();
}

int cButton::LineHeight() const {
  if (lineDpi_ != Dpi() || !lineHeight_) {
    lineHeight_ = controls::LineHeight(CaptionFont());
    lineDpi_ = Dpi();
  }
  return lineHeight_;
}

void cButton::OnHover(POINT, int part) {
  if (!MouseHeld()) SetLit(part && enabled_ && !plain_);
}

// A release on the caption leaves the pointer over it, lit again.
void cButton::OnPressed(bool byPointer) {
  if (byPointer) lit_ = !plain_;
  Raise(Click);
}

std::optional<AccessibleFacts> cButton::OnAccessible() const {
  long state = 0;
  if (!enabled_) state |= STATE_SYSTEM_UNAVAILABLE;
  if (IsPressed()) state |= STATE_SYSTEM_PRESSED;
  if (lit_) state |= STATE_SYSTEM_HOTTRACKED;
  if (toggle_) {
    if (checked_) state |= STATE_SYSTEM_CHECKED;
    return AccessibleFacts{caption_, ROLE_SYSTEM_CHECKBUTTON, state, checked_ ? "Uncheck" : "Check"};
  }
  return AccessibleFacts{caption_, ROLE_SYSTEM_PUSHBUTTON, state, "Press"};
}

void cButton::OnDestroyed() {
  ControlWindow::OnDestroyed();
  lit_ = false;
}

LRESULT cButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KILLFOCUS) lit_ = false;
  if (LRESULT shared; HandleShared(msg, wp, lp, caption_, shared)) return shared;
  if (LRESULT pressed; HandlePress(msg, wp, lp, pressed)) return pressed;
  switch (msg) {
    case WM_MOUSELEAVE:
      if (!MouseHeld()) SetLit(false);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        if (enabled_ && !(lp & 0x40000000)) Raise(Click);
        return 0;
      }
      if (ArrowKey && (wp == VK_UP || wp == VK_LEFT || wp == VK_DOWN || wp == VK_RIGHT)) {
        const auto handler = ArrowKey;
        handler(wp == VK_UP || wp == VK_LEFT ? -1 : 1);
        return 0;
      }
      break;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_BUTTON;
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && enabled_)
        code |= DLGC_WANTMESSAGE;
      if (ArrowKey) code |= DLGC_WANTARROWS;
      return code;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        const bool hand = enabled_ && Contains(CaptionRect(), PointerInClient());
        SetCursor(hand ? HandPointer() : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        return TRUE;
      }
      break;
    case BM_CLICK:
      if (enabled_) Raise(Click);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void cButton::Paint(HDC target) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  const UINT dpi = Dpi();
  Canvas canvas(target, client.right, client.bottom);
  if (!canvas.Ok()) return;
  canvas.PaintParentBackground(hwnd_);

  const float line = std::max(1.0f, float(int(ScaleF(1.0f, dpi))));
  const RectF whole{0.0f, 0.0f, float(client.right), float(client.bottom)};
  const bool pressed = IsPressed();
  const bool contrast = HighContrast();
  if (contrast) {
    // System colours only: the face, a frame in the text colour, the
    // highlight while lit or held.
    const COLORREF face = GetSysColor(enabled_ && (pressed || lit_) ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const COLORREF frame = GetSysColor(enabled_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    canvas.FillRound(whole, 0.0f, frame, frame);
    canvas.FillRound(whole.Inset(line), 0.0f, face, face);
  } else if (plain_) {
    const Face& face = enabled_ ? kPlain : palette::kPlainDisabled;
    canvas.FillRound(whole, 0.0f, face.border, face.border);
    canvas.FillRound(whole.Inset(line), 0.0f, face.top, face.bottom);
  } else {
    const Face& face = !enabled_ ? kDisabled : pressed ? kShape2 : lit_ ? kShape1 : kImage1;
    const float radius = ScaleF(4.0f, dpi);
    canvas.FillRound(whole, radius, face.border, face.border);
    canvas.FillRound(whole.Inset(line), radius - line, face.top, face.bottom);
    if (enabled_ && !pressed)  // a soft inner highlight gives the face some depth
      canvas.StrokeRound(whole.Inset(line), radius - line, line, kWhite, 0.55f);
  }
  if (enabled_ && HasFocus() && !FocusCuesHidden()) {
    const float inset = ScaleF(3.0f, dpi);
    const COLORREF ring = contrast ? CaptionColor() : pressed ? kWhite : kFocusRing;
    canvas.StrokeRound(whole.Inset(inset), plain_ || contrast ? 0.0f : ScaleF(2.0f, dpi), line, ring,
                       contrast ? 1.0f : 0.7f);
  }

  RECT text = CaptionRect();
  const int pad = Scale(6, dpi);
  text.left += pad;
  text.right -= pad;
  if (pressed && !plain_ && !contrast) OffsetRect(&text, 0, std::max(1, Scale(1, dpi)));
  canvas.Text(caption_.c_str(), int(caption_.size()), text, CaptionFont(), CaptionColor(),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  canvas.Present(target);
}

}  // namespace kv
