#include "appwatch/appF.h"

#include <algorithm>
#include <cstdint>

#include "controls/control_table.h"
#include "controls/control_text.h"
#include "appwatch/appF_ids.h"
#include "context/app.h"
#include "core/text.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;
using namespace appwatch_ids;

namespace {

constexpr size_t kTitleChars = 255;  // the title buffer, its terminator included
constexpr char kClassPrefix[] = "Class Name: ";

// The window's title as the system keeps it. GetWindowTextA would send
// WM_GETTEXT to a window of another thread of this process and wait for it
// for ever when that thread hangs; the stored text needs no answer.
std::string TitleOf(HWND h) {
  wchar_t wide[kTitleChars] = L"";
  const int n = InternalGetWindowText(h, wide, int(kTitleChars));
  if (n <= 0) return {};
  char narrow[kTitleChars * 2] = "";
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, n, narrow, int(sizeof narrow), nullptr, nullptr);
  return std::string(narrow, size_t(std::clamp(bytes, 0, int(kTitleChars) - 1)));
}

DWORD ProcessOf(HWND w) {
  DWORD pid = 0;
  if (w) GetWindowThreadProcessId(w, &pid);
  return pid;
}

}  // namespace

AppWatchPage::AppWatchPage(App& app, Panel& panel, bool plain) : app_(app) {
  using controls::kLabelStyle, controls::kListStyle, controls::kEditStyle;
  constexpr const char* kButton = cButton::kClassName;
  // Created in tab order.
  static const controls::ControlRow<AppWatchPage> kRows[] = {
      {&AppWatchPage::lblCount, {0, "STATIC", "Please Click On Refresh", kLabelStyle}},
      {&AppWatchPage::lstOpenWindows, {.id = kLstOpenWindows, .cls = "LISTBOX", .text = "Open windows", .style = kListStyle | LBS_SORT, .exStyle = WS_EX_CLIENTEDGE}},
      {&AppWatchPage::lblTitle, {0, "STATIC", "Window title:", kLabelStyle}},
      {&AppWatchPage::txtTitle, {.id = kTxtTitle, .cls = "EDIT", .text = "No Window Selected", .style = kEditStyle, .exStyle = WS_EX_CLIENTEDGE}},
      {&AppWatchPage::lblClassName, {0, "STATIC", "Click on an Entry in the list to retrieve additional Information", kLabelStyle}},
      {&AppWatchPage::lblProcessID, {0, "STATIC", "Process ID: Please select an Entry first", kLabelStyle}},
      {&AppWatchPage::act, {kAct, kButton, "Activate Window"}},
      {&AppWatchPage::cl, {kCl, kButton, "Close Window"}},
      {&AppWatchPage::ref, {kRef, kButton, "Refresh"}},
  };
  controls::MakeControls(*this, panel.hwnd(), kRows, plain);
  act.Click = [this] { act_Click(); };
  cl.Click = [this] { cl_Click(); };
  ref.Click = [this] { ref_Click(); };
  panel.Command = [this](int id, int code, HWND) {
    if (id == kLstOpenWindows && code == LBN_SELCHANGE) lstOpenWindows_Click();
  };
}

void AppWatchPage::norms() {
  for (cButton* b : {&act, &cl, &ref}) b->downStatus(1);
}

void AppWatchPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !font_) {
    fontDpi_ = dpi;
    font_ = ui::MakeFont(9, FW_NORMAL, dpi);
    for (HWND w : {lblCount, lstOpenWindows, lblTitle, txtTitle, lblClassName, lblProcessID})
      SetControlFont(w, font_.get());
  }
  const int width = area.right - area.left;
  const int line = controls::LineHeight(font_.get());
  const int gap = Scale(16, dpi);
  const int sideW = std::min(Scale(260, dpi), width / 2);
  const int listW = width - sideW - gap;
  MoveControl(lblCount, area.left, area.top, listW, line + Scale(2, dpi));
  MoveControl(lblTitle, area.left + listW + gap, area.top, sideW, line + Scale(2, dpi));
  const int listTop = area.top + line + Scale(8, dpi);
  MoveControl(lstOpenWindows, area.left, listTop, listW, std::max(line, int(area.bottom) - listTop));

  const int x = area.left + listW + gap;
  int y = listTop;
  MoveControl(txtTitle, x, y, sideW, line + Scale(10, dpi));
  y += line + Scale(18, dpi);
  MoveControl(lblClassName, x, y, sideW, 3 * line + Scale(4, dpi));
  y += 3 * line + Scale(10, dpi);
  MoveControl(lblProcessID, x, y, sideW, 2 * line + Scale(4, dpi));
  y += 2 * line + Scale(18, dpi);
  const int buttonH = Scale(32, dpi);
  for (cButton* b : {&act, &cl, &ref}) {
    MoveControl(b->hwnd(), x, y, std::min(sideW, Scale(180, dpi)), buttonH);
    y += buttonH + Scale(10, dpi);
  }
}

