// The part both custom controls share: a child window of a class of its own,
// bound to its C++ object, with the exception boundary every window
// procedure needs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace kv::controls {

class ControlWindow {
 public:
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  ControlWindow() = default;
  // Unbinds before destroying, so no message reaches a half-destroyed object.
  virtual ~ControlWindow();

  // Registers the class on first use and creates the child window. False when
  // the window already exists or the system refuses it.
  bool CreateControl(const char* className, HWND parent, int id, int x, int y, int width,
                     int height, const std::string& text, DWORD extraStyle);

  virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) = 0;
  // Draws the whole control; painting is double-buffered, so the background
  // is never erased on its own.
  virtual void Paint(HDC target) const = 0;
  // The window is gone (its parent was destroyed, or DestroyWindow ran).
  virtual void Destroyed() {}

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }
  // Messages both controls answer alike: painting, the caption text, the
  // font (which follows the DPI instead), size, enabling and focus cues. True when
  // handled, with the answer in `result`.
  bool HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption, LRESULT& result);
  void Redraw() const;
  // Asks for one WM_MOUSELEAVE when the pointer leaves the window.
  void TrackPointerLeave() const;
  // Where the pointer is now, in client coordinates.
  POINT PointerInClient() const;
  bool HasFocus() const;
  bool FocusCuesHidden() const;

  // Raises an event through a copy of the handler: the handler may replace
  // itself or destroy the control, so callers touch no member afterwards.
  static void Raise(const std::function<void()>& event);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// Client coordinates carried by a mouse message.
POINT MousePoint(LPARAM lp);
bool Contains(const RECT& r, POINT p);

}  // namespace kv::controls
