// The part both custom controls share: a child window of a class of its own
// on the common window foundation, double-buffered painting, and the
// messages both answer alike.
#pragma once
#include <windows.h>

#include <string>

#include "controls/window.h"

namespace kv::controls {

class ControlWindow : public Window {
 protected:
  ControlWindow() = default;

  // Registers the class on first use and creates the child window. False when
  // the window already exists or the system refuses it.
  bool CreateControl(const char* className, HWND parent, int id, int x, int y, int width,
                     int height, const std::string& text, DWORD extraStyle);

  // Draws the whole control; painting is double-buffered, so the background
  // is never erased on its own.
  virtual void Paint(HDC target) const = 0;

  // Messages both controls answer alike: the caption text, the font (which
  // follows the DPI instead), enabling and focus cues. True when handled,
  // with the answer in `result`.
  bool HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption, LRESULT& result);

  bool OnPaint(HDC dc) override;
  void OnSize(int width, int height) override;
  void OnDpiChanged() override { Redraw(); }
  bool OnEraseBackground(HDC) override { return true; }  // Paint covers every pixel
};

}  // namespace kv::controls
