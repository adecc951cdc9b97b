// The hidden panel eggF: a drawing that plays a trick on the eye.
#pragma once
#include <windows.h>

#include <functional>

#include "app/art.h"
#include "app/pages/panel.h"

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
