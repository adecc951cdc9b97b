#include "app/pages/about_page.h"

#include <algorithm>

#include "app/maker.h"
#include "controls/control_table.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;

AboutPage::AboutPage(Panel& panel, bool plain, Actions actions)
    : panel_(panel), plain_(plain), actions_(std::move(actions)) {
  HWND parent = panel.hwnd();
  if (!plain_)
    emblem.Create(parent, 0, panel.Background(), [](art::Raster& r, const Picture::Look&) {
      art::DrawEmblem(r, 0.0f, 0.0f, float(std::min(r.Width(), r.Height())));
    });
  using controls::kLabelStyle;
  constexpr const char* kButton = cButton::kClassName;
  // Created in tab order, after the emblem.
  static const controls::ControlRow<AboutPage> kRows[] = {
      {&AboutPage::Label32, {0, "STATIC", "Korvanel", kLabelStyle}},
      {&AboutPage::Label34, {0, "STATIC", "\"Your Last Line of Defense Against Malicious Attacks\"", kLabelStyle}},
      {&AboutPage::Label33, {0, "STATIC", "Version: 2.0", kLabelStyle}},
      {&AboutPage::Label36, {0, "STATIC", "Programmer:", kLabelStyle}},
      {&AboutPage::Label37, {kCreditId, "STATIC", maker::kCredit, kLabelStyle | SS_NOTIFY}},
      {&AboutPage::cButton4, {mform1_ids::kCButton4, kButton, "View Help Files"}},
      {&AboutPage::cButton5, {mform1_ids::kCButton5, kButton, "Visit Brackwater Online"}},
  };
  controls::MakeControls(*this, parent, kRows, plain_);
  panel.MarkLink(Label37);
  if (!plain_) panel.SetLabelColour(Label34, ToColorRef(art::palette::kMuted));
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
    SetControlFont(Label32, nameFont_.get());
    SetControlFont(Label34, mottoFont_.get());
    SetControlFont(Label33, bodyFont_.get());
    SetControlFont(Label36, boldFont_.get());
    SetControlFont(Label37, bodyFont_.get());
  }
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
  MoveControl(Label32, left, y, textW, nameH + 4);
  y += nameH + Scale(4, dpi);
  MoveControl(Label34, left, y, textW, controls::LineHeight(mottoFont_.get()) + 4);
  y += controls::LineHeight(mottoFont_.get()) + Scale(16, dpi);
  MoveControl(Label33, left, y, textW, line + 4);
  y += line + Scale(8, dpi);
  const int credW = Scale(100, dpi);
  MoveControl(Label36, left, y, credW, line + 4);
  MoveControl(Label37, left + credW, y, textW - credW, line + 4);
  y += line + Scale(28, dpi);

  const int buttonH = Scale(32, dpi);
  const int b4 = Scale(150, dpi), b5 = Scale(190, dpi);
  if (width > 0) {
    MoveControl(cButton4.hwnd(), left, y, b4, buttonH);
    MoveControl(cButton5.hwnd(), left + b4 + Scale(12, dpi), y, b5, buttonH);
  }
}

}  // namespace kv
