// The main window as a frame: which page shows after each navigation, the
// hover looks of the navigation, and the commands that reach outside the
// program (restart, help, web site, mail, exit), driven through the
// scripted host.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/mForm1.h"
#include "platform/files.h"
#include "context/settings.h"
#include "app/maker.h"
#include "app/pages/about_page.h"
#include "app/pages/home_page.h"
#include "settingsui/settings_pages.h"
#include "support/accessible_probe.h"
#include "support/app_fixture.h"
#include "support/pump.h"

namespace kv {
namespace {

constexpr const char* kMissingDb =
    "You have not yet completed the full system scan.  This is required before using the "
    "Integrity Checker.  Perform scan now?";
constexpr const char* kHelpQuestion =
    "The Help file wasn't found or cannot be executed! Would you like to browse Korvanel help "
    "on the web?";

std::string Text(HWND w) {
  char buf[1024] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

// The control's own visible mark: the frame itself is never shown in tests.
bool Shown(HWND w) { return w && (GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE); }

void MouseOver(HWND w) { SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4)); }

// Counts what the frame tells a page's content.
struct ProbeContent : PageContent {
  int opened = 0, cleared = 0, laidOut = 0;
  RECT lastArea{};
  void Opening() override { ++opened; }
  void norms() override { ++cleared; }
  void Layout(const RECT& area, UINT) override {
    ++laidOut;
    lastArea = area;
  }
};

class MainWindowTest : public test::AppTest {
 protected:
  void WithBaseline() {
    MakeDataFolders();
    folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
  }
  mForm1& form() { return app.Form1(); }
};

TEST_F(MainWindowTest, OpensOnTheHomePageWithItsButtonsAndAReadyStatus) {
  mForm1& f = form();
  EXPECT_EQ(f.Caption(), "Welcome to Korvanel2");
  EXPECT_EQ(f.ShownPage(), &f.mainF);
  EXPECT_TRUE(f.mainF.Visible());
  for (cButton* b : {&f.cButton6, &f.cButton7, &f.cButton9}) EXPECT_TRUE(Shown(b->hwnd()));
  EXPECT_EQ(f.cButton6.Caption(), "Help");
  EXPECT_EQ(f.cButton7.Caption(), "About");
  EXPECT_EQ(f.cButton9.Caption(), "Exit");
  EXPECT_EQ(f.Title(), "");
  EXPECT_EQ(f.Status(), "Status: Ready");
  EXPECT_FALSE(Shown(f.lblDLUpdates));
}

TEST_F(MainWindowTest, PagesAreMadeWhenFirstShownAndTheirPartnersWithThem) {
  mForm1& f = form();
  // A start that never shows the window, as a logon check, makes no page
  // but the one it opens on.
  EXPECT_NE(f.mainF.MadeContent(), nullptr);
  for (Panel* p : {&f.intF, &f.regF, &f.appF, &f.setFq, &f.repF, &f.Frame2, &f.eggF})
    EXPECT_EQ(p->MadeContent(), nullptr) << p->Name();
  f.norms();  // a hover reset makes nothing either
  EXPECT_EQ(f.regF.MadeContent(), nullptr);

  WithBaseline();
  ASSERT_TRUE(EnsureSettingsFile(app));  // the Options page reads it on entry
  f.Image7_Click();
  EXPECT_NE(f.regF.MadeContent(), nullptr);
  // The report page comes with the log list that opens it, and once only.
  ReportPage* report = f.report();
  ASSERT_NE(report, nullptr);
  EXPECT_NE(f.setFq.MadeContent(), nullptr);
  f.Image11_Click();
  EXPECT_EQ(f.report(), report);
  EXPECT_EQ(f.ShownPage(), &f.setFq);
}

TEST_F(MainWindowTest, EveryNavigationShowsExactlyOnePageWithItsHeader) {
  WithBaseline();
  mForm1& f = form();
  struct Step {
    void (mForm1::*open)();
    const Panel* page;
    const char* title;
    int picture;  // -1: none
  };
  const Step steps[] = {
      {&mForm1::Image5_Click, &f.intF, "Integrity Checker", 2},
      {&mForm1::Image7_Click, &f.regF, "RegWatch", 0},
      {&mForm1::Image9_Click, &f.appF, "AppWatch", 1},
      {&mForm1::Image11_Click, &f.setFq, "Options", 3},
      {&mForm1::About, &f.Frame2, "", -1},
      {&mForm1::lblegg_Click, &f.eggF, "", -1},
      {&mForm1::Image3_Click, &f.mainF, "", -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.page->Name());
    (f.*s.open)();
    EXPECT_EQ(f.ShownPage(), s.page);
    int shown = 0;
    for (const Panel* p : {&f.mainF, &f.intF, &f.regF, &f.appF, &f.setFq, &f.settF, &f.repF,
                           &f.Frame2, &f.eggF})
      shown += p->Visible() ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(f.Title(), s.title);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.HeaderPictureVisible(i), i == s.picture) << i;
    const bool home = s.page == &f.mainF;
    EXPECT_EQ(Shown(f.cButton9.hwnd()), home);
  }
}

