// The progress window of the secure shut down and the scheduled scan: the
// check window stays hidden then, and the file check reports here.
#pragma once
#include <windows.h>

#include "controls/window.h"

namespace kv {

class sProg : public controls::Window {
 public:
  sProg();
  ~sProg() override;

  HWND ProgressBar1 = nullptr;
  void SetProgress(int percent);
  int Progress() const;
};

}  // namespace kv
