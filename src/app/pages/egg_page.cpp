#include "app/pages/egg_page.h"

namespace kv {

EggPage::EggPage(Panel& panel, std::function<void()> pointerOverBackground) : panel_(panel) {
  drawing.Create(panel.hwnd(), 0, art::palette::kWallGround,
                 [](art::Raster& r, const Picture::Look&) { art::DrawCafeWall(r); });
  drawing.MouseMove = std::move(pointerOverBackground);
  note = ui::MakeLabel(panel.hwnd(), 0,
                       "Every grey line between the rows is straight, and all of them are parallel.");
  panel.SetLabelColour(note, ToColorRef(art::palette::kMuted));
  SendMessageA(note, WM_SETFONT, reinterpret_cast<WPARAM>(panel.BodyFont()), FALSE);
}

void EggPage::Layout(const RECT& area, UINT dpi) {
  SendMessageA(note, WM_SETFONT, reinterpret_cast<WPARAM>(panel_.BodyFont()), FALSE);
  const int noteH = controls::Scale(22, dpi);
  drawing.Move(area.left, area.top, area.right - area.left, area.bottom - area.top - noteH);
  drawing.Visible(true);
  SetWindowPos(note, nullptr, area.left, area.bottom - noteH + controls::Scale(6, dpi),
               area.right - area.left, noteH - controls::Scale(6, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kv
