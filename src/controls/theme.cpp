#include "controls/theme.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kv::controls {

namespace {

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// Share of the pixel centred on (px, py) that lies inside the rounded
// rectangle, from its signed distance; gives edges one pixel of soft ramp.
float RoundCoverage(const RectF& r, float radius, float px, float py) {
  const float hx = (r.right - r.left) * 0.5f;
  const float hy = (r.bottom - r.top) * 0.5f;
  if (hx <= 0.0f || hy <= 0.0f) return 0.0f;
  radius = std::clamp(radius, 0.0f, std::min(hx, hy));
  const float qx = std::fabs(px - (r.left + hx)) - (hx - radius);
  const float qy = std::fabs(py - (r.top + hy)) - (hy - radius);
  const float ox = std::max(qx, 0.0f);
  const float oy = std::max(qy, 0.0f);
  const float d = std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
  return Clamp01(0.5f - d);
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0.0f ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0f;
  t = Clamp01(t);
  const float ex = px - (ax + t * dx), ey = py - (ay + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

COLORREF Mix(COLORREF a, COLORREF b, float t) {
  auto ch = [t](int x, int y) { return BYTE(std::lround(float(x) + (float(y) - float(x)) * t)); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
             ch(GetBValue(a), GetBValue(b)));
}

// The pointer picture: '#' black, '.' white, anything else see-through.
constexpr std::array<const char*, 22> kHandArt = {
    "    ##",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..###",
    "   #..#..###",
    "   #..#..#..###",
    "   #..#..#..#..#",
    "## #..#..#..#..#",
    "#..#...........#",
    "#..............#",
    " #.............#",
    "  #............#",
    "  #............#",
    "   #...........#",
    "   #..........#",
    "    #.........#",
    "    #.........#",
    "     #.......#",
    "     #.......#",
    "     #########",
};

}  // namespace

int LineHeight(HFONT font) {
  int height = 0;
  if (WindowDC dc(nullptr); dc) {
    Selection chosen(dc.get(), font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc.get(), &tm)) height = tm.tmHeight;
  }
  return height > 0 ? height : 16;
}

HCURSOR HandPointer() {
  static const HCURSOR cursor = [] {
    constexpr int kSide = 32, kStride = kSide / 8;
    BYTE andMask[kSide * kStride];
    BYTE xorMask[kSide * kStride];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0x00, sizeof xorMask);
    for (size_t y = 0; y < kHandArt.size(); ++y) {
      const char* row = kHandArt[y];
      for (int x = 0; row[x] && x < kSide; ++x) {
        if (row[x] != '#' && row[x] != '.') continue;
        const int byte = int(y) * kStride + x / 8;
        const BYTE bit = BYTE(0x80 >> (x % 8));
        andMask[byte] &= BYTE(~bit);
        if (row[x] == '.') xorMask[byte] |= bit;
      }
    }
    HCURSOR made = CreateCursor(GetModuleHandleA(nullptr), 5, 0, kSide, kSide, andMask, xorMask);
    return made ? made : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  }();
  return cursor;
}

Canvas::Canvas(HDC target, int width, int height)
    : dc_(target), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  if (!dc_) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  selected_.emplace(dc_.get(), bitmap_.get());
  bits_ = static_cast<uint32_t*>(bits);
}

// The bitmap is selected out before it is deleted, and the DC goes last.
Canvas::~Canvas() { selected_.reset(); }

void Canvas::PaintParentBackground(HWND control) {
  if (!Ok()) return;
  RECT all{0, 0, width_, height_};
  FillRect(dc_.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
  HWND parent = GetParent(control);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  POINT old{};
  SetViewportOrgEx(dc_.get(), -origin.x, -origin.y, &old);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_.get()), 0);
  SetViewportOrgEx(dc_.get(), old.x, old.y, nullptr);
}

void Canvas::BeginPixels() { GdiFlush(); }

