// The program's own push button: a caption on a drawn background that lights
// up while the pointer is over the caption and raises one event, Click.
//
// Windows hold it as a member named like the control (cButton1, cAbout, ...),
// call Create() when they build their controls, assign Click, and clear the
// lit look from their norms() with downStatus(1).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "controls/control_window.h"
#include "controls/theme.h"

namespace kv {

class cButton : public controls::ControlWindow {
 public:
  static constexpr const char* kClassName = "KorvanelButton";

  // Raised once per click on the caption of an enabled button (mouse press
  // and release on the caption, Space or Enter while it has the focus).
  std::function<void()> Click;
  // A button in a row of choices (a navigation bar): the arrow keys raise
  // this with -1 (Up, Left) or +1 (Down, Right), and the row moves the focus.
  std::function<void(int step)> ArrowKey;

  cButton() = default;
  // plain: the low-resource look, without background pictures or lit and
  // pressed looks; chosen once, for the life of the control.
  cButton(HWND parent, int id, int x, int y, int width, int height, std::string_view caption,
          bool plain = false);
  ~cButton() override = default;

  bool Create(HWND parent, int id, int x, int y, int width, int height, std::string_view caption,
              bool plain = false);

  const std::string& Caption() const { return caption_; }
  void Caption(std::string_view text);

  // A disabled button stays visible, pale with a grey caption, ignores clicks
  // and keys, never lights up and drops out of the tab order.
  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);

  // A button that turns a choice on and off (its state shown beside it) is a
  // check box to assistive technology, checked while the choice is on.
  // Until this is first called the button is a plain push button.
  void Checked(bool on);
  bool IsToggle() const { return toggle_; }
  bool IsChecked() const { return checked_; }

  // Clears the lit look. The value is not used (the windows pass 1); the
  // plain look has nothing to clear.
  void downStatus(int value);

  bool Plain() const { return plain_; }
  // Lit: the Shape1 picture shows. Pressed (IsPressed): Shape2 shows, held
  // on the caption or Space held down.
  bool IsLit() const { return lit_; }
  COLORREF CaptionColor() const;
  // The caption strip (Label1): the full width, one text line high,
  // vertically centred. Only this strip reacts to the pointer.
  RECT CaptionRect() const;
  // Label1's font: Tahoma, for the control's DPI.
  HFONT CaptionFont() const { return FontOf(controls::kButtonCaption); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;
  // A push button (or check box) named by its caption; unavailable while disabled.
  std::optional<controls::AccessibleFacts> OnAccessible() const override;

 private:
  // The caption strip is the one part a press is taken on.
  int PressPartAt(POINT p) const override { return controls::Contains(CaptionRect(), p) ? 1 : 0; }
  bool TakesPresses() const override { return enabled_; }
  void OnPressTaken() override { lit_ = false; }
  void OnPressed(bool byPointer) override;
  void OnHover(POINT p, int part) override;
  void ClearTransientState();
  int LineHeight() const;
  void Paint(HDC target) const override;
  void SetLit(bool lit);

  std::string caption_ = "Label1";
  bool enabled_ = true;
  bool plain_ = false;
  bool toggle_ = false;
  bool checked_ = false;
  bool lit_ = false;          // pointer over the caption, lit background shown
  mutable UINT lineDpi_ = 0;  // the DPI lineHeight_ was measured for
  mutable int lineHeight_ = 0;
};

}  // namespace kv
