// The program's own check box: a drawn box followed by a caption that turns
// blue and underlined while the pointer is over it. Clicking the box or the
// caption toggles the value and then raises Click.
//
// Windows that keep only one lit caption at a time assign CaptionHover and
// clear their other check boxes there (their norms()); it runs just before
// this caption lights up.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "controls/control_window.h"
#include "controls/theme.h"

namespace kv {

class check : public controls::ControlWindow {
 public:
  static constexpr const char* kClassName = "KorvanelCheck";

  // Raised after a click on the box or the caption (or Space) has toggled
  // the value; the handler reads the new value. Setting Value raises nothing.
  std::function<void()> Click;
  // Runs when the pointer reaches the caption, before it lights up. Not used
  // by the plain look, which lights only its own caption.
  std::function<void()> CaptionHover;

  check() = default;
  // plain: the low-resource look, without the background strip (Image2) and
  // the state marker (Image1); chosen once, for the life of the control.
  check(HWND parent, int id, int x, int y, int width, int height, std::string_view caption,
        bool plain = false);
  ~check() override = default;

  bool Create(HWND parent, int id, int x, int y, int width, int height, std::string_view caption,
              bool plain = false);

  const std::string& Caption() const { return caption_; }
  void Caption(std::string_view text);

  // What assistive technology calls the box where its caption alone says
  // too little (a file type under a heading); empty: the caption.
  void AccessibleName(std::string name);

  // 1 when checked, else 0. Any non-zero value sets it.
  int Value() const { return value_ ? 1 : 0; }
  void Value(int value);

  // Caption back to black and not underlined. The value is not used (the
  // windows pass 1).
  void downStatus(int value);

  bool Plain() const { return plain_; }
  bool IsLit() const { return lit_; }
  bool IsUnderlined() const { return lit_; }
  COLORREF CaptionColor() const;
  // Where the parts sit, in client coordinates (twips scaled by the DPI):
  // Check1 at the top left corner; Label1 255 twips from the left edge and
  // 15 twips above the top edge, as wide as the control; Image1 15 twips
  // above the top edge, its right side 50 twips left of the right edge;
  // Image2 across the control from the top left corner.
  struct Parts {
    RECT Check1, Label1, Image1, Image2;
  };
  static Parts LayoutFor(SIZE client, UINT dpi);
  Parts Layout() const;
  // The box part (Check1 and the margin left of the caption) and the
  // caption part (Label1 inside the control, short of Image1 in the full
  // look), in client coordinates. Elsewhere the pointer only darkens the
  // caption.
  RECT BoxRect() const;
  RECT CaptionRect() const;
  // Label1's font: Verdana, underlined while lit, for the control's DPI.
  HFONT CaptionFont() const {
    return FontOf(lit_ ? controls::kCheckCaptionLit : controls::kCheckCaption);
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;
  // A check box named by its caption, checked with its value.
  std::optional<controls::AccessibleFacts> OnAccessible() const override;

 private:
  enum class Part { None, Box, Caption };

  Part HitTest(POINT p) const;
  // The box and the caption are each a part a press is taken on.
  int PressPartAt(POINT p) const override { return int(HitTest(p)); }
  void OnPressed(bool) override { ToggleAndRaise(); }
  void OnHover(POINT p, int part) override;
  void LightCaption();
  void SetLit(bool lit);
  void ToggleAndRaise();
  void Paint(HDC target) const override;
  void PaintImage2(controls::Canvas& canvas, const RECT& at) const;
  void PaintImage1(controls::Canvas& canvas, const RECT& at, bool usable) const;
  void PaintCheck1(controls::Canvas& canvas, const RECT& at, bool usable) const;
  void PaintHighContrast(controls::Canvas& canvas, const Parts& parts, bool usable) const;

  std::string caption_ = "Label1";
  std::string accessibleName_;
  bool value_ = false;
  bool plain_ = false;
  bool lit_ = false;        // caption blue and underlined
  bool boxHot_ = false;     // pointer over the box part
};

}  // namespace kv
