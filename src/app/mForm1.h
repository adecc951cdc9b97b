// The main window: the program's one top-level window in interactive use.
// Closing it ends the program.
#pragma once
#include <windows.h>

#include <string>

namespace kv {

class App;

class mForm1 {
 public:
  explicit mForm1(App& app);
  ~mForm1();
  mForm1(const mForm1&) = delete;
  mForm1& operator=(const mForm1&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::string Caption() const;
  void SetCaption(const std::string& text);
  void Show();
  void Hide();
  bool Visible() const;

 private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  App& app_;
  HWND hwnd_ = nullptr;
};

}  // namespace kv
