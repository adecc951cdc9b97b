// A small anti-aliased rasteriser over a 32-bit pixel buffer. It needs
// nothing from the operating system, so the program's pictures and the icon
// generator that runs on the build machine draw with the same code.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace kv::art {

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
};

constexpr Colour Rgb(uint8_t r, uint8_t g, uint8_t b) { return Colour{r, g, b}; }
// Mix of two colours, t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, float t);

struct Point {
  float x, y;
};

// Pixels are premultiplied 0xAARRGGBB, top row first: the layout of a
// top-down 32-bit DIB section, and of an icon's colour plane once the alpha
// is taken back out (Straightened).
class Raster {
 public:
  Raster(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<uint32_t>& Pixels() const { return px_; }
  uint32_t At(int x, int y) const { return px_[size_t(y) * size_t(width_) + size_t(x)]; }

  void Clear(Colour c, float alpha = 1.0f);

  // Every shape below is filled with anti-aliased edges: each pixel is
  // sampled on a 4 x 4 grid and covered by the share of samples inside.
  void FillRect(float x0, float y0, float x1, float y1, Colour c, float radius = 0.0f,
                float alpha = 1.0f);
  // The border of a rounded rectangle, `width` wide, inside the given box.
  void StrokeRect(float x0, float y0, float x1, float y1, float width, Colour c,
                  float radius = 0.0f, float alpha = 1.0f);
  void FillCircle(float cx, float cy, float r, Colour c, float alpha = 1.0f);
  void FillRing(float cx, float cy, float outer, float inner, Colour c, float alpha = 1.0f);
  void FillEllipse(float cx, float cy, float rx, float ry, Colour c, float alpha = 1.0f);
  // Even-odd fill of a closed polygon.
  void FillPolygon(const std::vector<Point>& pts, Colour c, float alpha = 1.0f);
  // A thick line with round ends and joins through the points.
  void Polyline(const std::vector<Point>& pts, float width, Colour c, float alpha = 1.0f);

  // Any shape given by an inside test; the box bounds the samples.
  void FillShape(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
                 Colour c, float alpha = 1.0f);

  // Pixels with the alpha taken out of the colour (an icon's colour plane).
  std::vector<uint32_t> Straightened() const;

 private:
  void Blend(int x, int y, Colour c, float coverage);

  int width_, height_;
  std::vector<uint32_t> px_;
};

// Points along a quadratic curve from a to c bent towards b, a excluded.
void AppendCurve(std::vector<Point>& pts, Point a, Point b, Point c, int steps = 12);

}  // namespace kv::art
