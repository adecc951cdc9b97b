#include "app/pages/egg_page.h"

namespace kv {

EggPage::EggPage(Panel& panel, std::function<void()> pointerOverBackground) : panel_(panel) {
  drawing.Create(panel.hwnd(), 0, art::palette::kWallGround,
                 [](art::Raster& r, const Picture::Look&) { art::DrawCafeWall(r); });
  drawing.MouseMove = std::move(pointerOverBackground);
  note = ui::MakeLabel(panel.hwnd(), 0,
                       "Every grey line between the rows is straight, and all of them are parallel.");
  panel.SetLabelColour(note, ToColorRef(art::palette::kMuted));
  controls::SetControlFont(note, panel.BodyFont());
}

void EggPage::Layout(const RECT& area, UINT dpi) {
  controls::SetControlFont(note, panel_.BodyFont());
  const int noteH = controls::Scale(22, dpi);
  drawing.Move(area.left, area.top, area.right - area.left, area.bottom - area.top - noteH);
  drawing.Visible(true);
  controls::MoveControl(note, area.left, area.bottom - noteH + controls::Scale(6, dpi), area.right - area.left,
                        noteH - controls::Scale(6, dpi));
}

}  // namespace kv
