// The progress window of the secure shut down and the scheduled scan: the
// check window stays hidden then, and the file check reports here.
#pragma once
#include <windows.h>

namespace kv {

class sProg {
 public:
  sProg();
  ~sProg();
  sProg(const sProg&) = delete;
  sProg& operator=(const sProg&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND ProgressBar1 = nullptr;
  void SetProgress(int percent);
  int Progress() const;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace kv
