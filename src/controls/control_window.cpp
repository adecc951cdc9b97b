#include "controls/control_window.h"

namespace kv::controls {

namespace {
bool IsRepeat(LPARAM keyFlags) { return (keyFlags & 0x40000000) != 0; }
}  // namespace

bool ControlWindow::CreateControl(const char* className, HWND parent, int id, int x, int y,
                                  int width, int height, const std::string& text,
                                  DWORD extraStyle) {
  return Create(WindowClass{className, CS_HREDRAW | CS_VREDRAW}, 0, text.c_str(),
                WS_CHILD | WS_VISIBLE | extraStyle, x, y, width, height, parent, id);
}

bool ControlWindow::OnPaint(HDC dc) {
  Paint(dc);
  return true;
}

void ControlWindow::OnSize(int, int) { Redraw(); }

void ControlWindow::OnDestroyed() {
  DropMouse();
  keyHeld_ = false;
}

void ControlWindow::DropMouse() {
  mouseHeld_ = heldOver_ = false;
  heldPart_ = 0;
}

void ControlWindow::CancelPress() {
  const bool held = mouseHeld_;
  DropMouse();
  keyHeld_ = false;
  if (held && hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  if (held) OnMouseReleased();
  Redraw();
}

bool ControlWindow::OnMouseMove(POINT p) {
  TrackPointerLeave();
  const int part = PressPartAt(p);
  if (mouseHeld_ && heldOver_ != (part == heldPart_)) {
    heldOver_ = part == heldPart_;
    Redraw();
  }
  OnHover(p, part);
  return true;
}

void ControlWindow::PressDown(POINT p) {
  if (!TakesPresses()) return;
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (!hwnd_) return;
  const int part = PressPartAt(p);
  if (!part) return;
  mouseHeld_ = true;
  heldPart_ = part;
  heldOver_ = true;
  OnPressTaken();
  // Without the capture a release outside the window would never arrive and
  // the control would stay pressed.
  SetCapture(hwnd_);
  Redraw();
}

void ControlWindow::PressUp(POINT p) {
  if (!mouseHeld_) return;
  const bool same = PressPartAt(p) == heldPart_;
  DropMouse();
  if (GetCapture() == hwnd_) ReleaseCapture();
  OnMouseReleased();
  Redraw();
  if (same && TakesPresses()) OnPressed(true);
}

bool ControlWindow::HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption,
                                 LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_SETTEXT:
      result = Default(msg, wp, lp);
      caption = lp ? reinterpret_cast<const char*>(lp) : "";
      Redraw();
      return true;
    case WM_SETFONT:
      return true;
    case WM_ENABLE:
      Redraw();
      return true;
    case WM_UPDATEUISTATE:
      result = Default(msg, wp, lp);
      Redraw();
      return true;
    default:
      return false;
  }
}

bool ControlWindow::HandlePress(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
      PressDown(MousePoint(lp));
      return true;
    case WM_LBUTTONUP:
      PressUp(MousePoint(lp));
      return true;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse while the control was held: cancel.
      if (mouseHeld_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        DropMouse();
        OnMouseReleased();
        Redraw();
      }
      return true;
    case WM_SETFOCUS:
      Redraw();
      return true;
    case WM_KILLFOCUS:
      keyHeld_ = false;
      Redraw();
      return true;
    case WM_KEYDOWN:
      if (wp != VK_SPACE) return false;
      if (TakesPresses() && !IsRepeat(lp)) {
        keyHeld_ = true;
        Redraw();
      }
      return true;
    case WM_KEYUP:
      if (wp != VK_SPACE) return false;
      if (keyHeld_) {
        keyHeld_ = false;
        Redraw();
        if (TakesPresses()) OnPressed(false);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace kv::controls
