#include "app/pages/about_page.h"

#include <algorithm>

#include "app/maker.h"

namespace kv {

using controls::Scale;

AboutPage::AboutPage(Panel& panel, bool plain, Actions actions)
    : panel_(panel), plain_(plain), actions_(std::move(actions)) {
  HWND parent = panel.hwnd();
  if (!plain_)
    emblem.Create(parent, 0, panel.Background(), [](art::Raster& r, const Picture::Look&) {
      art::DrawEmblem(r, 0.0f, 0.0f, float(std::min(r.Width(), r.Height())));
    });
  Label32 = ui::MakeLabel(parent, 0, "Korvanel");
  Label34 = ui::MakeLabel(parent, 0, "\"Your Last Line of Defense Against Malicious Attacks\"");
  Label33 = ui::MakeLabel(parent, 0, "Version: 2.0");
  Label36 = ui::MakeLabel(parent, 0, "Programmer:");
  Label37 = ui::MakeLabel(parent, kCreditId, maker::kCredit, SS_NOTIFY);
  panel.MarkLink(Label37);
  if (!plain_) panel.SetLabelColour(Label34, ToColorRef(art::palette::kMuted));

  cButton4.Create(parent, mform1_ids::kCButton4, 0, 0, 10, 10, "View Help Files", plain_);
  cButton5.Create(parent, mform1_ids::kCButton5, 0, 0, 10, 10, "Visit Brackwater Online", plain_);
  cButton4.Click = actions_.help;
  cButton5.Click = actions_.webSite;
  if (!plain_) emblem.MouseMove = actions_.pointerOverBackground;

  panel.Command = [this](int id, int code, HWND) {
    if (id == kCreditId && code == STN_CLICKED && actions_.mail) {
      const auto event = actions_.mail;
      event();
    }
  };
}

void AboutPage::norms() {
  cButton4.downStatus(1);
  cButton5.downStatus(1);
}

void AboutPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !nameFont_) {
    fontDpi_ = dpi;
    nameFont_ = ui::MakeFont(plain_ ? 18 : 24, FW_SEMIBOLD, dpi);
    mottoFont_ = ui::MakeFont(11, FW_NORMAL, dpi);
    bodyFont_ = ui::MakeFont(10, FW_NORMAL, dpi);
    boldFont_ = ui::MakeFont(10, FW_SEMIBOLD, dpi);
    auto set = [](HWND w, HFONT f) { SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); };
    set(Label32, nameFont_.get());
    set(Label34, mottoFont_.get());
    set(Label33, bodyFont_.get());
    set(Label36, boldFont_.get());
    set(Label37, bodyFont_.get());
  }
  auto place = [](HWND w, int x, int y, int cx, int cy) {
    SetWindowPos(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int width = area.right - area.left;
  int y = area.top + Scale(plain_ ? 8 : 24, dpi);
  int left = area.left + Scale(plain_ ? 8 : 24, dpi);
  if (!plain_) {
    const int logo = Scale(112, dpi);
    emblem.Move(left, y, logo, logo);
    emblem.Visible(true);
    left += logo + Scale(28, dpi);
  }
  const int textW = area.right - left;
  const int nameH = controls::LineHeight(nameFont_.get());
  const int line = controls::LineHeight(bodyFont_.get());
  place(Label32, left, y, textW, nameH + 4);
  y += nameH + Scale(4, dpi);
  place(Label34, left, y, textW, controls::LineHeight(mottoFont_.get()) + 4);
  y += controls::LineHeight(mottoFont_.get()) + Scale(16, dpi);
  place(Label33, left, y, textW, line + 4);
  y += line + Scale(8, dpi);
  const int credW = Scale(100, dpi);
  place(Label36, left, y, credW, line + 4);
  place(Label37, left + credW, y, textW - credW, line + 4);
  y += line + Scale(28, dpi);

  const int buttonH = Scale(32, dpi);
  const int b4 = Scale(150, dpi), b5 = Scale(190, dpi);
  if (width > 0) {
    place(cButton4.hwnd(), left, y, b4, buttonH);
    place(cButton5.hwnd(), left + b4 + Scale(12, dpi), y, b5, buttonH);
  }
}

}  // namespace kv
