#include "controls/control_window.h"

namespace kv::controls {

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

bool ControlWindow::HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption,
                                 LRESULT& result) {
  switch (msg) {
    case WM_SETTEXT:
      result = Default(msg, wp, lp);
      caption = lp ? reinterpret_cast<const char*>(lp) : "";
      Redraw();
      return true;
    case WM_SETFONT:
      result = 0;
      return true;
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

}  // namespace kv::controls
