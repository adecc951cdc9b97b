#include "antivirus/sWait.h"

#include <commctrl.h>

#include "antivirus/sWait_ids.h"
#include "context/app.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"

namespace kv {

using namespace swait_ids;

namespace {
constexpr char kClassName[] = "KorvanelScannerWait";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr SIZE kClient{420, 140};  // at 96 DPI
}  // namespace

sWait::sWait(App& app) : app_(app) {
  controls::UseDialogKeys(kClassName);
  Create(controls::WindowClass{kClassName, 0, GetSysColorBrush(COLOR_BTNFACE), true},
         WS_EX_CONTROLPARENT, "Waiting for your anti-virus program",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 100,
         100, nullptr);
  SizeClientTo(kClient);
  static const controls::ControlRow<sWait> kRows[] = {
      {&sWait::Label1,
       {kLabel1, "STATIC",
        "The files are accepted once your anti-virus program has checked them and reported no problem:",
        controls::kLabelStyle, 16, 10, 388, 34, kText}},
      {&sWait::Label2, {kLabel2, "STATIC", "", controls::kLabelStyle | SS_PATHELLIPSIS, 16, 48, 388, 18, kText}},
      {&sWait::ProgressBar1,
       {kProgressBar1, PROGRESS_CLASSA, "Anti-virus program running", WS_VISIBLE | PBS_MARQUEE, 16, 72, 388, 14}},
      {&sWait::Command1, {kCommand1, cButton::kClassName, "Stop", 0, 304, 96, 100, 32}},
  };
  MakeControls(kRows, app_.edition.plainControls);
  SendMessageA(ProgressBar1, PBM_SETMARQUEE, TRUE, 40);
  Command1.Click = [this] { Command1_Click(); };
}

sWait::~sWait() { Destroy(); }

void sWait::Show(const std::string& program) {
  SetWindowTextA(Label2, program.c_str());
  if (Visible()) return;
  CentreOnScreen();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetFocus(Command1.hwnd());
  UpdateWindow(hwnd_);
}

bool sWait::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

std::string sWait::Program() const { return controls::ControlText(Label2); }

bool sWait::OnClose() {
  Command1_Click();
  return true;
}

bool sWait::OnCommand(int id, int, HWND) {
  if (id != IDCANCEL) return false;
  Command1_Click();
  return true;
}

}  // namespace kv
