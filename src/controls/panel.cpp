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
  SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(HeadingFont()), TRUE);
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
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout();
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

RECT Panel::ContentArea() const {
  RECT c{};
  if (hwnd_) GetClientRect(hwnd_, &c);
  const int pad = Px(kPad);
  const int headingBottom = HeadingBottom();
  const int top = headingBottom ? headingBottom + Px(14) : pad;
  return RECT{pad, top, c.right - pad, c.bottom - pad};
}

void Panel::Relayout() {
  if (!hwnd_) return;
  RECT c{};
  GetClientRect(hwnd_, &c);
  const int pad = Px(kPad);
  if (heading_) {
    SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(HeadingFont()), FALSE);
    SetWindowPos(heading_, nullptr, pad, Px(14), c.right - 2 * pad,
                 controls::LineHeight(HeadingFont()) + 2, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (content_) content_->Layout(ContentArea(), Dpi());
  InvalidateRect(hwnd_, nullptr, TRUE);
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
    if (const int hb = HeadingBottom()) {
      const int pad = Px(kPad);
      RECT rule{pad, hb + Px(4), c.right - pad, hb + Px(4) + std::max(1, Px(1))};
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