TEST_F(MainWindowTest, PageDescriptionsAreTheWorkingTexts) {
  WithBaseline();
  mForm1& f = form();
  f.Image5_Click();
  EXPECT_EQ(f.Description().substr(0, 26), "\r\n\r\n\r\nIntegrity Checker - ");
  f.Image7_Click();
  EXPECT_NE(f.Description().find("modified.\r\n\r\nIf you see"), std::string::npos);
  f.Image9_Click();
  EXPECT_EQ(f.Description().substr(0, 58),
            "AppWatch is a utility which displays all running windows. ");
  // Read as prose, in the proportional face of the rest of the window.
  HDC dc = GetDC(f.lblDesc);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(f.lblDesc, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(f.lblDesc, dc);
  EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << "set means variable pitch";
}

TEST_F(MainWindowTest, PageResetLeavesTheSettingsContainerOnItsMainPage) {
  WithBaseline();
  mForm1& f = form();
  f.qSett.Visible(false);
  f.advF.Visible(true);
  f.Image7_Click();
  EXPECT_TRUE(f.qSett.Visible());
  EXPECT_FALSE(f.advF.Visible());
  EXPECT_FALSE(f.settF.Visible());
}

TEST_F(MainWindowTest, MovingFromOneNavigationButtonToAnotherLightsOnlyTheSecond) {
  mForm1& f = form();
  ASSERT_TRUE(f.nav);
  MouseOver(f.nav->Image4.hwnd());
  EXPECT_TRUE(f.nav->Image5.Visible());
  MouseOver(f.nav->Image6.hwnd());
  EXPECT_TRUE(f.nav->Image7.Visible());
  for (int i = 0; i < NavBar::kButtons; ++i) EXPECT_EQ(f.nav->Lit(i).Visible(), i == 2) << i;

  // Over a page background nothing stays lit.
  MouseOver(f.mainF.hwnd());
  for (int i = 0; i < NavBar::kButtons; ++i) EXPECT_FALSE(f.nav->Lit(i).Visible()) << i;
}

TEST_F(MainWindowTest, HoverResetClearsTheLitButtonsOfThePages) {
  mForm1& f = form();
  f.About();
  HWND button = f.about()->cButton4.hwnd();
  RECT caption = f.about()->cButton4.CaptionRect();
  POINT centre{(caption.left + caption.right) / 2, (caption.top + caption.bottom) / 2};
  ClientToScreen(button, &centre);
  SetCursorPos(centre.x, centre.y);
  ScreenToClient(button, &centre);
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
  ASSERT_TRUE(f.about()->cButton4.IsLit());
  MouseOver(f.Frame2.hwnd());
  EXPECT_FALSE(f.about()->cButton4.IsLit());
}

TEST_F(MainWindowTest, AClickOnTheLitPictureOpensItsPage) {
  mForm1& f = form();
  MouseOver(f.nav->Image8.hwnd());
  HWND lit = f.nav->Image9.hwnd();
  SendMessageA(lit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(lit, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(f.ShownPage(), &f.appF);
}

TEST_F(MainWindowTest, DecliningTheFullScanLeavesTheContentAreaEmpty) {
  mForm1& f = form();
  host.ExpectBox(kMissingDb, MsgAnswer::No, "Missing File");
  f.Image5_Click();
  EXPECT_EQ(f.ShownPage(), nullptr);
  EXPECT_TRUE(host.starts.empty());
  EXPECT_FALSE(app.ended);
  // Until another button is used.
  f.Image9_Click();
  EXPECT_EQ(f.ShownPage(), &f.appF);
}

TEST_F(MainWindowTest, AcceptingTheFullScanRestartsTheProgramMinimised) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.bak", "old");
  host.ExpectBox(kMissingDb, MsgAnswer::Yes, "Missing File");
  host.ExpectBox("Korvanel needs to be re-started");
  host.ExpectBox("Restarting Korvanel...");
  form().Image5_Click();
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].commandLine, "\"" + folder.dir() + "Korvanel.exe\"");
  EXPECT_EQ(host.starts[0].showMode, kShowMinimized);
  EXPECT_FALSE(folder.Exists("Data\\Integrity.bak"));
  EXPECT_TRUE(app.ended);
}