void Canvas::Blend(int x, int y, COLORREF colour, float alpha) {
  if (alpha <= 0.0f || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint32_t& px = bits_[size_t(y) * size_t(width_) + size_t(x)];
  const float a = Clamp01(alpha);
  auto ch = [a](uint32_t dst, int src) {
    return uint32_t(std::lround(float(dst) + (float(src) - float(dst)) * a)) & 0xFFu;
  };
  const uint32_t r = ch((px >> 16) & 0xFF, GetRValue(colour));
  const uint32_t g = ch((px >> 8) & 0xFF, GetGValue(colour));
  const uint32_t b = ch(px & 0xFF, GetBValue(colour));
  px = (r << 16) | (g << 8) | b;
}

void Canvas::FillRound(const RectF& r, float radius, COLORREF top, COLORREF bottom, float alpha) {
  if (!Ok()) return;
  BeginPixels();
  const int x0 = std::max(0, int(std::floor(r.left))), x1 = std::min(width_, int(std::ceil(r.right)));
  const int y0 = std::max(0, int(std::floor(r.top))), y1 = std::min(height_, int(std::ceil(r.bottom)));
  const float span = std::max(r.bottom - r.top, 1.0f);
  for (int y = y0; y < y1; ++y) {
    const float py = float(y) + 0.5f;
    const COLORREF colour = Mix(top, bottom, Clamp01((py - r.top) / span));
    for (int x = x0; x < x1; ++x) {
      const float cover = RoundCoverage(r, radius, float(x) + 0.5f, py);
      if (cover > 0.0f) Blend(x, y, colour, cover * alpha);
    }
  }
}

void Canvas::StrokeRound(const RectF& r, float radius, float width, COLORREF colour, float alpha) {
  if (!Ok()) return;
  BeginPixels();
  const RectF inner = r.Inset(width);
  const float innerRadius = std::max(radius - width, 0.0f);
  const int x0 = std::max(0, int(std::floor(r.left))), x1 = std::min(width_, int(std::ceil(r.right)));
  const int y0 = std::max(0, int(std::floor(r.top))), y1 = std::min(height_, int(std::ceil(r.bottom)));
  for (int y = y0; y < y1; ++y) {
    const float py = float(y) + 0.5f;
    for (int x = x0; x < x1; ++x) {
      const float px = float(x) + 0.5f;
      const float cover = RoundCoverage(r, radius, px, py) - RoundCoverage(inner, innerRadius, px, py);
      if (cover > 0.0f) Blend(x, y, colour, cover * alpha);
    }
  }
}

void Canvas::FillCircle(float cx, float cy, float radius, COLORREF colour, float alpha) {
  FillRound({cx - radius, cy - radius, cx + radius, cy + radius}, radius, colour, colour, alpha);
}

void Canvas::Polyline(const float* xy, int points, float width, COLORREF colour, float alpha) {
  if (!Ok() || points < 2) return;
  BeginPixels();
  float minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
  for (int i = 1; i < points; ++i) {
    minX = std::min(minX, xy[2 * i]);
    maxX = std::max(maxX, xy[2 * i]);
    minY = std::min(minY, xy[2 * i + 1]);
    maxY = std::max(maxY, xy[2 * i + 1]);
  }
  const float reach = width * 0.5f + 1.0f;
  const int x0 = std::max(0, int(std::floor(minX - reach))), x1 = std::min(width_, int(std::ceil(maxX + reach)));
  const int y0 = std::max(0, int(std::floor(minY - reach))), y1 = std::min(height_, int(std::ceil(maxY + reach)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float px = float(x) + 0.5f, py = float(y) + 0.5f;
      float d = 1e9f;
      for (int i = 0; i + 1 < points; ++i)
        d = std::min(d, SegmentDistance(px, py, xy[2 * i], xy[2 * i + 1], xy[2 * i + 2], xy[2 * i + 3]));
      const float cover = Clamp01(width * 0.5f + 0.5f - d);
      if (cover > 0.0f) Blend(x, y, colour, cover * alpha);
    }
  }
}

void Canvas::Text(const char* text, int length, RECT box, HFONT font, COLORREF colour, UINT format) {
  if (!dc_) return;
  HDC dc = dc_.get();
  Selection chosen(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, colour);
  DrawTextA(dc, text, length, &box, format);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void Canvas::Present(HDC target, int x, int y) const {
  if (dc_) BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

}  // namespace kv::controls
