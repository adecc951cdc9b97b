// Pictures drawn in code: a child window that paints itself from shapes at
// its own size and DPI, with optional text laid over the shapes. The frame's
// navigation pictures, header pictures and page drawings are all Pictures.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "controls/art/drawings.h"
#include "controls/window.h"

namespace kv {

class Picture : public controls::Window {
 public:
  static constexpr const char* kClassName = "KorvanelPicture";

  struct Look {
    bool focused = false;  // keyboard focus is on the picture
    UINT dpi = 96;
    // The system's high-contrast setting is on: draw in system colours
    // (SysColour); the raster starts cleared to the window colour.
    bool highContrast = false;
    // The picture stands for where the user is (the page shown).
    bool marked = false;
  };
  // Draws the shapes; the raster is the window's size and starts cleared to
  // the background colour.
  using ShapePainter = std::function<void(art::Raster&, const Look&)>;
  // Draws text over the shapes, on the picture's device context.
  using TextPainter = std::function<void(HDC, const RECT&, const Look&)>;

  Picture() = default;

  // clickable: a hand pointer over it; focusable: a tab stop that raises
  // Click on Space or Enter.
  bool Create(HWND parent, int id, art::Colour background, ShapePainter shapes,
              TextPainter text = {}, bool clickable = false, bool focusable = false);

  // Its own visible mark, whether or not the window around it shows.
  bool Visible() const { return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE); }
  void Visible(bool show) const;
  void Move(int x, int y, int width, int height) const;

  // What assistive technology calls the picture: for one that is clicked,
  // where it leads. A named clickable picture is a push button to them, a
  // named still one a graphic; an unnamed one keeps the system's answer.
  const std::string& Name() const { return name_; }
  void Name(std::string text);

  // Marks the picture as the current one of its row (the page shown): it
  // paints so, and assistive technology hears it as selected.
  void Marked(bool marked);
  bool IsMarked() const { return marked_; }

  std::function<void()> MouseMove;  // the pointer moved over the picture
  std::function<void()> MouseLeave;  // the pointer left it
  std::function<void()> Click;
  // A focusable picture in a row of choices: the arrow keys raise this with
  // -1 (Up, Left) or +1 (Down, Right), and the row moves the focus.
  std::function<void(int step)> ArrowKey;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnPaint(HDC target) override;
  void OnSize(int, int) override { Redraw(); }
  bool OnEraseBackground(HDC) override { return true; }  // OnPaint covers every pixel
  bool OnMouseMove(POINT at) override;
  std::optional<controls::AccessibleFacts> OnAccessible() const override;

  std::string name_;
  art::Colour background_{};
  ShapePainter shapes_;
  TextPainter text_;
  bool clickable_ = false;
  bool focusable_ = false;
  bool tracking_ = false;
  bool pressed_ = false;
  bool marked_ = false;
};

// Copies a raster (premultiplied, opaque after Clear) onto a device context.
void PresentRaster(const art::Raster& r, HDC dc, int x, int y);

COLORREF ToColorRef(art::Colour c);
// One of the system's colours (COLOR_WINDOW, COLOR_HIGHLIGHT ...).
art::Colour SysColour(int index);

}  // namespace kv