TEST_F(MainWindowTest, AFailedRestartSaysSoAndStillEnds) {
  host.startSucceeds = false;
  host.ExpectBox(kMissingDb, MsgAnswer::Yes, "Missing File");
  host.ExpectBox("Korvanel needs to be re-started");
  host.ExpectBox("Restart Failed - try restarting Korvanel manually");
  form().Image5_Click();
  EXPECT_TRUE(app.ended);
}

TEST_F(MainWindowTest, TheIntegrityPageRefreshesItsContentBeforeTheQuestion) {
  auto probe = std::make_unique<ProbeContent>();
  ProbeContent* p = probe.get();
  form().intF.SetContent(std::move(probe));
  EXPECT_GT(p->laidOut, 0);
  host.ExpectBox(kMissingDb, MsgAnswer::No, "Missing File");
  form().Image5_Click();
  EXPECT_EQ(p->opened, 1);
  // The content sits inside its page, below the heading.
  RECT page{};
  GetClientRect(form().intF.hwnd(), &page);
  EXPECT_GT(p->lastArea.top, 0);
  EXPECT_LE(p->lastArea.right, page.right);
  MouseOver(form().mainF.hwnd());
  EXPECT_GT(p->cleared, 0);
}

TEST_F(MainWindowTest, AboutShowsTheReleaseVersion) {
  mForm1& f = form();
  f.cButton7.Click();
  EXPECT_EQ(f.ShownPage(), &f.Frame2);
  EXPECT_EQ(Text(f.about()->Label33), "Version: 2.2.0");
  EXPECT_EQ(Text(f.about()->Label32), "Korvanel");
  EXPECT_EQ(Text(f.about()->Label34), "\"Your Last Line of Defense Against Malicious Attacks\"");
  EXPECT_EQ(f.about()->cButton5.Caption(), "Visit Brackwater Online");
}

TEST_F(MainWindowTest, TheHiddenLabelOpensTheIllusionPanel) {
  mForm1& f = form();
  EXPECT_EQ(Text(f.home()->lblegg), "");
  SendMessageA(f.mainF.hwnd(), WM_COMMAND, MAKEWPARAM(HomePage::kEggId, STN_CLICKED),
               reinterpret_cast<LPARAM>(f.home()->lblegg));
  EXPECT_EQ(f.ShownPage(), &f.eggF);
  EXPECT_EQ(f.eggF.Heading(), "Optical Illusions Are Fun");
}

TEST_F(MainWindowTest, HelpOpensTheHelpFilesAndAsksNothingWhenTheyOpen) {
  form().Help();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, "index.html");
  EXPECT_EQ(host.shellCalls[0].directory, folder.dir() + "Help\\");
}

TEST_F(MainWindowTest, MissingHelpFilesOfferTheWebAndReportAFailedLink) {
  const std::string web = maker::kWebAddress;
  const std::string attempt =
      "Click on the Korvanel page, then choose 'Online Help'.\r\rAttempting to open webpage: " + web;
  // The file is not found, the web page opens.
  host.shellResults = {2, 42};
  host.ExpectBox(kHelpQuestion, MsgAnswer::Yes);
  host.ExpectBox(attempt);
  form().Help();
  ASSERT_EQ(host.shellCalls.size(), 2u);
  EXPECT_EQ(host.shellCalls[1].file, web);

  // Another failure of the shell, then no browser (31).
  host.shellResults = {5, 31};
  host.ExpectBox(kHelpQuestion, MsgAnswer::Yes);
  host.ExpectBox(attempt);
  host.ExpectBox("Could not execute link! (Visit " + web + " for Korvanel help information.");
  form().Help();

  // No to the web: nothing more is opened.
  host.shellResults = {2};
  host.ExpectBox(kHelpQuestion, MsgAnswer::No);
  form().Help();
  EXPECT_EQ(host.shellCalls.size(), 5u);
  EXPECT_TRUE(host.AllBoxesShown());
}

