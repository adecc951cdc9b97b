// The About panel (Frame2): name, motto, version line, credit, and the ways
// to the help files and the maker's web site.
#pragma once
#include <windows.h>

#include <functional>

#include "controls/art.h"
#include "app/mForm1_ids.h"
#include "controls/panel.h"
#include "controls/cButton.h"

namespace kv {

class AboutPage : public PageContent {
 public:
  struct Actions {
    std::function<void()> help;         // cButton4 "View Help Files"
    std::function<void()> webSite;      // cButton5 "Visit Brackwater Online"
    std::function<void()> mail;         // the credit label
    std::function<void()> pointerOverBackground;
  };
  static constexpr int kCreditId = mform1_ids::kLabel37;

  // plain: the low-resource edition's look, without the emblem.
  AboutPage(Panel& panel, bool plain, Actions actions);

  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  HWND Label32 = nullptr;  // name
  HWND Label34 = nullptr;  // motto
  HWND Label33 = nullptr;  // version line
  HWND Label36 = nullptr;  // "Programmer:"
  HWND Label37 = nullptr;  // credit, a mail link
  cButton cButton4, cButton5;
  Picture emblem;

 private:
  Panel& panel_;
  bool plain_;
  Actions actions_;
  controls::Font nameFont_, mottoFont_, bodyFont_, boldFont_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
