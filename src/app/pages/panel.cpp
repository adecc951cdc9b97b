#include "app/pages/panel.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "app/art.h"

namespace kv {

namespace ui {

controls::Font MakeFont(int points, int weight, UINT dpi) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(points, int(dpi), 72);
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::strcpy(lf.lfFaceName, weight >= FW_SEMIBOLD ? "Segoe UI Semibold" : "Segoe UI");
  HFONT f = CreateFontIndirectA(&lf);
  return controls::Font(f);
}

controls::Font MakeFixedFont(int points, UINT dpi) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(points, int(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strcpy(lf.lfFaceName, "Consolas");
  return controls::Font(CreateFontIndirectA(&lf));
}

HWND MakeLabel(HWND parent, int id, const std::string& text, DWORD extraStyle) {
  return CreateWindowExA(0, "STATIC", text.c_str(),
                         WS_CHILD | WS_VISIBLE | SS_NOPREFIX | extraStyle, 0, 0, 1, 1, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
}

std::string TextOf(HWND control) {
  const int n = GetWindowTextLengthA(control);
  std::vector<char> buf(size_t(n) + 1, '\0');
  GetWindowTextA(control, buf.data(), n + 1);
  return std::string(buf.data());
}

}  // namespace ui

namespace {

constexpr int kPad = 20;  // inner margin of a page, at 96 DPI

void RegisterOnce(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc{sizeof wc};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = Panel::kClassName;
  RegisterClassExA(&wc);
  done = true;
}

}  // namespace

Panel::~Panel() {
  content_.reset();  // its controls go with the window below
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (brush_) DeleteObject(brush_);
}

bool Panel::Create(HWND parent, std::string name, std::string heading, Style style) {
  if (hwnd_) return false;
  RegisterOnce(&Panel::Proc);
  name_ = std::move(name);
  style_ = style;
  brush_ = CreateSolidBrush(ToColorRef(Background()));
  hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, name_.c_str(),
                          WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  heading_ = ui::MakeLabel(hwnd_, 0, heading);
  if (heading.empty()) ShowWindow(heading_, SW_HIDE);
  EnsureFonts();
  return true;
}

bool Panel::Visible() const {
  return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Panel::Visible(bool show) {
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

UINT Panel::Dpi() const { return hwnd_ ? controls::WindowDpi(hwnd_) : 96u; }

art::Colour Panel::Background() const {
  if (style_ == Style::Plain) {
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return art::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  return art::palette::kCard;
}

void Panel::EnsureFonts() {
  const UINT dpi = Dpi();
  if (fontDpi_ == dpi && headingFont_) return;
  fontDpi_ = dpi;
  headingFont_ = ui::MakeFont(style_ == Style::Plain ? 11 : 13, FW_SEMIBOLD, dpi);
  body_ = ui::MakeFont(9, FW_NORMAL, dpi);
  if (heading_) SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()), TRUE);
}

int Panel::HeadingBottom() const {
  const UINT dpi = fontDpi_ ? fontDpi_ : 96u;
  if (Heading().empty()) return 0;
  return controls::Scale(14, dpi) + controls::LineHeight(headingFont_.get()) + controls::Scale(6, dpi);
}

RECT Panel::ContentArea() const {
  RECT c{};
  if (hwnd_) GetClientRect(hwnd_, &c);
  const UINT dpi = fontDpi_ ? fontDpi_ : 96u;
  const int pad = controls::Scale(kPad, dpi);
  const int headingBottom = HeadingBottom();
  const int top = headingBottom ? headingBottom + controls::Scale(14, dpi) : pad;
  return RECT{pad, top, c.right - pad, c.bottom - pad};
}

void Panel::Relayout() {
  if (!hwnd_) return;
  EnsureFonts();
  RECT c{};
  GetClientRect(hwnd_, &c);
  const int pad = controls::Scale(kPad, fontDpi_);
  if (heading_)
    SetWindowPos(heading_, nullptr, pad, controls::Scale(14, fontDpi_), c.right - 2 * pad,
                 controls::LineHeight(headingFont_.get()) + 2, SWP_NOZORDER | SWP_NOACTIVATE);
  if (content_) content_->Layout(ContentArea(), fontDpi_);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Panel::MarkLink(HWND label) {
  links_[label] = true;
  labelColours_[label] = RGB(0, 102, 204);
}

void Panel::SetContent(std::unique_ptr<PageContent> content) {
  content_ = std::move(content);
  Relayout();
}

LRESULT CALLBACK Panel::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Panel*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  try {
    return self->Handle(msg, wp, lp);
  } catch (const std::exception&) {
    return DefWindowProcA(h, msg, wp, lp);
  } catch (...) {
    return DefWindowProcA(h, msg, wp, lp);
  }
}

LRESULT Panel::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      // Also the ground the custom controls paint their corners on, so it
      // draws in client coordinates whatever the viewport origin.
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT c{};
      GetClientRect(hwnd_, &c);
      FillRect(dc, &c, brush_);
      const UINT dpi = fontDpi_ ? fontDpi_ : 96u;
      if (style_ == Style::Card) {
        HBRUSH line = CreateSolidBrush(ToColorRef(art::palette::kCardLine));
        FrameRect(dc, &c, line);
        if (const int hb = HeadingBottom()) {
          const int pad = controls::Scale(kPad, dpi);
          RECT rule{pad, hb + controls::Scale(4, dpi), c.right - pad,
                    hb + controls::Scale(4, dpi) + std::max(1, controls::Scale(1, dpi))};
          FillRect(dc, &rule, line);
        }
        DeleteObject(line);
      } else if (style_ == Style::Plain) {
        DrawEdge(dc, &c, EDGE_ETCHED, BF_RECT);
      }
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      HWND label = reinterpret_cast<HWND>(lp);
      SetBkMode(dc, TRANSPARENT);
      auto it = labelColours_.find(label);
      COLORREF ink = style_ == Style::Plain ? GetSysColor(COLOR_BTNTEXT) : ToColorRef(art::palette::kInk);
      if (it != labelColours_.end()) ink = it->second;
      SetTextColor(dc, ink);
      return reinterpret_cast<LRESULT>(brush_);
    }
    case WM_SETCURSOR:
      if (links_.count(reinterpret_cast<HWND>(wp)) && LOWORD(lp) == HTCLIENT) {
        SetCursor(controls::HandPointer());
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (BackgroundMove) {
        const auto event = BackgroundMove;
        event();
      }
      return 0;
    case WM_COMMAND:
      if (Command) {
        const auto event = Command;
        event(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      }
      return 0;
    case WM_SIZE:
      return 0;
    case 0x02E3:  // WM_DPICHANGED_AFTERPARENT
      Relayout();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace kv