std::vector<std::string> AppWatchPage::Lines() const { return controls::ListLines(lstOpenWindows); }

// Equal to the letter: the list's own search ignores case, but two titles
// that differ only in case are two windows.
bool AppWatchPage::Listed(const std::string& line) const {
  const auto lines = Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int AppWatchPage::EnumerateWindows() {
  int count = 0;
  HWND h = GetWindow(GetDesktopWindow(), GW_CHILD);
  while (h) {
    const HWND next = GetWindow(h, GW_HWNDNEXT);
    const std::string title = TitleOf(h);
    if (!title.empty()) {
      // The line names the first window of that title, so windows sharing
      // a title in one process give one line.
      const std::string line = Dec(ProcessOf(FindWindowA(nullptr, title.c_str()))) + ": " + title;
      if (!Listed(line)) {
        SendMessageA(lstOpenWindows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        ++count;
      }
    }
    h = next;
  }
  return count;
}

void AppWatchPage::ref_Click() {
  SendMessageA(lstOpenWindows, LB_RESETCONTENT, 0, 0);
  const int count = EnumerateWindows();
  SetWindowTextA(lblCount, (Dec(count) + " open Windows.").c_str());
}

void AppWatchPage::lstOpenWindows_Click() {
  const LRESULT index = SendMessageA(lstOpenWindows, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  const std::string line = Lines().at(size_t(index));
  const auto space = line.find(' ');
  const std::string title = space == std::string::npos ? std::string() : line.substr(space + 1);
  SetWindowTextA(txtTitle, title.c_str());
  const HWND w = FindWindowA(nullptr, ui::TextOf(txtTitle).c_str());
  char cls[kTitleChars] = "";
  if (w) GetClassNameA(w, cls, int(sizeof cls));
  DWORD pid = 0;
  if (cls[0] == '\0') {
    SetWindowTextA(lblClassName, "Window Not Found!!!");
  } else {
    SetWindowTextA(lblClassName, (kClassPrefix + std::string(cls)).c_str());
    pid = ProcessOf(w);
  }
  SetWindowTextA(lblProcessID, ("ProcessID: " + Dec(pid)).c_str());
}

bool AppWatchPage::SelectLine(const std::string& line) {
  const auto lines = Lines();
  const auto at = std::find(lines.begin(), lines.end(), line);
  if (at == lines.end()) return false;
  SendMessageA(lstOpenWindows, LB_SETCURSEL, WPARAM(at - lines.begin()), 0);
  lstOpenWindows_Click();
  return true;
}

HWND AppWatchPage::TargetWindow() const {
  const std::string label = ui::TextOf(lblClassName);
  const std::string cls = label.size() > 12 ? label.substr(12) : std::string();
  if (cls.empty()) return nullptr;  // an empty class would match any window
  return FindWindowA(cls.c_str(), ui::TextOf(txtTitle).c_str());
}

void AppWatchPage::act_Click() {
  const HWND w = TargetWindow();
  if (!w) return;
  if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
    BringWindowToTop(w);
    return;
  }
  // Another thread's window is moved by that thread: a hung one must not
  // hold this one up.
  SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

void AppWatchPage::cl_Click() {
  const HWND w = TargetWindow();
  const std::string question = "Are you sure you want to close " + ui::TextOf(txtTitle) + "(" +
                               Dec(static_cast<long long>(reinterpret_cast<intptr_t>(w))) + ")";
  if (app_.Ask(question, MsgButtons::YesNo) == MsgAnswer::Yes && w && IsWindow(w)) {
    // A request, not an order: sent with a time limit and never to a window
    // the system already counts as hung, so a window that does not answer
    // (or answers with its own "Save changes?") cannot freeze this thread.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(w, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseWaitMs, &result);
  }
  if (app_.ended) return;
  ref_Click();
}

}  // namespace kv
