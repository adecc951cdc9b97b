// A page of the main window: a child container shown or hidden as a whole,
// with a heading at its top and an area below it for the page's controls.
//
// A subsystem fills its page by giving the panel a PageContent: the content
// creates its controls as children of panel.hwnd() inside ContentArea(),
// and the frame tells it when the page opens, when hover looks are to be
// cleared and when the area changes (size or DPI).
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "controls/art/drawings.h"
#include "controls/theme.h"
#include "controls/window.h"

namespace kv {

class PageContent {
 public:
  virtual ~PageContent() = default;
  // The page's own refresh when its opener runs (loadf, loadSettings,
  // buttons that wait for a choice). The frame calls it before the page
  // reset for the Integrity Checker page, after it for every other page.
  virtual void Opening() {}
  // Hover reset: clear the lit look of the page's custom buttons and checks.
  virtual void norms() {}
  // Escape: the page's own Cancel, where it has one (false where not).
  virtual bool Cancel() { return false; }
  // Place the controls inside `area` (the panel's client coordinates).
  virtual void Layout(const RECT& area, UINT dpi) {
    (void)area;
    (void)dpi;
  }
};

namespace ui {
// Segoe UI in the given size (points) and weight.
controls::Typeface Face(int points, int weight);
// The fixed-pitch face of descriptions and code-like text.
controls::Typeface FixedFace(int points);
// The same, made for a DPI.
controls::Font MakeFont(int points, int weight, UINT dpi);
// The fixed-pitch face of descriptions and code-like text.
controls::Font MakeFixedFont(int points, UINT dpi);
// A plain text label; SS_NOTIFY when it is to be clicked.
HWND MakeLabel(HWND parent, int id, const std::string& text, DWORD extraStyle = 0);
std::string TextOf(HWND control);
}  // namespace ui

class Panel : public controls::Window {
 public:
  static constexpr const char* kClassName = "KorvanelPage";
  // Card: a white page with a thin border on the frame's background.
  // Nested: the same white without a border (a page inside a page).
  // Plain: the low-resource edition's system-coloured page.
  enum class Style { Card, Nested, Plain };

  Panel() = default;
  ~Panel() override;

  bool Create(HWND parent, std::string name, std::string heading, Style style);

  const std::string& Name() const { return name_; }
  // The page's own visible mark (a page inside a hidden page keeps its mark).
  bool Visible() const;
  void Visible(bool show);
  void Move(const RECT& r);

  // The heading is a label of its own (empty: no heading, the content area
  // starts at the top).
  std::string Heading() const;
  void SetHeading(const std::string& text);
  HWND HeadingLabel() const { return heading_; }

  // The content's area in the panel's client coordinates: moved by the
  // scrolling, and never smaller than the least area set below.
  RECT ContentArea() const;
  art::Colour Background() const;

  // The least client size (pixels) at which the page's controls all fit;
  // a smaller panel scrolls its controls instead of squeezing them.
  void MinimumSize(SIZE least);
  // How far the controls are scrolled, in pixels.
  POINT ScrollPosition() const { return scroll_; }
  // Scrolls so that `child` (a window inside the panel) is wholly in view.
  void ScrollIntoView(HWND child);

  void SetContent(std::unique_ptr<PageContent> content);
  // A page not shown yet need not exist: `fill` gives the panel its content
  // (through SetContent) when the page is first shown or its content first
  // asked for. One fill may serve several panels whose contents belong
  // together; a panel that already has content never runs its fill.
  void SetContentFactory(std::function<void()> fill);
  // The content, made now when it waits for its factory.
  PageContent* Content();
  // The content only if it was made (hover resets need not make pages).
  PageContent* MadeContent() const { return content_.get(); }
  template <class T>
  T* ContentAs() {
    return dynamic_cast<T*>(Content());
  }
  void Relayout();

  // Text colour of one of the page's labels (links are blue).
  void SetLabelColour(HWND label, COLORREF colour) { labelColours_[label] = colour; }
  // A label that is a link: blue, with the hand pointer over it, and a Tab
  // stop that Enter and Space click.
  void MarkLink(HWND label);
  // Font given to labels by default; the content may set its own.
  HFONT BodyFont() const;

  std::function<void()> BackgroundMove;  // the pointer is over the page's background
  std::function<void(int id, int code, HWND from)> Command;  // WM_COMMAND of the page's controls

 private:
  bool OnEraseBackground(HDC dc) override;
  bool OnMouseMove(POINT at) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnSize(int width, int height) override;
  // The area laid out: the client area, or the least size where larger.
  SIZE Extent() const;
  void UpdateScrollBars();
  void ScrollTo(POINT to);
  bool OnCommand(int id, int code, HWND from) override;
  void OnDpiChanged() override { Relayout(); }
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  HCURSOR OnChildPointer(HWND child) override;
  HFONT HeadingFont() const;
  HBRUSH Ground();
  int HeadingBottom() const;

  HWND heading_ = nullptr;
  std::string name_;
  Style style_ = Style::Card;
  std::unique_ptr<PageContent> content_;
  std::function<void()> fill_;
  std::map<HWND, COLORREF> labelColours_;
  std::map<HWND, bool> links_;
  controls::Brush brush_;
  COLORREF brushColour_ = 0;
  SIZE least_{0, 0};
  POINT scroll_{0, 0};
  bool updatingBars_ = false;
};

}  // namespace kv
