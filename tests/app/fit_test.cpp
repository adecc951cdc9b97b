// Every window and page at the screens people have: the window inside the
// work area, every action inside its window's client area or brought into
// it by the page's own scrolling, and none under another control.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "antivirus/aVirHelp.h"
#include "antivirus/sWait.h"
#include "antivirus/s_avir.h"
#include "app/editions.h"
#include "app/mForm1.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/window.h"
#include "core/text.h"
#include "customfolders/iCust.h"
#include "integrity/intCheck.h"
#include "logs/LogList.h"
#include "settingsui/settings_pages.h"
#include "settingsui/vDct.h"
#include "shutdown/frmLogoff.h"
#include "shutdown/sProg.h"
#include "support/program_folder.h"
#include "support/pump.h"
#include "support/scripted_host.h"

namespace kv {
namespace {

struct Screen {
  int width, height, dpi;
  std::string Name() const {
    return Dec(width) + "x" + Dec(height) + " at " + Dec(MulDiv(dpi, 100, 96)) + "%";
  }
  // The screen less a taskbar along its bottom.
  RECT WorkArea() const { return RECT{0, 0, width, height - MulDiv(40, dpi, 96)}; }
};

const Screen kScreens[] = {{1280, 800, 96},  {1280, 800, 120},  {1280, 800, 144},
                           {1366, 768, 120}, {1920, 1080, 144}, {2560, 1440, 192}};

std::string ClassOf(HWND w) {
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string TextOf(HWND w) {
  char text[128] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

bool IsAction(HWND w) {
  const std::string cls = ClassOf(w);
  const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  if (_stricmp(cls.c_str(), "Button") == 0) return (style & 0x0F) != BS_GROUPBOX;
  if (cls == "KorvanelPicture") return (style & WS_TABSTOP) != 0;
  return cls == "KorvanelButton" || cls == "KorvanelCheck" || cls == "KorvanelWizardLink";
}

// What lies over an action: anything but a label that lets clicks through,
// a group frame and a container page.
bool CanCover(HWND w) {
  const std::string cls = ClassOf(w);
  const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  if (_stricmp(cls.c_str(), "Static") == 0) return (style & SS_NOTIFY) != 0;
  if (_stricmp(cls.c_str(), "Button") == 0) return (style & 0x0F) != BS_GROUPBOX;
  return cls != "KorvanelPage";
}

RECT RectIn(HWND w, HWND container) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The part of `container` a child can be shown in: its client area, widened
// by what its scroll bars reach.
RECT Reachable(HWND container) {
  RECT c{};
  GetClientRect(container, &c);
  const LONG_PTR style = GetWindowLongPtrA(container, GWL_STYLE);
  for (int bar : {SB_HORZ, SB_VERT}) {
    if (!(style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) continue;
    SCROLLINFO si{sizeof si, SIF_ALL};
    if (!GetScrollInfo(container, bar, &si) || si.nPage == 0) continue;
    LONG& from = bar == SB_HORZ ? c.left : c.top;
    LONG& to = bar == SB_HORZ ? c.right : c.bottom;
    from -= si.nPos;
    to = from + si.nMax + 1;
  }
  return c;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

void ExpectFits(HWND top, const Screen& screen, const std::string& where) {
  SCOPED_TRACE(screen.Name() + ", " + where);
  ASSERT_TRUE(IsWindowVisible(top));
  RECT frame{};
  GetWindowRect(top, &frame);
  const RECT work = screen.WorkArea();
  EXPECT_TRUE(Inside(frame, work)) << "window " << frame.left << "," << frame.top << " - " << frame.right
                                   << "," << frame.bottom;
  std::vector<HWND> all;
  EnumChildWindows(
      top, [](HWND w, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  int actions = 0;
  for (HWND w : all) {
    const bool group = _stricmp(ClassOf(w).c_str(), "Button") == 0 &&
                       (GetWindowLongPtrA(w, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
    if (group && IsWindowVisible(w)) {
      HDC dc = GetDC(w);
      const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
      const std::string caption = TextOf(w);
      SIZE text{};
      GetTextExtentPoint32A(dc, caption.c_str(), int(caption.size()), &text);
      SelectObject(dc, old);
      ReleaseDC(w, dc);
      RECT box{};
      GetClientRect(w, &box);
      // The frame's caption is inset by a few pixels at each side.
      EXPECT_LE(text.cx + MulDiv(16, screen.dpi, 96), box.right) << "group caption cut: " << caption;
    }
    if (!IsWindowVisible(w) || !IsAction(w)) continue;
    ++actions;
    const std::string name = ClassOf(w) + " \"" + TextOf(w) + "\"";
    // Once a container scrolls, what must be in view further out is the
    // container, not the action.
    HWND inView = w;
    for (HWND c = GetParent(w); c; c = GetParent(c)) {
      const RECT r = RectIn(inView, c), room = Reachable(c);
      if (GetWindowLongPtrA(c, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) inView = c;
      EXPECT_TRUE(Inside(r, room)) << name << " at " << r.left << "," << r.top << " - " << r.right << ","
                                   << r.bottom << " outside " << ClassOf(c) << " " << room.right << "x"
                                   << room.bottom;
      if (c == top) break;
    }
    const HWND parent = GetParent(w);
    const RECT mine = RectIn(w, parent);
    for (HWND s = GetWindow(parent, GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
      if (s == w || !IsWindowVisible(s) || !CanCover(s)) continue;
      RECT both{};
      const RECT theirs = RectIn(s, parent);
      EXPECT_FALSE(IntersectRect(&both, &mine, &theirs))
          << name << " under " << ClassOf(s) << " \"" << TextOf(s) << "\"";
    }
  }
  EXPECT_GT(actions, 0);
}

void Settle() { test::PumpPending(); }

class FitTest : public ::testing::TestWithParam<Screen> {
 protected:
  void SetUp() override {
    folder.MakeFolder("Data");
    folder.MakeFolder("Data\\Log");
    folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
    folder.Write("Data\\Log\\01-05-2007(8_17_49AM).log",
                 "Integrity Checker - These files were either New or Failed the Integrity Check,"
                 "C:\\WINDOWS\\notepad.exe\r\n");
  }
  const Screen& screen() const { return GetParam(); }
  controls::ScreenOverride held{GetParam().WorkArea(), UINT(GetParam().dpi)};
  test::ProgramFolder folder;
  test::ScriptedHost host;
};

using Walk = std::vector<std::pair<const char*, std::function<void(mForm1&)>>>;

void WalkMainWindow(const Edition& edition, const test::ProgramFolder& folder, test::ScriptedHost& host,
                    const Screen& screen, const Walk& pages) {
  App app(host, edition, folder.dir());
  EnsureSettingsFile(app);
  mForm1& f = Form1(app);
  f.Show();
  for (const auto& [name, open] : pages) {
    open(f);
    Settle();
    ExpectFits(f.hwnd(), screen, std::string(edition.ownFileName) + " " + name);
  }
  // Sized down to its least, every page still reaches all its actions.
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [name, open] : pages) {
    open(f);
    Settle();
    ExpectFits(f.hwnd(), screen, std::string(edition.ownFileName) + " at its least, " + name);
  }
}

TEST_P(FitTest, EveryPageOfBothMainWindowsFitsAndReachesEveryAction) {
  const auto options = [](mForm1& f) {
    f.Image11_Click();
    f.logList()->cReports_Click();
  };
  const Walk pages = {{"Home", [](mForm1& f) { f.Image3_Click(); }},
                      {"Integrity Checker", [](mForm1& f) { f.Image5_Click(); }},
                      {"RegWatch", [](mForm1& f) { f.Image7_Click(); }},
                      {"AppWatch", [](mForm1& f) { f.Image9_Click(); }},
                      {"Options", options},
                      {"report",
                       [options](mForm1& f) {
                         options(f);
                         f.logList()->Select("01-05-2007", "8:17:49 AM");
                         f.logList()->cViewReport_Click();
                       }},
                      {"settings",
                       [](mForm1& f) {
                         f.Image11_Click();
                         f.options()->cSettings_Click();
                       }},
                      {"advanced settings",
                       [](mForm1& f) {
                         f.Image11_Click();
                         f.options()->cButton2_Click();
                       }},
                      {"About", [](mForm1& f) { f.About(); }}};
  WalkMainWindow(ThisEdition(), folder, host, screen(), pages);
  WalkMainWindow(LowEdition(), folder, host, screen(), pages);
}

TEST_P(FitTest, EverySecondaryWindowFitsTheWorkArea) {
  App app(host, ThisEdition(), folder.dir());
  EnsureSettingsFile(app);
  Form1(app).Show();
  const auto check = [&](controls::Window& w, const char* name) {
    Settle();
    ExpectFits(w.hwnd(), screen(), name);
    ShowWindow(w.hwnd(), SW_HIDE);
  };
  intCheck& c = CheckWindow(app);
  c.Show();
  check(c, "check window");
  CustomFolders(app).Open();
  check(CustomFolders(app), "custom folders");
  LogoffWindow(app).Open();
  check(LogoffWindow(app), "secure shut down");
  ShutDownProgress(app).ShowShutDownNow();
  ShutDownProgress(app).Show();
  check(ShutDownProgress(app), "shut-down progress");
  AntivirusSetup(app).Open();
  check(AntivirusSetup(app), "anti-virus setup");
  host.ExpectBox("Please download the latest anti-virus support list");
  SupportList(app).Open();
  check(SupportList(app), "support list");
  sWait wait(app);
  wait.Show("C:\\Program Files\\AV Scanner\\avscan.exe");
  check(wait, "scanner wait");
  vDct& wizard = Wizard(app);
  wizard.LoadUp();
  for (int page = 0; page <= 8; ++page) {
    while (wizard.Page() < page) {
      if (wizard.Page() == 2)
        host.ExpectBox("You didn't choose an anti-virus software exe.  We recommend that you get one to "
                       "take full advantage of Korvanel");
      wizard.Label1_Click();
    }
    Settle();
    ExpectFits(wizard.hwnd(), screen(), "wizard page " + Dec(page));
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, FitTest, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                           return "s" + Dec(info.param.width) + "x" + Dec(info.param.height) + "at" +
                                  Dec(MulDiv(info.param.dpi, 100, 96));
                         });

}  // namespace
}  // namespace kv
