// The Home page (mainF): a welcome, one tile per tool that opens its page,
// and the caption-less label lblegg, the hidden way to the panel eggF.
#pragma once
#include <windows.h>

#include <array>
#include <functional>

#include "controls/art.h"
#include "app/mForm1_ids.h"
#include "controls/panel.h"
#include "controls/cButton.h"

namespace kv {

class HomePage : public PageContent {
 public:
  struct Actions {
    std::function<void()> openIntegrity, openRegWatch, openAppWatch, openOptions;
    std::function<void()> lblegg_Click;
    std::function<void()> pointerOverBackground;  // the frame's norms
    // Whether the drivers folder is watched yet, and watching it.
    std::function<bool()> driversWatched;
    std::function<void()> watchDrivers;
  };
  static constexpr int kEggId = mform1_ids::kLblegg;
  static constexpr int kWatchDriversId = mform1_ids::kWatchDrivers;

  HomePage(Panel& panel, Actions actions);

  void Layout(const RECT& area, UINT dpi) override;
  // Offers to watch the drivers folder for as long as it is not watched.
  void Opening() override;
  void norms() override { watchDrivers.downStatus(1); }
  // The buttons the frame keeps on the Home page (Help, About, Exit), laid
  // out in a row at the bottom right of the page.
  void PlaceButtons(std::array<cButton*, 3> buttons) { buttons_ = buttons; }

  HWND lblegg = nullptr;
  HWND welcome = nullptr;
  HWND tagline = nullptr;
  Picture emblem;
  std::array<Picture, 4> tiles;
  HWND driversNote = nullptr;
  cButton watchDrivers;

 private:
  Panel& panel_;
  Actions actions_;
  std::array<cButton*, 3> buttons_{};
  controls::Font titleFont_, tagFont_, tileTitleFont_, tileTextFont_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
