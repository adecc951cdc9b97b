// The hidden panel eggF: a drawing that plays a trick on the eye.
#pragma once
#include <windows.h>

#include <functional>

#include "controls/art.h"
#include "controls/panel.h"

namespace kv {

class EggPage : public PageContent {
 public:
  EggPage(Panel& panel, std::function<void()> pointerOverBackground);
  void Layout(const RECT& area, UINT dpi) override;

  Picture drawing;
  HWND note = nullptr;

 private:
  Panel& panel_;
};

}  // namespace kv
