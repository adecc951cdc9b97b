#include "app/pages/home_page.h"

#include <algorithm>
#include <string>

#include "controls/control_table.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;

namespace {

struct Tile {
  art::Glyph glyph;
  const char* name;
  const char* text;
};

constexpr Tile kTiles[4] = {
    {art::Glyph::Integrity, "Integrity Checker", "Compare your system files with their fingerprints."},
    {art::Glyph::RegWatch, "RegWatch", "See what Windows loads from the Registry at start-up."},
    {art::Glyph::AppWatch, "AppWatch", "List every open window, hidden ones included."},
    {art::Glyph::Options, "Options", "Settings, logs and your virus scanner."},
};

}  // namespace

HomePage::HomePage(Panel& panel, Actions actions) : panel_(panel), actions_(std::move(actions)) {
  HWND parent = panel.hwnd();
  emblem.Create(parent, 0, panel.Background(), [](art::Raster& r, const Picture::Look&) {
    art::DrawEmblem(r, 0.0f, 0.0f, float(std::min(r.Width(), r.Height())));
  });
  using controls::kLabelStyle;
  // Created in tab order: the welcome, the tiles, then the drivers' note and
  // its button, and last the caption-less corner label.
  static const controls::ControlRow<HomePage> kHead[] = {
      {&HomePage::welcome, {0, "STATIC", "Welcome to Korvanel", kLabelStyle}},
      {&HomePage::tagline,
       {0, "STATIC", "Your system files, start-up programs and open windows, watched over.", kLabelStyle}},
  };
  static const controls::ControlRow<HomePage> kTail[] = {
      {&HomePage::driversNote,
       {0, "STATIC",
        "Kernel drivers are installed in the drivers folder of the system folder, which the system check "
        "does not look into.",
        kLabelStyle}},
      {&HomePage::watchDrivers, {kWatchDriversId, cButton::kClassName, "Watch the Drivers Folder"}},
      // No caption, no border: only someone who clicks the right corner finds it.
      {&HomePage::lblegg, {kEggId, "STATIC", "", kLabelStyle | SS_NOTIFY}},
  };
  controls::MakeControls(*this, parent, kHead);
  panel.SetLabelColour(tagline, ToColorRef(art::palette::kMuted));

  const std::function<void()> opens[4] = {actions_.openIntegrity, actions_.openRegWatch,
                                          actions_.openAppWatch, actions_.openOptions};
  for (size_t i = 0; i < tiles.size(); ++i) {
    const Tile& t = kTiles[i];
    tiles[i].Create(
        parent, 0, panel.Background(),
        [t](art::Raster& r, const Picture::Look& look) {
          const float s = float(look.dpi) / 96.0f;
          const bool hc = look.highContrast;
          r.FillRect(0.5f, 0.5f, float(r.Width()) - 0.5f, float(r.Height()) - 0.5f,
                     hc ? SysColour(COLOR_WINDOW) : art::palette::kTile, 8 * s);
          const art::Colour edge = hc ? SysColour(COLOR_WINDOWTEXT)
                                   : look.focused ? art::palette::kAccent : art::palette::kCardLine;
          r.StrokeRect(0.5f, 0.5f, float(r.Width()) - 0.5f, float(r.Height()) - 0.5f,
                       std::max(1.0f, look.focused ? 2 * s : s), edge, 8 * s);
          const float tile = 44 * s;
          art::DrawHeaderTile(r, t.glyph, 14 * s, (float(r.Height()) - tile) / 2, tile);
        },
        [this, t](HDC dc, const RECT& box, const Picture::Look& look) {
          RECT name = box;
          name.left = Scale(72, look.dpi);
          name.right -= Scale(10, look.dpi);
          name.top = Scale(20, look.dpi);
          HGDIOBJ old = SelectObject(dc, tileTitleFont_.get());
          SetTextColor(dc, look.highContrast ? GetSysColor(COLOR_WINDOWTEXT) : ToColorRef(art::palette::kInk));
          DrawTextA(dc, t.name, -1, &name, DT_SINGLELINE | DT_NOPREFIX);
          RECT text = name;
          text.top += controls::LineHeight(tileTitleFont_.get()) + Scale(2, look.dpi);
          text.bottom = box.bottom - Scale(6, look.dpi);
          SelectObject(dc, tileTextFont_.get());
          SetTextColor(dc, look.highContrast ? GetSysColor(COLOR_WINDOWTEXT) : ToColorRef(art::palette::kMuted));
          DrawTextA(dc, t.text, -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
          SelectObject(dc, old);
        },
        true, true);
    tiles[i].Name(t.name);
    tiles[i].Click = opens[i];
    tiles[i].MouseMove = actions_.pointerOverBackground;
  }
  // Drivers are installed beside the system files but one folder down, where
  // the system check never looks; until that folder is watched, say so.
  controls::MakeControls(*this, parent, kTail);
  panel.SetLabelColour(driversNote, ToColorRef(art::palette::kMuted));
  watchDrivers.Click = [this] {
    if (actions_.watchDrivers) actions_.watchDrivers();
    Opening();
  };
  ShowWindow(driversNote, SW_HIDE);
  ShowWindow(watchDrivers.hwnd(), SW_HIDE);
  panel.Command = [this](int id, int code, HWND) {
    if (id == kEggId && code == STN_CLICKED && actions_.lblegg_Click) {
      const auto event = actions_.lblegg_Click;
      event();
    }
  };
}

void HomePage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !titleFont_) {
    fontDpi_ = dpi;
    titleFont_ = ui::MakeFont(20, FW_SEMIBOLD, dpi);
    tagFont_ = ui::MakeFont(10, FW_NORMAL, dpi);
    tileTitleFont_ = ui::MakeFont(11, FW_SEMIBOLD, dpi);
    tileTextFont_ = ui::MakeFont(9, FW_NORMAL, dpi);
    SetControlFont(welcome, titleFont_.get());
    SetControlFont(tagline, tagFont_.get());
  }
  const int left = area.left, top = area.top, width = area.right - area.left;
  const int logo = Scale(72, dpi);
  emblem.Move(left, top + Scale(4, dpi), logo, logo);
  emblem.Visible(true);
  const int textLeft = left + logo + Scale(18, dpi);
  const int titleH = controls::LineHeight(titleFont_.get());
  MoveControl(welcome, textLeft, top + Scale(10, dpi), area.right - textLeft, titleH + 4);
  MoveControl(tagline, textLeft, top + Scale(14, dpi) + titleH, area.right - textLeft,
              controls::LineHeight(tagFont_.get()) + 4);

  // Two by two tiles below the welcome.
  const int gap = Scale(16, dpi);
  const int gridTop = top + logo + Scale(36, dpi);
  const int tileW = (width - gap) / 2;
  const int tileH = Scale(92, dpi);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const int col = int(i % 2), row = int(i / 2);
    tiles[i].Move(left + col * (tileW + gap), gridTop + row * (tileH + gap), tileW, tileH);
    tiles[i].Visible(true);
  }

  const int offerTop = gridTop + 2 * (tileH + gap);
  const int offerW = Scale(200, dpi);
  MoveControl(watchDrivers.hwnd(), area.right - offerW, offerTop, offerW, Scale(32, dpi));
  MoveControl(driversNote, left, offerTop, std::max(0, width - offerW - gap), Scale(36, dpi));
  SetControlFont(driversNote, tileTextFont_.get());

  const int buttonW = Scale(96, dpi), buttonH = Scale(32, dpi);
  int x = area.right - buttonW;
  for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
    if (*it) MoveControl((*it)->hwnd(), x, area.bottom - buttonH, buttonW, buttonH);
    x -= buttonW + Scale(10, dpi);
  }
  const int egg = Scale(14, dpi);
  MoveControl(lblegg, area.left - Scale(14, dpi), area.bottom + Scale(16, dpi) - egg, egg, egg);
}

void HomePage::Opening() {
  const bool offer = actions_.driversWatched && !actions_.driversWatched();
  ShowWindow(driversNote, offer ? SW_SHOWNA : SW_HIDE);
  ShowWindow(watchDrivers.hwnd(), offer ? SW_SHOWNA : SW_HIDE);
}

}  // namespace kv
