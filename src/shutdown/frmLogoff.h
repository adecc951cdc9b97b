// The secure shut down: the window that takes the place of the system's
// turn-off dialog, and the sequence behind every choice made there (and
// behind the scheduled scan): pending reboot files, the file check, the
// registry, then the action at once or after a two-minute countdown.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "controls/art.h"
#include "controls/gdi.h"
#include "controls/window.h"
#include "core/shut_off.h"

namespace kv {

class App;
struct PendingOperations;

inline constexpr const char* kAlreadyRunning =
    "You must close Korvanel before using the Shut Down Feature.";

class frmLogoff : public controls::Window {
 public:
  explicit frmLogoff(App& app);  // made hidden
  ~frmLogoff() override;

  // Shown for the user's choice, unless another copy of the program runs.
  void Open();
  bool Visible() const;

  // --- the window's events ----------------------------------------------------
  void Image2_Click();  // standby, or hibernate while Label4 says so
  void Image4_Click();  // turn off
  void Image6_Click();  // restart
  void Label2_Click();  // log off
  void Label1_Click();  // cancel
  void Form_KeyDown(int keyCode);
  void Form_KeyUp(int keyCode);
  // The pointer over a picture (1 standby, 3 turn off, 5 restart), over a
  // label (11 Cancel, 12 Log Off...), or over the background (0).
  void PointerOver(int control);

  // --- the sequence --------------------------------------------------------------
  void preShut0();
  void CheckWinInit();
  void PreShut1();
  void PreShut2();
  void startCountDown();
  void Timer1_Timer();
  void Command1_Click();  // ShutDown Now
  void ShutDown(int action);
  void handleShutOff(int action);

  bool CountdownRunning() const { return countdown_; }
  // The action chosen (kTurnOff ...), kScheduledScan for a scheduled scan;
  // -1 until the sequence starts.
  int ChosenAction() const { return action_; }
  int seconds = 0, minutes = 0;
  // The version record the exit flags are chosen by.
  SystemVersion systemVersion;

  // --- state read back ------------------------------------------------------------
  std::string Label4Text() const;
  bool HighlightShown(int image) const;  // Image2, Image4, Image6
  COLORREF LabelInk(int label) const;    // 1 Cancel, 2 Log Off...

  Picture Image1, Image3, Image5;  // the actions; each shows its highlight (Image2/4/6)
  Picture Label1, Label2;          // "Cancel", "Log Off..."
  HWND Label3 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr;

 private:
  bool OnPaint(HDC dc) override;
  bool OnEraseBackground(HDC) override { return true; }
  bool OnMouseMove(POINT at) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  void CreateControls();
  void Wire(Picture& p, bool& lit, const char* name, int x, int y, int width, int height);
  void Choose(int action);
  void StopCountdown();

  App& app_;
  std::array<bool, 3> lit_{};      // Image2, Image4, Image6 shown
  std::array<bool, 2> whiteLabel_{};  // Label1, Label2 painted white
  bool started_ = false;           // the sequence runs: choices are over
  int action_ = -1;
  bool countdown_ = false;
  controls::Brush band_;
};

// Steps 1 to 4 of the precautionary scan of pending reboot files: the
// existing files go to the scanners and into the logs; progress on sProg.
void PrecautionaryScan(App& app, const PendingOperations& ops);

// The secure-shut-down window, made hidden on first use.
frmLogoff& LogoffWindow(App& app);
bool HasLogoffWindow(const App& app);

}  // namespace kv