TEST_F(MainWindowTest, TheWebSiteLinkAsksFirstAndReportsAMissingBrowser) {
  const std::string web = maker::kWebAddress;
  const std::string question = "Would you like to visit Brackwater Online (" + web + ")?";
  host.ExpectBox(question, MsgAnswer::No);
  SendMessageA(form().hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form().rwClick), STN_CLICKED),
               reinterpret_cast<LPARAM>(form().rwClick));
  EXPECT_TRUE(host.shellCalls.empty());

  host.shellResults = {31};
  host.ExpectBox(question, MsgAnswer::Yes);
  host.ExpectBox("Could not shell web address. You will need to manually visit the website: " + web);
  form().about()->cButton5.Click();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, web);
}

TEST_F(MainWindowTest, TheCreditWritesMailWithTheVersionInTheSubject) {
  form().Label37_Click();
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file,
            std::string("mailto:") + maker::kContactMail + "?subject=Korvanel(v2.2)");

  host.shellResults = {31};
  host.ExpectBox(std::string("Could not execute default mail client.\rPlease write to ") +
                 maker::kContactMail + " or " + maker::kSupportMail);
  form().Label37_Click();
}

// The main window opens where the user left it, maximised if it was, and
// never off the screen it opens on, whatever screen it was left on.
TEST_F(MainWindowTest, OpensWhereItWasLeftAndAlwaysOnTheScreen) {
  const RECT area = controls::WorkAreaOf(nullptr);
  const RECT left{area.left + 30, area.top + 20, area.left + 30 + 720, area.top + 20 + 520};
  {
    mForm1& f = form();
    f.Show();
    SetWindowPos(f.hwnd(), nullptr, left.left, left.top, 720, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);  // the user's drag ends
  }
  const auto opened = [&](const std::function<void(mForm1&)>& look) {
    test::ScriptedHost again;
    App next(again, ThisEdition(), folder.dir());
    mForm1& f = next.Form1();
    f.Show();
    look(f);
  };
  opened([&](mForm1& f) {
    RECT r{};
    GetWindowRect(f.hwnd(), &r);
    EXPECT_EQ(r.left, left.left);
    EXPECT_EQ(r.top, left.top);
    EXPECT_EQ(r.right, left.right);
    EXPECT_EQ(r.bottom, left.bottom);
    ShowWindow(f.hwnd(), SW_MAXIMIZE);
  });
  opened([&](mForm1& f) {
    EXPECT_TRUE(IsZoomed(f.hwnd()));
    ShowWindow(f.hwnd(), SW_RESTORE);
    RECT r{};
    GetWindowRect(f.hwnd(), &r);
    EXPECT_EQ(r.left, left.left) << "restored to where it was before";
  });
  // Left on a screen the machine no longer has, and larger than this one.
  KeepWindowPlace(folder.dir() + "Data\\", "mForm1",
                  WindowPlace{RECT{area.right + 400, area.bottom + 300, area.right + 4400, area.bottom + 3300}});
  opened([&](mForm1& f) {
    RECT r{};
    GetWindowRect(f.hwnd(), &r);
    EXPECT_GE(r.left, area.left);
    EXPECT_GE(r.top, area.top);
    EXPECT_LE(r.right, area.right);
    EXPECT_LE(r.bottom, area.bottom);
  });
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
  form().cButton9.Click();
  EXPECT_TRUE(app.ended);
  EXPECT_TRUE(host.ended);
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgram) {
  SendMessageA(form().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(host.ended);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

class KeyboardTest : public test::AppTest {};  // keyboard and screen changes

int Height(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r.bottom - r.top;
}

TEST_F(KeyboardTest, MovingToAScreenOfTwiceTheDpiLaysTheFrameOutTwiceAsLarge) {
  mForm1& f = app.Form1();
  RECT before{};
  GetClientRect(f.nav->Image2.hwnd(), &before);
  const int navBefore = Height(f.nav->Image2.hwnd());
  RECT outer{};
  GetWindowRect(f.hwnd(), &outer);
  RECT suggested{outer.left, outer.top, outer.left + 2 * (outer.right - outer.left),
                 outer.top + 2 * (outer.bottom - outer.top)};
  SendMessageA(f.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(Height(f.nav->Image2.hwnd()), 2 * navBefore);
  RECT after{};
  GetClientRect(f.nav->Image2.hwnd(), &after);
  EXPECT_EQ(after.right, 2 * before.right);
}

void PressKey(HWND focus, WPARAM key) {
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, LPARAM(0xC0000001));
  test::PumpPending();
}

TEST_F(KeyboardTest, TabWalksTheNavigationAndEnterOpensThePage) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
  mForm1& f = app.Form1();
  f.Show();
  SetForegroundWindow(f.hwnd());
  SetFocus(f.nav->Image2.hwnd());
  ASSERT_EQ(GetFocus(), f.nav->Image2.hwnd());
  PressKey(GetFocus(), VK_TAB);
  EXPECT_EQ(GetFocus(), f.nav->Image4.hwnd());
  PressKey(GetFocus(), VK_TAB);
  EXPECT_EQ(GetFocus(), f.nav->Image6.hwnd());
  PressKey(GetFocus(), VK_RETURN);
  EXPECT_EQ(f.ShownPage(), &f.regF);
}

// Rail, page, status line: the order the eye reads the window in, from the
// control the window's activation focuses, round to it again.
TEST_F(KeyboardTest, TabVisitsEveryControlOfTheHomePageInReadingOrder) {
  mForm1& f = app.Form1();
  f.Show();
  SetForegroundWindow(f.hwnd());
  ASSERT_TRUE(test::PumpUntil([&] { return GetFocus() == f.nav->Image2.hwnd(); }, 3000));
  const std::vector<HWND> order = {
      f.nav->Image4.hwnd(),    f.nav->Image6.hwnd(),    f.nav->Image8.hwnd(),
      f.nav->Image10.hwnd(),   f.home()->tiles[0].hwnd(), f.home()->tiles[1].hwnd(),
      f.home()->tiles[2].hwnd(), f.home()->tiles[3].hwnd(), f.home()->watchDrivers.hwnd(),
      f.cButton6.hwnd(),
      f.cButton7.hwnd(),       f.cButton9.hwnd(),       f.rwClick,
      f.nav->Image2.hwnd()};
  for (size_t i = 0; i < order.size(); ++i) {
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), order[i]) << "stop " << i + 1 << " is \"" << Text(GetFocus()) << "\"";
  }
  // A tile opened by Enter hides with its page; the keyboard lands on the
  // page that opened.
  SetFocus(f.home()->tiles[1].hwnd());
  PressKey(GetFocus(), VK_RETURN);
  ASSERT_EQ(f.ShownPage(), &f.regF);
  EXPECT_TRUE(IsChild(f.regF.hwnd(), GetFocus()));
  // Enter on the status line's link is a click on it.
  host.ExpectBox("Would you like to visit Brackwater Online (" + std::string(maker::kWebAddress) + ")?",
                 MsgAnswer::No);
  SetFocus(f.rwClick);
  PressKey(GetFocus(), VK_RETURN);
  EXPECT_TRUE(host.AllBoxesShown());
}

