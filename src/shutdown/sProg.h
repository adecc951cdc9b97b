// The progress window of the secure shut down: the current step's progress,
// its status line and, during the countdown, "ShutDown Now". The check
// window stays hidden meanwhile; the file check reports here.
#pragma once
#include <windows.h>

#include <string>

#include "controls/cButton.h"
#include "controls/window.h"

namespace kv {

class App;

class sProg : public controls::Window {
 public:
  explicit sProg(App& app);
  ~sProg() override;

  void Show();  // centred on the screen
  bool Visible() const;

  HWND Label1 = nullptr, ProgressBar1 = nullptr, Label2 = nullptr;
  cButton Command1;  // hidden until the countdown

  void SetStatus(const std::string& text);  // Label2
  std::string Status() const;
  void SetRange(int maximum);
  int Range() const;
  void SetProgress(int value);  // within the range
  int Progress() const;
  void ShowShutDownNow();
  bool ShutDownNowShown() const;

  // The close box: "Cancel Shutdown?"; Yes ends the program.
  bool CloseBox();

 private:
  bool OnClose() override;
  bool OnHelp() override;
  bool OnCommand(int id, int code, HWND from) override;
  App& app_;
};

}  // namespace kv
