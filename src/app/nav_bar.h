// The main window's navigation. The full edition has a rail of five picture
// buttons, each a normal picture and a lit twin laid over it while the
// pointer is there (a click on the lit twin opens the page); the
// low-resource edition has four plain custom buttons.
#pragma once
#include <windows.h>

#include <array>

#include "controls/art.h"
#include "controls/cButton.h"

namespace kv {

class NavBar {
 public:
  static constexpr int kButtons = 5;  // Home, Integrity Checker, RegWatch, AppWatch, Options

  explicit NavBar(HWND parent);

  // Pair i: the normal picture (Image2, 4, 6, 8, 10) and its lit twin
  // (Image3, 5, 7, 9, 11).
  Picture& Normal(int i) { return *normal_[size_t(i)]; }
  Picture& Lit(int i) { return *lit_[size_t(i)]; }

  // Marks button i as the page shown (both pictures of the pair); -1: none.
  void MarkCurrent(int i);
  int Current() const { return current_; }

  // Lays the rail out: the brand at the top, the buttons below it.
  void Layout(int railWidth, UINT dpi);

  Picture Image2, Image3, Image4, Image5, Image6, Image7, Image8, Image9, Image10, Image11;
  Picture brand;

 private:
  std::array<Picture*, kButtons> normal_;
  std::array<Picture*, kButtons> lit_;
  controls::Font captionFont_, brandFont_;
  UINT fontDpi_ = 0;
  int current_ = -1;
};

class PlainNav {
 public:
  PlainNav(HWND parent);
  void Layout(int x, int y, int width, UINT dpi);

  cButton Image5, Image7, Image9, Image11;  // Integrity Scan, RegWatch, AppWatch, Options
};

}  // namespace kv