// The rail says where the user is; its arrows move along it; F1 and Escape
// answer for the page shown.
TEST_F(KeyboardTest, TheRailMarksThePageArrowsWalkItF1HelpsAndEscapeLeavesTheSettings) {
  MakeDataFolders();
  folder.Write("Data\\Integrity.dat", "[Windows]\r\n");
  mForm1& f = app.Form1();
  f.Show();
  SetForegroundWindow(f.hwnd());
  auto marked = [&] {
    int at = -1;
    for (int i = 0; i < NavBar::kButtons; ++i)
      if (f.nav->Normal(i).IsMarked()) at = at == -1 ? i : 99;
    return at;
  };
  EXPECT_EQ(marked(), 0);
  f.Image7_Click();
  EXPECT_EQ(marked(), 2);
  EXPECT_TRUE(test::AskAccessible(f.nav->Normal(2).hwnd()).state & STATE_SYSTEM_SELECTED);
  EXPECT_FALSE(test::AskAccessible(f.nav->Normal(0).hwnd()).state & STATE_SYSTEM_SELECTED);

  SetFocus(f.nav->Image2.hwnd());
  PressKey(GetFocus(), VK_DOWN);
  EXPECT_EQ(GetFocus(), f.nav->Image4.hwnd());
  PressKey(GetFocus(), VK_UP);
  PressKey(GetFocus(), VK_UP);
  EXPECT_EQ(GetFocus(), f.nav->Image10.hwnd()) << "round from the first to the last";
  EXPECT_EQ(f.ShownPage(), &f.regF) << "arrows only move";

  const std::pair<void (mForm1::*)(), const char*> pages[] = {
      {&mForm1::Image5_Click, "integrity.html"}, {&mForm1::Image7_Click, "regwatch.html"},
      {&mForm1::Image9_Click, "appwatch.html"}, {&mForm1::Image11_Click, "options.html"},
      {&mForm1::Image3_Click, "index.html"}};
  for (auto [open, page] : pages) {
    (f.*open)();
    PressKey(GetFocus(), VK_F1);
    ASSERT_FALSE(host.shellCalls.empty());
    EXPECT_EQ(host.shellCalls.back().file, page);
    EXPECT_EQ(host.shellCalls.back().directory, folder.dir() + "Help\\");
  }
  EXPECT_EQ(host.shellCalls.size(), std::size(pages));

  f.Image11_Click();
  f.options()->cSettings_Click();
  ASSERT_EQ(f.ShownPage(), &f.settF);
  EXPECT_EQ(marked(), 4);
  SetFocus(f.options()->main->Check1.hwnd());
  PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_EQ(f.ShownPage(), &f.setFq);
  f.options()->cButton2_Click();
  ASSERT_TRUE(f.advF.Visible());
  SetFocus(f.options()->advanced->cSave2.hwnd());
  PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_EQ(f.ShownPage(), &f.setFq);
}

