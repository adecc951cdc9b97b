#include "shutdown/sProg.h"

#include <commctrl.h>

#include <algorithm>

#include "context/app.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg_ids.h"

namespace kv {

using namespace sprog_ids;

namespace {
constexpr char kClassName[] = "KorvanelProgress";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr SIZE kClient{400, 132};  // at 96 DPI
}  // namespace

sProg::sProg(App& app) : app_(app) {
  controls::UseDialogKeys(kClassName);
  Create(controls::WindowClass{kClassName, 0, GetSysColorBrush(COLOR_BTNFACE), true},
         WS_EX_CONTROLPARENT, "Scanning and Shutting Down...Please Wait",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 100,
         100, nullptr);
  SizeClientTo(kClient);
  static const controls::ControlRow<sProg> kRows[] = {
      {&sProg::Label1, {kLabel1, "STATIC", "Current Task Progress:", controls::kLabelStyle, 16, 12, 368, 18, kText}},
      {&sProg::ProgressBar1,
       {kProgressBar1, PROGRESS_CLASSA, "Current Task Progress", WS_VISIBLE | PBS_SMOOTH, 16, 34, 368, 20}},
      {&sProg::Label2, {kLabel2, "STATIC", "Status: ", controls::kLabelStyle | SS_ENDELLIPSIS, 16, 62, 368, 18, kText}},
      {&sProg::Command1, {kCommand1, cButton::kClassName, "ShutDown Now", 0, 262, 88, 122, 32}},
  };
  MakeControls(kRows, app_.edition.plainControls);
  SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, 100);
  ShowWindow(Command1.hwnd(), SW_HIDE);
  Command1.Click = [this] { LogoffWindow(app_).Command1_Click(); };
}

sProg::~sProg() { Destroy(); }

void sProg::Show() {
  CentreOnScreen();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

bool sProg::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

void sProg::SetStatus(const std::string& text) {
  SetWindowTextA(Label2, text.c_str());
  UpdateWindow(Label2);
}

std::string sProg::Status() const { return controls::ControlText(Label2); }

void sProg::SetRange(int maximum) { SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, maximum); }

int sProg::Range() const { return int(SendMessageA(ProgressBar1, PBM_GETRANGE, FALSE, 0)); }

void sProg::SetProgress(int value) {
  SendMessageA(ProgressBar1, PBM_SETPOS, WPARAM(std::clamp(value, 0, Range())), 0);
}

int sProg::Progress() const { return int(SendMessageA(ProgressBar1, PBM_GETPOS, 0, 0)); }

void sProg::ShowShutDownNow() {
  ShowWindow(Command1.hwnd(), SW_SHOWNA);
  if (Visible()) SetFocus(Command1.hwnd());
}

bool sProg::ShutDownNowShown() const {
  return (GetWindowLongPtrA(Command1.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool sProg::CloseBox() {
  if (app_.Ask("Cancel Shutdown?", MsgButtons::YesNo) == MsgAnswer::Yes) app_.EndProgram();
  return true;
}

bool sProg::OnHelp() {
  app_.OpenHelp("unattended.html");
  return true;
}

bool sProg::OnClose() { return CloseBox(); }

bool sProg::OnCommand(int id, int, HWND) {
  // Escape asks like the close box does.
  if (id == IDCANCEL) return CloseBox();
  return false;
}

sProg& ShutDownProgress(App& app) { return app.kept.Get<sProg>(app); }
bool HasShutDownProgress(const App& app) { return app.kept.Find<sProg>() != nullptr; }
void DropShutDownProgress(App& app) { app.kept.Drop<sProg>(); }

}  // namespace kv
