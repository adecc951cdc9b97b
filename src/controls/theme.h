// Drawing kit shared by the custom controls: DPI, fonts, the colours the
// windows rely on, a 32-bit back buffer drawn by the core rasteriser, and
// the hand pointer of an enabled button.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>

#include "core/raster.h"

namespace kv::controls {

// Caption colours other code compares against; they are part of how the
// controls behave, not just decoration.
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

// The window's DPI: GetDpiForWindow where the system has it, else the
// screen's logical pixels per inch.
UINT WindowDpi(HWND hwnd);

// A length in pixels at 96 DPI, for the given DPI.
inline int Scale(int px96, UINT dpi) { return MulDiv(px96, int(dpi), 96); }
inline float ScaleF(float px96, UINT dpi) { return px96 * float(dpi) / 96.0f; }

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The caption font (Segoe UI 9 pt) for the given DPI.
Font CreateCaptionFont(UINT dpi, bool underline);

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
  HDC Dc() const { return dc_; }
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

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::optional<raster::Raster> pixels_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kv::controls
