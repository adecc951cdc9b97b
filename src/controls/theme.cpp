#include "controls/theme.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kv::controls {

namespace {

raster::Colour ToColour(COLORREF c) { return raster::Rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

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

namespace {
thread_local int contrastOverride = -1;  // -1: ask the system
}  // namespace

HighContrastOverride::HighContrastOverride(bool on) : before_(contrastOverride) {
  contrastOverride = on ? 1 : 0;
}
HighContrastOverride::~HighContrastOverride() { contrastOverride = before_; }

bool HighContrast() {
  if (contrastOverride >= 0) return contrastOverride == 1;
  HIGHCONTRASTA hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

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
  pixels_.emplace(static_cast<uint32_t*>(bits), width_, height_);
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

raster::Raster& Canvas::Pixels() {
  GdiFlush();
  return *pixels_;
}

void Canvas::FillRound(const RectF& r, float radius, COLORREF top, COLORREF bottom, float alpha) {
  if (!Ok()) return;
  Pixels().FillGradient(r.left, r.top, r.right, r.bottom, ToColour(top), ToColour(bottom), radius,
                        alpha);
}

void Canvas::StrokeRound(const RectF& r, float radius, float width, COLORREF colour, float alpha) {
  if (!Ok()) return;
  Pixels().StrokeRect(r.left, r.top, r.right, r.bottom, width, ToColour(colour), radius, alpha);
}

void Canvas::FillCircle(float cx, float cy, float radius, COLORREF colour, float alpha) {
  if (Ok()) Pixels().FillCircle(cx, cy, radius, ToColour(colour), alpha);
}

void Canvas::Polyline(const float* xy, int points, float width, COLORREF colour, float alpha) {
  if (!Ok() || points < 2) return;
  std::vector<raster::Point> pts(static_cast<size_t>(points));
  for (size_t i = 0; i < pts.size(); ++i) pts[i] = {xy[2 * i], xy[2 * i + 1]};
  Pixels().Polyline(pts, width, ToColour(colour), alpha);
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
