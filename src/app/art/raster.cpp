#include "app/art/raster.h"

#include <algorithm>
#include <cmath>

namespace kv::art {

namespace {

constexpr int kGrid = 4;  // samples per pixel edge

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

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
  float t = len2 > 0.0f ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0.0f;
  t = Clamp01(t);
  const float dx = px - (a.x + t * vx), dy = py - (a.y + t * vy);
  return dx * dx + dy * dy;
}

}  // namespace

Colour Mix(Colour a, Colour b, float t) {
  t = Clamp01(t);
  auto ch = [t](uint8_t u, uint8_t v) { return uint8_t(std::lround(u + (float(v) - float(u)) * t)); };
  return Colour{ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

Raster::Raster(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)), px_(size_t(width_) * size_t(height_), 0u) {}

void Raster::Clear(Colour c, float alpha) {
  const uint32_t a = uint32_t(std::lround(Clamp01(alpha) * 255.0f));
  const uint32_t v = (a << 24) | (uint32_t(c.r * a / 255) << 16) | (uint32_t(c.g * a / 255) << 8) |
                     uint32_t(c.b * a / 255);
  std::fill(px_.begin(), px_.end(), v);
}

void Raster::Blend(int x, int y, Colour c, float coverage) {
  if (coverage <= 0.0f || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint32_t& p = px_[size_t(y) * size_t(width_) + size_t(x)];
  const float a = Clamp01(coverage);
  const float keep = 1.0f - a;
  auto ch = [&](int shift, uint8_t src) {
    const float dst = float((p >> shift) & 0xFFu);
    return uint32_t(std::lround(float(src) * a + dst * keep)) & 0xFFu;
  };
  const uint32_t na = ch(24, 255), nr = ch(16, c.r), ng = ch(8, c.g), nb = ch(0, c.b);
  p = (na << 24) | (nr << 16) | (ng << 8) | nb;
}

void Raster::FillShape(float x0, float y0, float x1, float y1,
                       const std::function<bool(float, float)>& inside, Colour c, float alpha) {
  const int ix0 = std::max(0, int(std::floor(x0)));
  const int iy0 = std::max(0, int(std::floor(y0)));
  const int ix1 = std::min(width_ - 1, int(std::ceil(x1)));
  const int iy1 = std::min(height_ - 1, int(std::ceil(y1)));
  const float step = 1.0f / kGrid;
  for (int y = iy0; y <= iy1; ++y) {
    for (int x = ix0; x <= ix1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kGrid; ++sy)
        for (int sx = 0; sx < kGrid; ++sx)
          if (inside(float(x) + (float(sx) + 0.5f) * step, float(y) + (float(sy) + 0.5f) * step)) ++hits;
      if (hits) Blend(x, y, c, alpha * float(hits) / float(kGrid * kGrid));
    }
  }
}

void Raster::FillRect(float x0, float y0, float x1, float y1, Colour c, float radius, float alpha) {
  FillShape(x0, y0, x1, y1,
            [=](float x, float y) { return InRoundRect(x, y, x0, y0, x1, y1, radius); }, c, alpha);
}

void Raster::StrokeRect(float x0, float y0, float x1, float y1, float width, Colour c, float radius,
                        float alpha) {
  const float inner = std::max(0.0f, radius - width);
  FillShape(x0, y0, x1, y1,
            [=](float x, float y) {
              return InRoundRect(x, y, x0, y0, x1, y1, radius) &&
                     !InRoundRect(x, y, x0 + width, y0 + width, x1 - width, y1 - width, inner);
            },
            c, alpha);
}

void Raster::FillCircle(float cx, float cy, float r, Colour c, float alpha) {
  FillEllipse(cx, cy, r, r, c, alpha);
}

void Raster::FillEllipse(float cx, float cy, float rx, float ry, Colour c, float alpha) {
  if (rx <= 0.0f || ry <= 0.0f) return;
  FillShape(cx - rx, cy - ry, cx + rx, cy + ry,
            [=](float x, float y) {
              const float dx = (x - cx) / rx, dy = (y - cy) / ry;
              return dx * dx + dy * dy <= 1.0f;
            },
            c, alpha);
}

void Raster::FillRing(float cx, float cy, float outer, float inner, Colour c, float alpha) {
  FillShape(cx - outer, cy - outer, cx + outer, cy + outer,
            [=](float x, float y) {
              const float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
              return d <= outer * outer && d >= inner * inner;
            },
            c, alpha);
}

void Raster::FillPolygon(const std::vector<Point>& pts, Colour c, float alpha) {
  if (pts.size() < 3) return;
  float x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
  for (const Point& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  FillShape(x0, y0, x1, y1,
            [&pts](float x, float y) {
              bool in = false;
              for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                const Point& a = pts[i];
                const Point& b = pts[j];
                if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
              }
              return in;
            },
            c, alpha);
}

void Raster::Polyline(const std::vector<Point>& pts, float width, Colour c, float alpha) {
  if (pts.empty()) return;
  const float h = width / 2.0f;
  float x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
  for (const Point& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  FillShape(x0 - h, y0 - h, x1 + h, y1 + h,
            [&pts, h](float x, float y) {
              for (size_t i = 0; i + 1 < pts.size(); ++i)
                if (SegmentDistance2(x, y, pts[i], pts[i + 1]) <= h * h) return true;
              return pts.size() == 1 && SegmentDistance2(x, y, pts[0], pts[0]) <= h * h;
            },
            c, alpha);
}

std::vector<uint32_t> Raster::Straightened() const {
  std::vector<uint32_t> out(px_.size());
  for (size_t i = 0; i < px_.size(); ++i) {
    const uint32_t p = px_[i];
    const uint32_t a = p >> 24;
    if (a == 0) {
      out[i] = 0;
      continue;
    }
    auto ch = [a](uint32_t v) { return std::min<uint32_t>(255u, (v * 255u + a / 2) / a); };
    out[i] = (a << 24) | (ch((p >> 16) & 0xFF) << 16) | (ch((p >> 8) & 0xFF) << 8) | ch(p & 0xFF);
  }
  return out;
}

void AppendCurve(std::vector<Point>& pts, Point a, Point b, Point c, int steps) {
  for (int i = 1; i <= steps; ++i) {
    const float t = float(i) / float(steps), u = 1.0f - t;
    pts.push_back(Point{u * u * a.x + 2 * u * t * b.x + t * t * c.x,
                        u * u * a.y + 2 * u * t * b.y + t * t * c.y});
  }
}

}  // namespace kv::art
