// Shown while a scanner that was handed files runs: which program it is,
// and Stop. The files are accepted only once every scanner has ended with
// exit code 0, so until then nothing is trusted; Stop gives up waiting and
// leaves the findings listed (the scanner itself goes on).
#pragma once
#include <windows.h>

#include <string>

#include "controls/cButton.h"
#include "controls/window.h"

namespace kv {

class App;

class sWait : public controls::Window {
 public:
  explicit sWait(App& app);
  ~sWait() override;

  // Shows the window, centred, naming the program now waited for.
  void Show(const std::string& program);
  bool Visible() const;
  std::string Program() const;  // Label2

  // Stop, Escape and the close box: the wait in progress gives up.
  void Command1_Click() { stopped_ = true; }
  bool Stopped() const { return stopped_; }

  HWND Label1 = nullptr, Label2 = nullptr, ProgressBar1 = nullptr;
  cButton Command1;

 private:
  bool OnClose() override;
  bool OnCommand(int id, int code, HWND from) override;
  App& app_;
  bool stopped_ = false;
};

}  // namespace kv
