#include "controls/theme.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kv::controls {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Older systems have no GetDpiForWindow; linking it directly would stop the
// program from starting there.
GetDpiForWindowFn DpiForWindowFunction() {
  static const GetDpiForWindowFn fn = [] {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return GetDpiForWindowFn{};
    FARPROC proc = GetProcAddress(user32, "GetDpiForWindow");
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(proc));
  }();
  return fn;
}

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

UINT WindowDpi(HWND hwnd) {
  if (auto fn = DpiForWindowFunction(); fn && hwnd) {
    if (UINT dpi = fn(hwnd)) return dpi;
  }
  int dpi = 0;
  if (HDC dc = GetDC(hwnd)) {
    dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
  }
  return dpi > 0 ? UINT(dpi) : 96u;
}

Font CreateCaptionFont(UINT dpi, bool underline) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(9, int(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::strcpy(lf.lfFaceName, "Segoe UI");
  return Font(CreateFontIndirectA(&lf));
}

int LineHeight(HFONT font) {
  int height = 0;
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm)) height = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
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
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  dc_ = CreateCompatibleDC(target);
  if (!dc_) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  oldBitmap_ = SelectObject(dc_, bitmap_);
  pixels_.emplace(static_cast<uint32_t*>(bits), width_, height_);
}

Canvas::~Canvas() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

void Canvas::PaintParentBackground(HWND control) {
  if (!Ok()) return;
  RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, GetSysColorBrush(COLOR_BTNFACE));
  HWND parent = GetParent(control);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  POINT old{};
  SetViewportOrgEx(dc_, -origin.x, -origin.y, &old);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0);
  SetViewportOrgEx(dc_, old.x, old.y, nullptr);
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
  HGDIOBJ oldFont = SelectObject(dc_, font);
  const int oldMode = SetBkMode(dc_, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc_, colour);
  DrawTextA(dc_, text, length, &box, format);
  SetTextColor(dc_, oldColour);
  SetBkMode(dc_, oldMode);
  SelectObject(dc_, oldFont);
}

void Canvas::Present(HDC target, int x, int y) const {
  if (dc_) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace kv::controls
