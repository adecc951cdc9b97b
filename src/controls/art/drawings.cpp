#include "controls/art/drawings.h"

#include <algorithm>
#include <cmath>

namespace kv::art {

namespace {

using raster::AppendCurve;

constexpr float kPi = 3.14159265f;

std::vector<Point> ShieldOutline(float x, float y, float s) {
  auto P = [=](float u, float v) { return Point{x + u * s, y + v * s}; };
  std::vector<Point> pts{P(0.5f, 0.06f)};
  AppendCurve(pts, P(0.5f, 0.06f), P(0.68f, 0.16f), P(0.87f, 0.17f));
  AppendCurve(pts, P(0.87f, 0.17f), P(0.90f, 0.72f), P(0.5f, 0.95f), 16);
  AppendCurve(pts, P(0.5f, 0.95f), P(0.10f, 0.72f), P(0.13f, 0.17f), 16);
  AppendCurve(pts, P(0.13f, 0.17f), P(0.32f, 0.16f), P(0.5f, 0.06f));
  return pts;
}

// The part of a shield outline right of its middle: the outline runs
// clockwise from the top centre, so these points are one run.
std::vector<Point> RightHalf(const std::vector<Point>& pts, float mid) {
  std::vector<Point> out;
  for (const Point& p : pts)
    if (p.x >= mid - 0.001f) out.push_back(p);
  return out;
}

void DrawHome(Raster& r, float x, float y, float s, Colour ink, Colour ground) {
  auto P = [=](float u, float v) { return Point{x + u * s, y + v * s}; };
  r.Polyline({P(0.12f, 0.48f), P(0.5f, 0.15f), P(0.88f, 0.48f)}, s * 0.09f, ink);
  r.FillRect(x + 0.22f * s, y + 0.44f * s, x + 0.78f * s, y + 0.86f * s, ink, s * 0.04f);
  r.FillRect(x + 0.42f * s, y + 0.60f * s, x + 0.58f * s, y + 0.86f * s, ground, s * 0.03f);
}

void DrawIntegrity(Raster& r, float x, float y, float s, Colour ink, Colour ground) {
  auto P = [=](float u, float v) { return Point{x + u * s, y + v * s}; };
  r.FillPolygon(ShieldOutline(x, y, s), ink);
  r.Polyline({P(0.33f, 0.50f), P(0.46f, 0.63f), P(0.69f, 0.37f)}, s * 0.095f, ground);
}

void DrawRegWatch(Raster& r, float x, float y, float s, Colour ink, Colour ground) {
  // Three stacked records with a marker on the one being watched.
  for (int i = 0; i < 3; ++i) {
    const float top = y + (0.16f + 0.25f * float(i)) * s;
    r.FillRect(x + 0.12f * s, top, x + 0.88f * s, top + 0.19f * s, ink, 0.05f * s);
    r.FillCircle(x + 0.26f * s, top + 0.095f * s, 0.045f * s, ground);
    r.FillRect(x + 0.38f * s, top + 0.07f * s, x + (i == 1 ? 0.62f : 0.76f) * s, top + 0.12f * s,
               ground, 0.02f * s);
  }
}

void DrawAppWatch(Raster& r, float x, float y, float s, Colour ink, Colour ground) {
  r.StrokeRect(x + 0.10f * s, y + 0.16f * s, x + 0.90f * s, y + 0.84f * s, 0.07f * s, ink, 0.08f * s);
  r.FillRect(x + 0.10f * s, y + 0.16f * s, x + 0.90f * s, y + 0.32f * s, ink, 0.08f * s);
  r.FillRect(x + 0.10f * s, y + 0.26f * s, x + 0.90f * s, y + 0.32f * s, ink);
  // An eye: a lens between two arcs, its pupil in the middle.
  const float cx = x + 0.5f * s, cy = y + 0.58f * s, w = 0.27f * s, h = 0.15f * s;
  std::vector<Point> lens{{cx - w, cy}};
  AppendCurve(lens, {cx - w, cy}, {cx, cy - 2 * h}, {cx + w, cy});
  AppendCurve(lens, {cx + w, cy}, {cx, cy + 2 * h}, {cx - w, cy});
  r.FillPolygon(lens, ink);
  r.FillCircle(cx, cy, 0.085f * s, ground);
  r.FillCircle(cx, cy, 0.04f * s, ink);
}

void DrawOptions(Raster& r, float x, float y, float s, Colour ink, Colour ground) {
  const float cx = x + 0.5f * s, cy = y + 0.5f * s;
  const int teeth = 8;
  for (int i = 0; i < teeth; ++i) {
    const float a = 2 * kPi * float(i) / teeth;
    const float ca = std::cos(a), sa = std::sin(a);
    const float half = 0.075f * s, inner = 0.22f * s, outer = 0.41f * s;
    auto rot = [&](float u, float v) { return Point{cx + u * ca - v * sa, cy + u * sa + v * ca}; };
    r.FillPolygon({rot(inner, -half * 1.2f), rot(outer, -half), rot(outer, half), rot(inner, half * 1.2f)},
                  ink);
  }
  r.FillCircle(cx, cy, 0.31f * s, ink);
  r.FillCircle(cx, cy, 0.13f * s, ground);
}

}  // namespace

void DrawEmblem(Raster& r, float x, float y, float s) {
  auto P = [=](float u, float v) { return Point{x + u * s, y + v * s}; };
  const std::vector<Point> shield = ShieldOutline(x, y, s);
  r.FillPolygon(shield, palette::kAccent);
  r.FillPolygon(RightHalf(shield, x + 0.5f * s), palette::kAccentDark);
  // A thin rim keeps the outline readable on dark and light grounds alike.
  r.Polyline(shield, std::max(1.0f, s * 0.035f), Rgb(9, 92, 83), 0.8f);
  r.Polyline({P(0.31f, 0.50f), P(0.45f, 0.645f), P(0.70f, 0.36f)}, std::max(1.6f, s * 0.10f),
             palette::kWhite);
}

void DrawGlyph(Raster& r, Glyph g, float x, float y, float s, Colour ink, Colour ground) {
  switch (g) {
    case Glyph::Home: DrawHome(r, x, y, s, ink, ground); break;
    case Glyph::Integrity: DrawIntegrity(r, x, y, s, ink, ground); break;
    case Glyph::RegWatch: DrawRegWatch(r, x, y, s, ink, ground); break;
    case Glyph::AppWatch: DrawAppWatch(r, x, y, s, ink, ground); break;
    case Glyph::Options: DrawOptions(r, x, y, s, ink, ground); break;
  }
}

Colour TileColour(Glyph g) {
  switch (g) {
    case Glyph::RegWatch: return Rgb(99, 91, 196);
    case Glyph::AppWatch: return Rgb(214, 128, 32);
    case Glyph::Integrity: return palette::kAccent;
    case Glyph::Options: return Rgb(59, 110, 171);
    case Glyph::Home: break;
  }
  return palette::kRail;
}

void DrawHeaderTile(Raster& r, Glyph g, float x, float y, float s) {
  const Colour tile = TileColour(g);
  r.FillRect(x, y, x + s, y + s, tile, s * 0.22f);
  // A lighter upper half gives the tile a soft sheen without a gradient.
  r.FillRect(x + s * 0.06f, y + s * 0.06f, x + s * 0.94f, y + s * 0.50f, palette::kWhite,
             s * 0.18f, 0.10f);
  DrawGlyph(r, g, x + s * 0.2f, y + s * 0.2f, s * 0.6f, palette::kWhite, tile);
}

void DrawCafeWall(Raster& r) {
  const float w = float(r.Width()), h = float(r.Height());
  const int rows = 9;
  const float rowH = h / float(rows);
  const float brick = rowH * 1.9f;
  const float mortar = std::max(1.0f, rowH * 0.07f);
  r.Clear(Rgb(128, 128, 128));
  // Each row is shifted by a third of a brick more than the last, and back
  // again every few rows: the shift is what bends the eye.
  const float shifts[] = {0.0f, 0.33f, 0.66f, 0.33f};
  for (int row = 0; row < rows; ++row) {
    const float top = float(row) * rowH + mortar / 2;
    const float bottom = float(row + 1) * rowH - mortar / 2;
    const float offset = shifts[row % 4] * brick;
    int n = 0;
    for (float left = -2 * brick + offset; left < w; left += brick, ++n) {
      const Colour c = (n % 2 == 0) ? Rgb(20, 20, 20) : Rgb(250, 250, 250);
      r.FillRect(left, top, left + brick, bottom, c);
    }
  }
}

}  // namespace kv::art
