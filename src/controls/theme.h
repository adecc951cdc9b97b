// Drawing kit shared by the custom controls: their caption fonts, a 32-bit
// back buffer drawn by the core rasteriser, and the hand pointer of an
// enabled button.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "controls/gdi.h"
#include "controls/palette.h"
#include "controls/window.h"

#include "core/raster.h"

namespace kv::controls {

// The caption fonts of the custom controls: the button's in Tahoma, the
// check box's in Verdana (underlined while lit).
inline constexpr Typeface kButtonCaption{"Tahoma", 9};
inline constexpr Typeface kCheckCaption{"Verdana", 8};
inline constexpr Typeface kCheckCaptionLit{"Verdana", 8, FW_NORMAL, true};

// Whether the system's high-contrast setting is on (SPI_GETHIGHCONTRAST).
// Read at every paint, so a change shows at the next repaint, which the
// window base triggers on WM_SETTINGCHANGE and WM_SYSCOLORCHANGE. While it
// is on, the program's windows draw with the system colours (GetSysColor)
// instead of the palette.
bool HighContrast();

// Holds the program's reading of the setting at `on` for its lifetime, on
// this thread, whatever the system says. Wine does not keep a
// SPI_SETHIGHCONTRAST (the call fails), so the tests of the high-contrast
// drawing switch it here; everything drawn still asks HighContrast().
class HighContrastOverride {
 public:
  explicit HighContrastOverride(bool on);
  ~HighContrastOverride();
  HighContrastOverride(const HighContrastOverride&) = delete;
  HighContrastOverride& operator=(const HighContrastOverride&) = delete;

 private:
  int before_;
};

// Height of one line of text in the font, in pixels.
int LineHeight(HFONT font);

// The pointing hand shown over an enabled button's caption (32 x 32, hot
// spot at 5, 0). Made once per process; never destroyed.
HCURSOR HandPointer();

struct RectF {
  float left, top, right, bottom;
  RectF Inset(float d) const { return {left + d, top + d, right - d, bottom - d}; }
};

// A top-down 32-bit back buffer the size of a control. Shapes are drawn
// straight into its pixels by the core rasteriser, with anti-aliased edges
// (GDI has none); text goes through its DC. Present() copies it to the
// screen in one blit, so the control never shows a half-drawn frame.
class Canvas {
 public:
  Canvas(HDC target, int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Ok() const { return pixels_.has_value(); }
  HDC Dc() const { return dc_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // What the parent would paint under the control, so rounded corners and
  // transparent parts blend with whatever the window shows there.
  void PaintParentBackground(HWND control);

  // Filled rounded rectangle with a vertical gradient from top to bottom.
  void FillRound(const RectF& r, float radius, COLORREF top, COLORREF bottom, float alpha = 1.0f);
  // Outline of a rounded rectangle, `width` pixels wide, inside r.
  void StrokeRound(const RectF& r, float radius, float width, COLORREF colour, float alpha = 1.0f);
  void FillCircle(float cx, float cy, float radius, COLORREF colour, float alpha = 1.0f);
  // Thick line with round ends through the given points.
  void Polyline(const float* xy, int points, float width, COLORREF colour, float alpha = 1.0f);

  void Text(const char* text, int length, RECT box, HFONT font, COLORREF colour, UINT format);

  void Present(HDC target, int x = 0, int y = 0) const;

 private:
  // The pixels, once GDI has finished what it queued for the bitmap, so
  // shapes land on top of the parent's background rather than under it.
  raster::Raster& Pixels();

  MemoryDC dc_;
  Bitmap bitmap_;
  std::optional<Selection> selected_;
  std::optional<raster::Raster> pixels_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kv::controls
