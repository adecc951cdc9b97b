#include "core/raster.h"

#include <algorithm>
#include <cmath>

namespace kv::raster {

namespace {

constexpr int kGrid = 4;  // samples per pixel edge

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// The pixels [first, last) whose samples can fall in [lo, hi], kept inside
// [0, limit). Done in floats first: a shape far off the raster (or one with
// a NaN in it) must not turn into an out-of-range int.
bool PixelSpan(float lo, float hi, int limit, int& first, int& last) {
  if (!(lo <= hi)) return false;
  lo = std::max(lo, 0.0f);
  hi = std::min(hi, float(limit));
  if (!(lo < hi)) return false;
  first = int(std::floor(lo));
  last = int(std::ceil(hi));
  return first < last;
}

bool InRoundRect(float x, float y, float x0, float y0, float x1, float y1, float r) {
  if (x < x0 || x > x1 || y < y0 || y > y1) return false;
  r = std::min({r, (x1 - x0) / 2, (y1 - y0) / 2});
  if (r <= 0.0f) return true;
  const float cx = std::clamp(x, x0 + r, x1 - r);
  const float cy = std::clamp(y, y0 + r, y1 - r);
  const float dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}

float SegmentDistance2(float px, float py, Point a, Point b) {
  const float vx = b.x - a.x, vy = b.y - a.y;
  const float len2 = vx * vx + vy * vy;
  const float t = len2 > 0.0f ? Clamp01(((px - a.x) * vx + (py - a.y) * vy) / len2) : 0.0f;
  const float dx = px - (a.x + t * vx), dy = py - (a.y + t * vy);
  return dx * dx + dy * dy;
}

struct Bounds {
  float x0, y0, x1, y1;
};

Bounds BoundsOf(const std::vector<Point>& pts) {
  Bounds b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
  for (const Point& p : pts) {
    b.x0 = std::min(b.x0, p.x), b.x1 = std::max(b.x1, p.x);
    b.y0 = std::min(b.y0, p.y), b.y1 = std::max(b.y1, p.y);
  }
  return b;
}

// Source-over on premultiplied pixels; `coverage` scales the source.
void Blend(uint32_t& p, Colour c, float coverage) {
  const float a = Clamp01(coverage);
  const float keep = 1.0f - a;
  auto ch = [&](int shift, uint8_t src) {
    const float dst = float((p >> shift) & 0xFFu);
    return uint32_t(std::lround(float(src) * a + dst * keep)) & 0xFFu;
  };
  p = (ch(24, 255) << 24) | (ch(16, c.r) << 16) | (ch(8, c.g) << 8) | ch(0, c.b);
}

}  // namespace

Colour Mix(Colour a, Colour b, float t) {
  t = Clamp01(t);
  auto ch = [t](uint8_t u, uint8_t v) { return uint8_t(std::lround(u + (float(v) - float(u)) * t)); };
  return Colour{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

void AppendCurve(std::vector<Point>& pts, Point a, Point b, Point c, int steps) {
  for (int i = 1; i <= steps; ++i) {
    const float t = float(i) / float(steps), u = 1.0f - t;
    pts.push_back(Point{u * u * a.x + 2 * u * t * b.x + t * t * c.x,
                        u * u * a.y + 2 * u * t * b.y + t * t * c.y});
  }
}

Raster::Raster(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      own_(size_t(width_) * size_t(height_), 0u),
      px_(own_.data()) {}

Raster::Raster(uint32_t* pixels, int width, int height)
    : width_(pixels ? std::max(0, width) : 0), height_(pixels ? std::max(0, height) : 0), px_(pixels) {}

void Raster::Clear(Colour c, float alpha) {
  const uint32_t a = uint32_t(std::lround(Clamp01(alpha) * 255.0f));
  const uint32_t v = (a << 24) | (uint32_t(c.r * a / 255) << 16) | (uint32_t(c.g * a / 255) << 8) |
                     uint32_t(c.b * a / 255);
  std::fill_n(px_, size_t(width_) * size_t(height_), v);
}

// `inside` says whether a sample point is in the shape; `shade` gives the
// colour of a pixel row from the y of its centre.
template <class Inside, class Shade>
void Raster::Fill(float x0, float y0, float x1, float y1, const Inside& inside, const Shade& shade,
                  float alpha) {
  int ix0, ix1, iy0, iy1;
  if (!(alpha > 0.0f) || !PixelSpan(x0, x1, width_, ix0, ix1) || !PixelSpan(y0, y1, height_, iy0, iy1))
    return;
  constexpr float step = 1.0f / kGrid;
  for (int y = iy0; y < iy1; ++y) {
    const Colour c = shade(float(y) + 0.5f);
    uint32_t* row = px_ + size_t(y) * size_t(width_);
    for (int x = ix0; x < ix1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kGrid; ++sy)
        for (int sx = 0; sx < kGrid; ++sx)
          if (inside(float(x) + (float(sx) + 0.5f) * step, float(y) + (float(sy) + 0.5f) * step)) ++hits;
      if (hits) Blend(row[x], c, alpha * float(hits) / float(kGrid * kGrid));
    }
  }
}

void Raster::FillRect(float x0, float y0, float x1, float y1, Colour c, float radius, float alpha) {
  FillGradient(x0, y0, x1, y1, c, c, radius, alpha);
}

void Raster::FillGradient(float x0, float y0, float x1, float y1, Colour top, Colour bottom,
                          float radius, float alpha) {
  const float span = std::max(y1 - y0, 1.0f);
  Fill(x0, y0, x1, y1, [=](float x, float y) { return InRoundRect(x, y, x0, y0, x1, y1, radius); },
       [=](float y) { return Mix(top, bottom, (y - y0) / span); }, alpha);
}

void Raster::StrokeRect(float x0, float y0, float x1, float y1, float width, Colour c, float radius,
                        float alpha) {
  if (!(width > 0.0f)) return;
  const float inner = std::max(0.0f, radius - width);
  Fill(x0, y0, x1, y1,
       [=](float x, float y) {
         return InRoundRect(x, y, x0, y0, x1, y1, radius) &&
                !InRoundRect(x, y, x0 + width, y0 + width, x1 - width, y1 - width, inner);
       },
       [c](float) { return c; }, alpha);
}

void Raster::FillCircle(float cx, float cy, float r, Colour c, float alpha) {
  if (!(r > 0.0f)) return;
  Fill(cx - r, cy - r, cx + r, cy + r,
       [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
       [c](float) { return c; }, alpha);
}

void Raster::FillPolygon(const std::vector<Point>& pts, Colour c, float alpha) {
  if (pts.size() < 3) return;
  const Bounds b = BoundsOf(pts);
  Fill(b.x0, b.y0, b.x1, b.y1,
       [&pts](float x, float y) {
         bool in = false;
         for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
           const Point& p = pts[i];
           const Point& q = pts[j];
           if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) in = !in;
         }
         return in;
       },
       [c](float) { return c; }, alpha);
}

void Raster::Polyline(const std::vector<Point>& pts, float width, Colour c, float alpha) {
  if (pts.empty() || !(width > 0.0f)) return;
  const float h = width / 2.0f;
  const Bounds b = BoundsOf(pts);
  Fill(b.x0 - h, b.y0 - h, b.x1 + h, b.y1 + h,
       [&pts, h](float x, float y) {
         if (pts.size() == 1) return SegmentDistance2(x, y, pts[0], pts[0]) <= h * h;
         for (size_t i = 0; i + 1 < pts.size(); ++i)
           if (SegmentDistance2(x, y, pts[i], pts[i + 1]) <= h * h) return true;
         return false;
       },
       [c](float) { return c; }, alpha);
}

std::vector<uint32_t> Raster::Straightened() const {
  const std::span<const uint32_t> px = Pixels();
  std::vector<uint32_t> out(px.size());
  for (size_t i = 0; i < px.size(); ++i) {
    const uint32_t p = px[i];
    const uint32_t a = p >> 24;
    if (a == 0) continue;
    auto ch = [a](uint32_t v) { return std::min<uint32_t>(255u, (v * 255u + a / 2) / a); };
    out[i] = (a << 24) | (ch((p >> 16) & 0xFF) << 16) | (ch((p >> 8) & 0xFF) << 8) | ch(p & 0xFF);
  }
  return out;
}

}  // namespace kv::raster
