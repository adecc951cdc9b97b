// The program's one anti-aliased rasteriser. It needs nothing from the
// operating system, so the custom controls' back buffers, the main window's
// pictures and the icon generator on the build machine all draw with it.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace kv::raster {

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
};

constexpr Colour Rgb(uint8_t r, uint8_t g, uint8_t b) { return Colour{r, g, b}; }
// Mix of two colours, t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, float t);

struct Point {
  float x, y;
};

// Points along a quadratic curve from a to c bent towards b, a excluded.
void AppendCurve(std::vector<Point>& pts, Point a, Point b, Point c, int steps = 12);

// Pixels are premultiplied 0xAARRGGBB, top row first: the layout of a
// top-down 32-bit DIB section, and of an icon's colour plane once the alpha
// is taken back out (Straightened). Over an opaque ground (a window's back
// buffer) nothing looks at the alpha byte, and the colour blends the same.
//
// Every shape is filled with anti-aliased edges: each pixel is sampled on a
// 4 x 4 grid and covered by the share of samples inside. Whatever falls
// outside the pixels is dropped; shapes with no size draw nothing.
class Raster {
 public:
  // Its own pixels, all transparent.
  Raster(int width, int height);
  // Draws into pixels someone else owns (a DIB section), width * height of
  // them, which must outlive the raster.
  Raster(uint32_t* pixels, int width, int height);
  Raster(const Raster&) = delete;
  Raster& operator=(const Raster&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::span<const uint32_t> Pixels() const { return {px_, size_t(width_) * size_t(height_)}; }
  uint32_t At(int x, int y) const { return px_[size_t(y) * size_t(width_) + size_t(x)]; }

  void Clear(Colour c, float alpha = 1.0f);

  // A rectangle with corners rounded by `radius`; its right and bottom edges
  // are exclusive, so (0, 0, 2, 2) covers exactly four pixels.
  void FillRect(float x0, float y0, float x1, float y1, Colour c, float radius = 0.0f,
                float alpha = 1.0f);
  // The same, shaded from `top` at its top edge to `bottom` at its bottom.
  void FillGradient(float x0, float y0, float x1, float y1, Colour top, Colour bottom,
                    float radius = 0.0f, float alpha = 1.0f);
  // The border of a rounded rectangle, `width` wide, inside the given box.
  void StrokeRect(float x0, float y0, float x1, float y1, float width, Colour c,
                  float radius = 0.0f, float alpha = 1.0f);
  void FillCircle(float cx, float cy, float r, Colour c, float alpha = 1.0f);
  // Even-odd fill of a closed polygon.
  void FillPolygon(const std::vector<Point>& pts, Colour c, float alpha = 1.0f);
  // A thick line with round ends and joins through the points; one point
  // makes a dot.
  void Polyline(const std::vector<Point>& pts, float width, Colour c, float alpha = 1.0f);

  // Pixels with the alpha taken out of the colour (an icon's colour plane).
  std::vector<uint32_t> Straightened() const;

 private:
  template <class Inside, class Shade>
  void Fill(float x0, float y0, float x1, float y1, const Inside& inside, const Shade& shade,
            float alpha);

  int width_, height_;
  std::vector<uint32_t> own_;
  uint32_t* px_;
};

}  // namespace kv::raster
