// The part both custom controls share: a child window of a class of its own
// on the common window foundation, double-buffered painting, the messages
// both answer alike, and pressing: the mouse held on a part of the control
// with the capture taken, or Space held while it has the focus.
#pragma once
#include <windows.h>

#include <string>

#include "controls/window.h"

namespace kv::controls {

class ControlWindow : public Window {
 public:
  // Held on the part it was pressed on, or Space down.
  bool IsPressed() const { return HeldOver() || keyHeld_; }

 protected:
  ControlWindow() = default;

  // Registers the class on first use and creates the child window. False when
  // the window already exists or the system refuses it.
  bool CreateControl(const char* className, HWND parent, int id, int x, int y, int width,
                     int height, const std::string& text, DWORD extraStyle);

  // Draws the whole control; painting is double-buffered, so the background
  // is never erased on its own.
  virtual void Paint(HDC target) const = 0;

  // Messages the controls answer alike: the caption text, the font (which
  // follows the DPI instead), enabling and focus cues. True when handled,
  // with the answer in `result`.
  bool HandleShared(UINT msg, WPARAM wp, LPARAM lp, std::string& caption, LRESULT& result);

  // --- pressing --------------------------------------------------------------
  // The mouse and Space presses of a control that calls HandlePress after
  // HandleShared. True when handled, with the answer in `result`.
  bool HandlePress(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The part of the control a press at `p` is taken on, numbered by the
  // control; 0 where a press is not taken. A mouse press counts only when it
  // is released on the part it was taken on, so dragging off cancels.
  virtual int PressPartAt(POINT p) const {
    (void)p;
    return 0;
  }
  // False while the control refuses presses of its own accord.
  virtual bool TakesPresses() const { return true; }
  // A mouse press was just taken.
  virtual void OnPressTaken() {}
  // A press completed: released on its part (by the pointer) or Space let go.
  virtual void OnPressed(bool byPointer) { (void)byPointer; }
  // A mouse press ended, taken or not: released anywhere, or the capture lost.
  virtual void OnMouseReleased() {}
  // The pointer moved over the control, a press held or not; `part` as
  // PressPartAt says.
  virtual void OnHover(POINT p, int part) { (void)p, (void)part; }

  bool MouseHeld() const { return mouseHeld_; }
  bool HeldOver() const { return mouseHeld_ && heldOver_; }
  // Drops a held press without completing it, and the capture with it.
  void CancelPress();

  bool OnPaint(HDC dc) override;
  void OnSize(int width, int height) override;
  void OnDpiChanged() override { Redraw(); }
  bool OnEraseBackground(HDC) override { return true; }  // Paint covers every pixel
  void OnDestroyed() override;
  bool OnMouseMove(POINT p) override;

 private:
  void DropMouse();
  void PressDown(POINT p);
  void PressUp(POINT p);

  bool mouseHeld_ = false;  // pressed on a part, capture taken
  int heldPart_ = 0;
  bool heldOver_ = false;   // while held: pointer still over the pressed part
  bool keyHeld_ = false;    // Space is down
};

}  // namespace kv::controls