TEST_F(KeyboardTest, NavigationPicturesAndHomeTilesNameTheirTargetsToScreenReaders) {
  mForm1& f = app.Form1();
  const char* targets[] = {"Home", "Integrity Checker", "RegWatch", "AppWatch", "Options"};
  auto expectButton = [](HWND w, const char* name) {
    const test::Accessible a = test::AskAccessible(w);
    EXPECT_EQ(a.name, name);
    EXPECT_EQ(a.role, ROLE_SYSTEM_PUSHBUTTON) << name;
  };
  for (int i = 0; i < NavBar::kButtons; ++i) {
    expectButton(f.nav->Normal(i).hwnd(), targets[i]);
    expectButton(f.nav->Lit(i).hwnd(), targets[i]);
  }
  for (int i = 0; i < 4; ++i) expectButton(f.home()->tiles[size_t(i)].hwnd(), targets[i + 1]);
  expectButton(f.cButton9.hwnd(), "Exit");
  EXPECT_EQ(test::AskAccessible(f.rwClick).role, ROLE_SYSTEM_LINK);
}

}  // namespace
// Kernel drivers land one folder below the system files, out of the system
// check's sight: the Home page offers to watch them until they are.
TEST_F(MainWindowTest, HomeOffersToWatchTheDriversFolderUntilItIsWatched) {
  MakeDataFolders();
  ASSERT_TRUE(EnsureSettingsFile(app));
  mForm1& f = form();
  HomePage& home = *f.home();
  EXPECT_TRUE(Shown(home.driversNote));
  ASSERT_TRUE(Shown(home.watchDrivers.hwnd()));
  const std::string drivers = SystemDirectory() + "drivers\\";
  host.ExpectBox("The drivers folder " + drivers +
                 " is now watched as custom folder 1.  Its first scan runs with the next check.");
  home.watchDrivers.Click();
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(ReadEntry(app.settingsFile, "path", "1"), drivers);
  EXPECT_EQ(ReadEntry(app.settingsFile, "args2", "1"), "1,1,1,1,1,1,1");
  EXPECT_FALSE(Shown(home.watchDrivers.hwnd()));
  f.Image7_Click();
  f.Image3_Click();
  EXPECT_FALSE(Shown(home.driversNote));
}

}  // namespace kv

