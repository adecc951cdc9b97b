#include "app/nav_bar.h"

#include <algorithm>

#include "app/mForm1_ids.h"
#include "controls/panel.h"

namespace kv {

using controls::Scale;

namespace {

struct NavItem {
  art::Glyph glyph;
  const char* caption;
};

constexpr NavItem kItems[NavBar::kButtons] = {
    {art::Glyph::Home, "Home"},
    {art::Glyph::Integrity, "Integrity Checker"},
    {art::Glyph::RegWatch, "RegWatch"},
    {art::Glyph::AppWatch, "AppWatch"},
    {art::Glyph::Options, "Options"},
};

}  // namespace

NavBar::NavBar(HWND parent)
    : normal_{&Image2, &Image4, &Image6, &Image8, &Image10},
      lit_{&Image3, &Image5, &Image7, &Image9, &Image11} {
  using namespace art::palette;
  for (int i = 0; i < kButtons; ++i) {
    const NavItem item = kItems[i];
    for (bool lit : {false, true}) {
      Picture& p = lit ? *lit_[size_t(i)] : *normal_[size_t(i)];
      p.Create(
          parent, mform1_ids::NavPicture(i, lit), kRail,
          [item, lit](art::Raster& r, const Picture::Look& look) {
            const float s = float(look.dpi) / 96.0f;
            const float w = float(r.Width()), h = float(r.Height());
            const bool hc = look.highContrast;
            // The page shown keeps a quieter version of the lit look.
            const bool strong = lit || look.marked;
            const art::Colour ground = hc ? SysColour(strong ? COLOR_HIGHLIGHT : COLOR_WINDOW)
                                          : lit ? kRailLit : look.marked ? raster::Mix(kRail, kRailLit, 0.7f) : kRail;
            const art::Colour ink = hc ? SysColour(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)
                                       : strong ? kWhite : kRailText;
            if (strong) {
              r.FillRect(0, 0, w, h, ground, 6 * s);
              if (!hc) r.FillRect(0, h * 0.22f, 3.5f * s, h * 0.78f, kAccent, 1.75f * s);
            }
            if (look.focused)
              r.StrokeRect(1, 1, w - 1, h - 1, std::max(1.0f, 1.5f * s), hc ? ink : kAccent, 6 * s);
            const float g = 22 * s;
            art::DrawGlyph(r, item.glyph, 16 * s, (h - g) / 2, g, ink, ground);
          },
          [this, item, lit](HDC dc, const RECT& box, const Picture::Look& look) {
            RECT text = box;
            text.left = Scale(50, look.dpi);
            HGDIOBJ old = SelectObject(dc, captionFont_.get());
            const bool strong = lit || look.marked;
            if (look.highContrast)
              SetTextColor(dc, GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            else
              SetTextColor(dc, ToColorRef(strong ? kWhite : kRailText));
            DrawTextA(dc, item.caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            SelectObject(dc, old);
          },
          lit, !lit);
      p.Name(item.caption);
    }
  }
  brand.Create(
      parent, 0, kRail,
      [](art::Raster& r, const Picture::Look& look) {
        const float s = float(look.dpi) / 96.0f;
        art::DrawEmblem(r, 14 * s, (float(r.Height()) - 34 * s) / 2, 34 * s);
      },
      [this](HDC dc, const RECT& box, const Picture::Look& look) {
        RECT text = box;
        text.left = Scale(56, look.dpi);
        HGDIOBJ old = SelectObject(dc, brandFont_.get());
        SetTextColor(dc, look.highContrast ? GetSysColor(COLOR_WINDOWTEXT) : ToColorRef(kWhite));
        DrawTextA(dc, "Korvanel", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, old);
      });
}

void NavBar::MarkCurrent(int i) {
  current_ = i;
  for (int j = 0; j < kButtons; ++j) {
    Normal(j).Marked(j == i);
    Lit(j).Marked(j == i);
  }
}

void NavBar::Layout(int railWidth, UINT dpi) {
  if (fontDpi_ != dpi || !captionFont_) {
    fontDpi_ = dpi;
    captionFont_ = ui::MakeFont(10, FW_NORMAL, dpi);
    brandFont_ = ui::MakeFont(14, FW_SEMIBOLD, dpi);
  }
  brand.Move(0, Scale(14, dpi), railWidth, Scale(52, dpi));
  brand.Visible(true);
  const int x = Scale(10, dpi), w = railWidth - 2 * x, h = Scale(44, dpi);
  int y = Scale(92, dpi);
  for (int i = 0; i < kButtons; ++i) {
    Normal(i).Move(x, y, w, h);
    Lit(i).Move(x, y, w, h);
    Normal(i).Visible(true);
    // The lit twin sits above its normal picture in the z-order.
    SetWindowPos(Lit(i).hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    y += h + Scale(6, dpi);
  }
}

PlainNav::PlainNav(HWND parent) {
  Image5.Create(parent, mform1_ids::kImage5, 0, 0, 10, 10, "Integrity Scan", true);
  Image7.Create(parent, mform1_ids::kImage7, 0, 0, 10, 10, "RegWatch", true);
  Image9.Create(parent, mform1_ids::kImage9, 0, 0, 10, 10, "AppWatch", true);
  Image11.Create(parent, mform1_ids::kImage11, 0, 0, 10, 10, "Options", true);
}

void PlainNav::Layout(int x, int y, int width, UINT dpi) {
  const int h = Scale(32, dpi), gap = Scale(8, dpi);
  for (cButton* b : {&Image5, &Image7, &Image9, &Image11}) {
    controls::MoveControl(b->hwnd(), x, y, width, h);
    y += h + gap;
  }
}

}  // namespace kv
