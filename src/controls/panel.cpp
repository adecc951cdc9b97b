#include "controls/panel.h"

#include <algorithm>
#include <vector>

#include "controls/control_text.h"
#include "controls/art.h"
#include "controls/gdi.h"
#include "controls/link_label.h"
#include "controls/palette.h"

namespace kv {

namespace ui {

controls::Typeface Face(int points, int weight) {
  return controls::Typeface{weight >= FW_SEMIBOLD ? "Segoe UI Semibold" : "Segoe UI", points, weight};
}

controls::Typeface FixedFace(int points) {
  return controls::Typeface{"Consolas", points, FW_NORMAL, false, BYTE(FIXED_PITCH | FF_MODERN)};
}

controls::Font MakeFont(int points, int weight, UINT dpi) {
  return controls::MakeFont(Face(points, weight), dpi);
}

controls::Font MakeFixedFont(int points, UINT dpi) { return controls::MakeFont(FixedFace(points), dpi); }

HWND MakeLabel(HWND parent, int id, const std::string& text, DWORD extraStyle) {
  return controls::MakeChild(parent, "STATIC", id, text.c_str(), WS_VISIBLE | SS_NOPREFIX | extraStyle);
}

std::string TextOf(HWND control) { return controls::ControlText(control); }

}  // namespace ui

namespace {

constexpr int kPad = 20;  // inner margin of a page, at 96 DPI

}  // namespace

Panel::~Panel() {
  content_.reset();  // its controls go with the window below
  Destroy();
}

bool Panel::Create(HWND parent, std::string name, std::string heading, Style style) {
  if (hwnd_) return false;
  name_ = std::move(name);
  style_ = style;
  Ground();
  if (!Window::Create(controls::WindowClass{kClassName}, WS_EX_CONTROLPARENT, name_.c_str(),
                      WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent))
    return false;
  heading_ = ui::MakeLabel(hwnd_, 0, heading);
  if (heading.empty()) ShowWindow(heading_, SW_HIDE);
  controls::SetControlFont(heading_, HeadingFont());
  return true;
}

bool Panel::Visible() const {
  return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Panel::Visible(bool show) {
  if (show) (void)Content();
  if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void Panel::Move(const RECT& r) {
  if (!hwnd_) return;
  RECT before{};
  GetClientRect(hwnd_, &before);
  controls::MoveControl(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top);
  RECT after{};
  GetClientRect(hwnd_, &after);
  // A new size has been laid out by OnSize already.
  if (after.right == before.right && after.bottom == before.bottom) Relayout();
}

void Panel::OnSize(int, int) {
  if (!updatingBars_) Relayout();
}

std::string Panel::Heading() const { return heading_ ? ui::TextOf(heading_) : std::string(); }

void Panel::SetHeading(const std::string& text) {
  if (!heading_) return;
  SetWindowTextA(heading_, text.c_str());
  ShowWindow(heading_, text.empty() ? SW_HIDE : SW_SHOWNA);
  Relayout();
}

art::Colour Panel::Background() const {
  if (style_ == Style::Plain || controls::HighContrast()) {
    if (controls::HighContrast()) return SysColour(COLOR_WINDOW);
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return art::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  return art::palette::kCard;
}

HFONT Panel::HeadingFont() const {
  return FontOf(ui::Face(style_ == Style::Plain ? 11 : 13, FW_SEMIBOLD));
}

HFONT Panel::BodyFont() const { return FontOf(ui::Face(9, FW_NORMAL)); }

int Panel::HeadingBottom() const {
  if (Heading().empty()) return 0;
  return Px(14) + controls::LineHeight(HeadingFont()) + Px(6);
}

SIZE Panel::Extent() const {
  RECT c{};
  if (hwnd_) GetClientRect(hwnd_, &c);
  return SIZE{std::max(c.right, least_.cx), std::max(c.bottom, least_.cy)};
}

RECT Panel::ContentArea() const {
  const SIZE e = Extent();
  const int pad = Px(kPad);
  const int headingBottom = HeadingBottom();
  const int top = headingBottom ? headingBottom + Px(14) : pad;
  return RECT{pad - scroll_.x, top - scroll_.y, e.cx - pad - scroll_.x, e.cy - pad - scroll_.y};
}

void Panel::MinimumSize(SIZE least) {
  if (least.cx == least_.cx && least.cy == least_.cy) return;
  least_ = least;
  Relayout();
}

// The bars come and go with the need for them; each one that appears takes
// room from the other direction, so the need is asked again until it holds.
void Panel::UpdateScrollBars() {
  if (updatingBars_) return;
  updatingBars_ = true;
  // Two bars shown at a smaller size each take the room the other would
  // need to go: where the page fits the whole panel, neither is needed.
  RECT whole{};
  GetWindowRect(hwnd_, &whole);
  if (least_.cx <= whole.right - whole.left && least_.cy <= whole.bottom - whole.top) {
    scroll_ = POINT{0, 0};
    ShowScrollBar(hwnd_, SB_BOTH, FALSE);
    updatingBars_ = false;
    return;
  }
  for (int round = 0; round < 3; ++round) {
    RECT c{};
    GetClientRect(hwnd_, &c);
    const LONG maxX = std::max(0L, least_.cx - c.right), maxY = std::max(0L, least_.cy - c.bottom);
    scroll_.x = std::clamp(scroll_.x, 0L, maxX);
    scroll_.y = std::clamp(scroll_.y, 0L, maxY);
    const auto set = [this](int bar, LONG least, LONG page, LONG pos) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = 0;
      si.nMax = least > page ? int(least) - 1 : 0;
      si.nPage = least > page ? UINT(page) : 0;
      si.nPos = int(pos);
      SetScrollInfo(hwnd_, bar, &si, TRUE);
      ShowScrollBar(hwnd_, bar, least > page);
    };
    set(SB_HORZ, least_.cx, c.right, scroll_.x);
    set(SB_VERT, least_.cy, c.bottom, scroll_.y);
    RECT after{};
    GetClientRect(hwnd_, &after);
    if (after.right == c.right && after.bottom == c.bottom) break;
  }
  updatingBars_ = false;
}

void Panel::Relayout() {
  if (!hwnd_) return;
  UpdateScrollBars();
  const SIZE e = Extent();
  const int pad = Px(kPad);
  if (heading_) {
    controls::SetControlFont(heading_, HeadingFont());
    controls::MoveControl(heading_, pad - scroll_.x, Px(14) - scroll_.y, e.cx - 2 * pad,
                          controls::LineHeight(HeadingFont()) + 2);
  }
  if (content_) content_->Layout(ContentArea(), Dpi());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Panel::ScrollTo(POINT to) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  to.x = std::clamp(to.x, 0L, std::max(0L, least_.cx - c.right));
  to.y = std::clamp(to.y, 0L, std::max(0L, least_.cy - c.bottom));
  if (to.x == scroll_.x && to.y == scroll_.y) return;
  scroll_ = to;
  Relayout();
}

void Panel::ScrollIntoView(HWND child) {
  if (!hwnd_ || !child || !IsChild(hwnd_, child)) return;
  RECT r{}, c{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(hwnd_, &c);
  POINT to = scroll_;
  const int margin = Px(8);
  if (r.bottom > c.bottom) to.y += r.bottom - c.bottom + margin;
  if (r.top - (to.y - scroll_.y) < 0) to.y += r.top - (to.y - scroll_.y) - margin;
  if (r.right > c.right) to.x += r.right - c.right + margin;
  if (r.left - (to.x - scroll_.x) < 0) to.x += r.left - (to.x - scroll_.x) - margin;
  ScrollTo(to);
}

LRESULT Panel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
    const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &si);
    const int line = Px(24), page = std::max(line, int(si.nPage) - line);
    int pos = si.nPos;
    switch (LOWORD(wp)) {
      case SB_LINEUP: pos -= line; break;
      case SB_LINEDOWN: pos += line; break;
      case SB_PAGEUP: pos -= page; break;
      case SB_PAGEDOWN: pos += page; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = si.nTrackPos; break;
      case SB_TOP: pos = si.nMin; break;
      case SB_BOTTOM: pos = si.nMax; break;
      default: return 0;
    }
    ScrollTo(bar == SB_VERT ? POINT{scroll_.x, pos} : POINT{pos, scroll_.y});
    return 0;
  }
  if (msg == WM_MOUSEWHEEL && least_.cy > 0) {
    RECT c{};
    GetClientRect(hwnd_, &c);
    if (least_.cy > c.bottom) {
      ScrollTo(POINT{scroll_.x, scroll_.y - MulDiv(GET_WHEEL_DELTA_WPARAM(wp), Px(48), WHEEL_DELTA)});
      return 0;
    }
  }
  return Default(msg, wp, lp);
}

void Panel::MarkLink(HWND label) {
  controls::MakeKeyboardLink(label);
  links_[label] = true;
  labelColours_[label] = controls::palette::kLink;
}

void Panel::SetContent(std::unique_ptr<PageContent> content) {
  fill_ = nullptr;
  content_ = std::move(content);
  Relayout();
}

void Panel::SetContentFactory(std::function<void()> fill) {
  if (!content_) fill_ = std::move(fill);
}

PageContent* Panel::Content() {
  if (!content_ && fill_) {
    const auto fill = std::move(fill_);
    fill_ = nullptr;
    fill();
  }
  return content_.get();
}

bool Panel::OnCommand(int id, int code, HWND from) {
  if (Command) {
    const auto event = Command;
    event(id, code, from);
  }
  return true;
}

std::optional<controls::Window::LabelLook> Panel::OnLabelLook(HWND label) {
  if (controls::HighContrast())
    return LabelLook{GetSysColor(links_.count(label) ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT), Ground()};
  COLORREF ink = style_ == Style::Plain ? GetSysColor(COLOR_BTNTEXT) : ToColorRef(art::palette::kInk);
  if (auto it = labelColours_.find(label); it != labelColours_.end()) ink = it->second;
  return LabelLook{ink, Ground()};
}

// Made again whenever the page's colour changes (the high-contrast setting,
// the system colours), so the labels' ground always matches the page.
HBRUSH Panel::Ground() {
  const COLORREF want = ToColorRef(Background());
  if (!brush_ || want != brushColour_) {
    brush_ = controls::SolidBrush(want);
    brushColour_ = want;
  }
  return brush_.get();
}

HCURSOR Panel::OnChildPointer(HWND child) { return links_.count(child) ? controls::HandPointer() : nullptr; }

// Also the ground the custom controls paint their corners on, so it draws
// in client coordinates whatever the viewport origin.
bool Panel::OnEraseBackground(HDC dc) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  FillRect(dc, &c, Ground());
  if (style_ == Style::Card) {
    const controls::Brush line = controls::SolidBrush(
        controls::HighContrast() ? GetSysColor(COLOR_WINDOWTEXT) : ToColorRef(art::palette::kCardLine));
    FrameRect(dc, &c, line.get());
    if (HeadingBottom()) {
      const int pad = Px(kPad), hb = HeadingBottom() - scroll_.y;
      RECT rule{pad - scroll_.x, hb + Px(4), Extent().cx - pad - scroll_.x, hb + Px(4) + std::max(1, Px(1))};
      FillRect(dc, &rule, line.get());
    }
  } else if (style_ == Style::Plain) {
    DrawEdge(dc, &c, EDGE_ETCHED, BF_RECT);
  }
  return true;
}

bool Panel::OnMouseMove(POINT) {
  Raise(BackgroundMove);
  return true;
}

}  // namespace kv
