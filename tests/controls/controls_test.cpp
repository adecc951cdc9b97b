// The window foundation, the custom button and the check box on real
// windows, driven through the messages the system sends them.
#include <windows.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/control_table.h"
#include "controls/window.h"
#include "support/accessible_probe.h"
#include "support/pump.h"

namespace kv {
namespace {

using controls::kBlack;
using controls::kBlue;
using controls::kWhite;

// A plain top-level window on the program's own foundation; it records what
// reached its handlers and can be told to throw from them.
class TestWindow : public controls::Window {
 public:
  bool Make(DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN) {
    return Create(controls::WindowClass{"KorvanelControlsTestHost", 0, GetSysColorBrush(COLOR_WINDOW)}, 0,
                  "controls", style, 0, 0, 480, 320, nullptr);
  }
  using Window::Place;

  bool throwOnCommand = false;
  int commands = 0, dpiChanges = 0, destroyed = 0;

 protected:
  bool OnCommand(int, int, HWND) override {
    ++commands;
    if (throwOnCommand) throw std::runtime_error("handler failed");
    return true;
  }
  void OnDpiChanged() override { ++dpiChanges; }
  void OnDestroyed() override { ++destroyed; }
};

LOGFONTA FontOf(HFONT font) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}

// What the system sends a window moved to a monitor of another DPI, with the
// rectangle it suggests.
void ChangeDpi(HWND w, UINT dpi, RECT suggested) {
  SendMessageA(w, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The real pointer goes where the message says it is, so the leave tracking
// the controls ask for agrees with the synthetic messages.
void MoveTo(HWND w, POINT p, WPARAM keys = 0) {
  POINT screen = p;
  ClientToScreen(w, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageA(w, WM_MOUSEMOVE, keys, MAKELPARAM(p.x, p.y));
}

void Press(HWND w, POINT p) {
  MoveTo(w, p);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

void Release(HWND w, POINT p) {
  MoveTo(w, p, MK_LBUTTON);
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

void ClickAt(HWND w, POINT p) {
  Press(w, p);
  Release(w, p);
}

void Key(HWND w, WPARAM key) {
  SendMessageA(w, WM_KEYDOWN, key, 1);
  SendMessageA(w, WM_KEYUP, key, LPARAM(0xC0000001));
}

class ControlsTest : public ::testing::Test {
 protected:
  // One host window for the whole suite: under Wine without a window
  // manager, taking a visible top-level window down costs about two seconds.
  static void SetUpTestSuite() {
    window_ = new TestWindow;
    window_->Make();
    host_ = window_->hwnd();
    test::PumpPending();
  }

  static void TearDownTestSuite() {
    delete window_;
    window_ = nullptr;
    host_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(host_, nullptr);
    SetFocus(host_);
    test::PumpPending();
  }

  void TearDown() override { test::PumpPending(); }

  // Parts of a 140 x 44 button: the caption strip, and the band above it.
  static POINT OnCaption(const cButton& b) { return Centre(b.CaptionRect()); }
  static POINT OffCaption(const cButton& b) { return POINT{20, b.CaptionRect().top / 2}; }
  static POINT OutsideWindow() { return POINT{-30, 10}; }

  static inline TestWindow* window_ = nullptr;
  static inline HWND host_ = nullptr;
};

// ---- window foundation ------------------------------------------------------

TEST_F(ControlsTest, AThrowingHandlerStopsAtTheWindowAndTheWindowKeepsWorking) {
  window_->throwOnCommand = true;
  EXPECT_EQ(SendMessageA(host_, WM_COMMAND, MAKEWPARAM(1, 0), 0), 0);
  window_->throwOnCommand = false;
  SendMessageA(host_, WM_COMMAND, MAKEWPARAM(1, 0), 0);
  EXPECT_EQ(window_->commands, 2);
}

TEST_F(ControlsTest, AWindowDestroyedUnderItsObjectIsUnboundAndTheObjectOutlivesIt) {
  TestWindow w;
  ASSERT_TRUE(w.Make(WS_POPUP));
  HWND hwnd = w.hwnd();
  cButton child(hwnd, 1, 0, 0, 50, 20, "Child");
  DestroyWindow(hwnd);
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_EQ(w.destroyed, 1);
  EXPECT_EQ(child.hwnd(), nullptr) << "children go with their parent";
  child.Caption("still usable");
  EXPECT_EQ(child.Caption(), "still usable");
  EXPECT_TRUE(w.Make(WS_POPUP)) << "the object can make its window again";
}

TEST_F(ControlsTest, ADpiChangeResizesReplacesAndRefontsTheWindow) {
  TestWindow w;
  ASSERT_TRUE(w.Make(WS_POPUP));
  HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 0, 0, w.hwnd(), nullptr, nullptr, nullptr);
  const controls::Typeface face{"Tahoma", 9};
  ChangeDpi(w.hwnd(), 96, RECT{0, 0, 400, 300});
  w.Place(label, 10, 20, 100, 16, face);
  const LONG height96 = FontOf(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0))).lfHeight;

  ChangeDpi(w.hwnd(), 192, RECT{5, 6, 805, 606});
  EXPECT_EQ(w.Dpi(), 192u);
  EXPECT_EQ(w.dpiChanges, 2);
  RECT r;
  GetWindowRect(w.hwnd(), &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right - r.left, 800) << "the suggested rectangle";
  GetWindowRect(label, &r);
  MapWindowPoints(nullptr, w.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 200);
  HFONT now = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
  EXPECT_EQ(now, w.FontOf(face));
  EXPECT_EQ(FontOf(now).lfHeight, 2 * height96);
  DestroyWindow(label);
}

// A child window that makes its controls from one table.
class TableWindow : public controls::Window {
 public:
  ~TableWindow() override { Destroy(); }
  HWND Label1 = nullptr, List1 = nullptr;
  cButton Command1;
  check Check1;

  bool Make(HWND parent, bool plain) {
    if (!Create(controls::WindowClass{"KorvanelControlsTableHost", 0, GetSysColorBrush(COLOR_WINDOW)}, 0,
                "table", WS_CHILD | WS_VISIBLE, 0, 0, 420, 200, parent))
      return false;
    static const controls::ControlRow<TableWindow> kRows[] = {
        {&TableWindow::Label1, {0, "STATIC", "Heading", controls::kLabelStyle, 10, 8, 200, 20, kFace}},
        {&TableWindow::List1, {11, "LISTBOX", "Files", controls::kListStyle, 10, 30, 200, 100, kFace, "Found files"}},
        {&TableWindow::Command1, {12, cButton::kClassName, "Go", 0, 220, 30, 90, 30}},
        {&TableWindow::Check1, {13, check::kClassName, "DLL", 0, 10, 140, 200, 18, {}, "Check DLL files"}},
    };
    MakeControls(kRows, plain);
    return true;
  }
  static constexpr controls::Typeface kFace{"Segoe UI", 9};
};

RECT PlaceIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(ControlsTest, ATableMakesItsControlsInTabOrderPlacedFontedAndNamedAndTheDpiMovesThem) {
  for (bool plain : {false, true}) {
    SCOPED_TRACE(plain);
    TableWindow w;
    ASSERT_TRUE(w.Make(host_, plain));
    const HWND made[] = {w.Label1, w.List1, w.Command1.hwnd(), w.Check1.hwnd()};
    HWND child = GetWindow(w.hwnd(), GW_CHILD);
    for (HWND expected : made) {
      EXPECT_EQ(child, expected) << "created in the table's order";
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(GetDlgCtrlID(w.List1), 11);
    EXPECT_EQ(GetDlgCtrlID(w.Command1.hwnd()), 12);
    EXPECT_EQ(w.Command1.Caption(), "Go");
    EXPECT_EQ(w.Command1.Plain(), plain);
    EXPECT_EQ(w.Check1.Plain(), plain);
    EXPECT_TRUE(IsWindowVisible(w.Label1));

    EXPECT_EQ(test::AskAccessible(w.List1).name, "Found files");
    EXPECT_EQ(test::AskAccessible(w.Check1.hwnd()).name, "Check DLL files");
    EXPECT_EQ(test::AskAccessible(w.Command1.hwnd()).name, "Go");

    // At 96 DPI the places are as written; at 192 everything doubles and
    // the fonts are made again for it.
    for (UINT dpi : {96u, 192u}) {
      SCOPED_TRACE(dpi);
      ChangeDpi(w.hwnd(), dpi, RECT{0, 0, 420, 200});
      const int k = int(dpi / 96);
      const RECT list = PlaceIn(w.hwnd(), w.List1);
      EXPECT_EQ(list.left, 10 * k);
      EXPECT_EQ(list.top, 30 * k);
      EXPECT_EQ(list.right - list.left, 200 * k);
      const RECT button = PlaceIn(w.hwnd(), w.Command1.hwnd());
      EXPECT_EQ(button.left, 220 * k);
      EXPECT_EQ(button.bottom - button.top, 30 * k);
      const auto font = reinterpret_cast<HFONT>(SendMessageA(w.Label1, WM_GETFONT, 0, 0));
      EXPECT_EQ(font, w.FontOf(TableWindow::kFace));
      EXPECT_EQ(FontOf(font).lfHeight, -MulDiv(9, int(dpi), 72));
    }
  }
}

// Controls of a page, which is no window of its own: its Layout() places them.
struct TablePage {
  HWND Label1 = nullptr;
  std::array<HWND, 2> Choice{};
  std::array<cButton, 2> Go;
  check Check1;
};

TEST_F(ControlsTest, APageTableMakesItsControlsOnTheGivenParentInTabOrderNamedAndUnplaced) {
  using controls::Element;
  static const controls::ControlRow<TablePage> kRows[] = {
      {&TablePage::Label1, {0, "STATIC", "Heading", controls::kLabelStyle}},
      {&Element<&TablePage::Choice, 1>, {21, "BUTTON", "Second", WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP}},
      {&Element<&TablePage::Choice, 0>, {.id = 20, .cls = "LISTBOX", .text = "First", .style = controls::kListStyle, .name = "First list"}},
      {&Element<&TablePage::Go, 1>, {31, cButton::kClassName, "Go on"}},
      {&TablePage::Check1, {.id = 13, .cls = check::kClassName, .text = "DLL", .name = "Check DLL files"}},
  };
  for (bool plain : {false, true}) {
    SCOPED_TRACE(plain);
    TablePage page;
    controls::MakeControls(page, host_, kRows, plain);
    const HWND made[] = {page.Label1, page.Choice[1], page.Choice[0], page.Go[1].hwnd(), page.Check1.hwnd()};
    HWND child = GetWindow(host_, GW_CHILD);
    for (HWND expected : made) {
      ASSERT_NE(expected, nullptr);
      EXPECT_EQ(child, expected) << "created in the table's order";
      EXPECT_LE(PlaceIn(host_, expected).right, 1) << "left for the page's layout";
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(page.Go[0].hwnd(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(page.Choice[1]), 21);
    EXPECT_TRUE(GetWindowLongPtrA(page.Choice[1], GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(page.Go[1].Plain(), plain);
    EXPECT_EQ(test::AskAccessible(page.Choice[0]).name, "First list");
    EXPECT_EQ(test::AskAccessible(page.Check1.hwnd()).name, "Check DLL files");
    for (HWND w : {page.Label1, page.Choice[0], page.Choice[1]}) DestroyWindow(w);
  }
}

// ---- button ---------------------------------------------------------------

TEST_F(ControlsTest, ButtonClicksOnceWhenPressedAndReleasedOnItsCaption) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  ASSERT_GT(b.CaptionRect().top, 2) << "the test needs a band outside the caption";

  MoveTo(b.hwnd(), OnCaption(b));
  EXPECT_TRUE(b.IsLit());
  EXPECT_EQ(b.CaptionColor(), kBlack);

  Press(b.hwnd(), OnCaption(b));
  EXPECT_TRUE(b.IsPressed());
  EXPECT_FALSE(b.IsLit());
  EXPECT_EQ(b.CaptionColor(), kWhite);
  EXPECT_EQ(GetFocus(), b.hwnd());
  EXPECT_EQ(clicks, 0) << "the click belongs to the release";

  Release(b.hwnd(), OnCaption(b));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b.IsPressed());
  EXPECT_TRUE(b.IsLit());
  EXPECT_EQ(b.CaptionColor(), kBlack);
}

TEST_F(ControlsTest, ButtonReleasedAwayFromItsCaptionDoesNotClick) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  int clicks = 0;
  b.Click = [&] { ++clicks; };

  // Dragged out of the window while held: the pressed look follows the
  // pointer and the release out there is a cancel.
  Press(b.hwnd(), OnCaption(b));
  MoveTo(b.hwnd(), OutsideWindow(), MK_LBUTTON);
  EXPECT_FALSE(b.IsPressed());
  EXPECT_EQ(b.CaptionColor(), kBlack);
  MoveTo(b.hwnd(), OnCaption(b), MK_LBUTTON);
  EXPECT_TRUE(b.IsPressed()) << "coming back while held presses again";
  Release(b.hwnd(), OutsideWindow());
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(b.IsPressed());
  EXPECT_FALSE(b.IsLit());
  EXPECT_NE(GetCapture(), b.hwnd());

  // Released on the button but off the caption strip.
  Press(b.hwnd(), OnCaption(b));
  Release(b.hwnd(), OffCaption(b));
  EXPECT_EQ(clicks, 0);

  // Pressed off the caption and released on it.
  Press(b.hwnd(), OffCaption(b));
  EXPECT_FALSE(b.IsPressed());
  Release(b.hwnd(), OnCaption(b));
  EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, DisabledButtonIgnoresEverythingAndKeepsItsWhiteCaption) {
  cButton b(host_, 101, 10, 10, 140, 44, "Use It!");
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  b.Enabled(false);
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(GetWindowLongPtrA(b.hwnd(), GWL_STYLE) & WS_TABSTOP, 0) << "left out of the tab order";

  const std::vector<POINT> everywhere = {OnCaption(b), OffCaption(b), OutsideWindow(), {0, 0}};
  for (POINT p : everywhere) {
    MoveTo(b.hwnd(), p);
    EXPECT_FALSE(b.IsLit());
    EXPECT_EQ(b.CaptionColor(), controls::palette::kDisabledText);
    ClickAt(b.hwnd(), p);
    EXPECT_FALSE(b.IsPressed());
    EXPECT_EQ(b.CaptionColor(), controls::palette::kDisabledText);
  }
  SetFocus(b.hwnd());
  Key(b.hwnd(), VK_SPACE);
  Key(b.hwnd(), VK_RETURN);
  SendMessageA(b.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 0);

  b.Enabled(true);
  EXPECT_EQ(b.CaptionColor(), kBlack);
  EXPECT_NE(GetWindowLongPtrA(b.hwnd(), GWL_STYLE) & WS_TABSTOP, 0);
  ClickAt(b.hwnd(), OnCaption(b));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, DisablingAHeldButtonDropsThePressAndTheCapture) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  Press(b.hwnd(), OnCaption(b));
  b.Enabled(false);
  EXPECT_FALSE(b.IsPressed());
  EXPECT_NE(GetCapture(), b.hwnd());
  Release(b.hwnd(), OnCaption(b));
  EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, LitButtonGoesDarkOffTheCaptionOnFocusLossAndOnDownStatus) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");

  MoveTo(b.hwnd(), OnCaption(b));
  ASSERT_TRUE(b.IsLit());
  MoveTo(b.hwnd(), OffCaption(b));
  EXPECT_FALSE(b.IsLit());

  MoveTo(b.hwnd(), OnCaption(b));
  ASSERT_TRUE(b.IsLit());
  SendMessageA(b.hwnd(), WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(b.IsLit());

  MoveTo(b.hwnd(), OffCaption(b));
  MoveTo(b.hwnd(), OnCaption(b));
  ASSERT_TRUE(b.IsLit());
  b.downStatus(1);
  EXPECT_FALSE(b.IsLit());
}

TEST_F(ControlsTest, ButtonLeftByThePointerGoesDark) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  MoveTo(b.hwnd(), OnCaption(b));
  ASSERT_TRUE(b.IsLit());
  POINT away{300, 250};
  ClientToScreen(host_, &away);
  SetCursorPos(away.x, away.y);
  EXPECT_TRUE(test::PumpUntil([&] { return !b.IsLit(); }));
}

TEST_F(ControlsTest, FocusedButtonClicksOnSpaceReleaseAndOnEnter) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  SetFocus(b.hwnd());

  SendMessageA(b.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(b.IsPressed());
  SendMessageA(b.hwnd(), WM_KEYDOWN, VK_SPACE, LPARAM(0x40000001));  // auto-repeat
  EXPECT_EQ(clicks, 0);
  SendMessageA(b.hwnd(), WM_KEYUP, VK_SPACE, LPARAM(0xC0000001));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b.IsPressed());

  SendMessageA(b.hwnd(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(clicks, 2);

  // Space held while the focus moves away is not a click.
  SendMessageA(b.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
  SetFocus(host_);
  SendMessageA(b.hwnd(), WM_KEYUP, VK_SPACE, LPARAM(0xC0000001));
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, HandPointerOnlyOverTheCaptionOfAnEnabledButton) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  auto pointerAt = [&](POINT p) {
    MoveTo(b.hwnd(), p);
    SendMessageA(b.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  EXPECT_EQ(pointerAt(OnCaption(b)), controls::HandPointer());
  EXPECT_NE(controls::HandPointer(), arrow);
  EXPECT_EQ(pointerAt(OffCaption(b)), arrow);
  b.Enabled(false);
  EXPECT_EQ(pointerAt(OnCaption(b)), arrow);
}

TEST_F(ControlsTest, ButtonSurvivesHandlersThatDestroyItOrThrow) {
  auto doomed = std::make_unique<cButton>(host_, 101, 10, 10, 140, 44, "Close");
  HWND hwnd = doomed->hwnd();
  const POINT p = OnCaption(*doomed);
  doomed->Click = [&] { doomed.reset(); };
  ClickAt(hwnd, p);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));

  cButton b(host_, 102, 10, 60, 140, 44, "Scan");
  b.Click = [] { throw std::runtime_error("handler failed"); };
  ClickAt(b.hwnd(), OnCaption(b));
  EXPECT_FALSE(b.IsPressed());
  EXPECT_NE(GetCapture(), b.hwnd());
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  ClickAt(b.hwnd(), OnCaption(b));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ButtonCaptionIsItsWindowText) {
  cButton unnamed;
  EXPECT_EQ(unnamed.Caption(), "Label1");

  cButton b(host_, 101, 10, 10, 140, 44, "Test It!");
  char text[64] = {};
  GetWindowTextA(b.hwnd(), text, sizeof text);
  EXPECT_STREQ(text, "Test It!");
  b.Caption("Use It!");
  GetWindowTextA(b.hwnd(), text, sizeof text);
  EXPECT_STREQ(text, "Use It!");
  SetWindowTextA(b.hwnd(), "Exit");
  EXPECT_EQ(b.Caption(), "Exit");
  EXPECT_FALSE(b.Create(host_, 103, 0, 0, 10, 10, "again")) << "one window per control";
}

TEST_F(ControlsTest, PlainButtonNeverLightsButWhitensItsCaptionWhileHeld) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan", true);
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  MoveTo(b.hwnd(), OnCaption(b));
  EXPECT_FALSE(b.IsLit());
  EXPECT_EQ(b.CaptionColor(), kBlack);

  Press(b.hwnd(), OnCaption(b));
  EXPECT_EQ(b.CaptionColor(), kWhite);
  Release(b.hwnd(), OnCaption(b));
  EXPECT_EQ(b.CaptionColor(), kBlack);
  EXPECT_FALSE(b.IsLit());
  EXPECT_EQ(clicks, 1);

  b.Enabled(false);
  MoveTo(b.hwnd(), OffCaption(b));
  EXPECT_EQ(b.CaptionColor(), controls::palette::kDisabledText);
}

// ---- fonts and geometry ---------------------------------------------------------

TEST_F(ControlsTest, ButtonCaptionIsTahomaAndCheckCaptionIsVerdana) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  check c(host_, 201, 10, 60, 260, 22, "Auto-Logging");
  EXPECT_STREQ(FontOf(b.CaptionFont()).lfFaceName, "Tahoma");
  EXPECT_STREQ(FontOf(c.CaptionFont()).lfFaceName, "Verdana");
  EXPECT_FALSE(FontOf(c.CaptionFont()).lfUnderline);
  MoveTo(c.hwnd(), Centre(c.CaptionRect()));
  ASSERT_TRUE(c.IsLit());
  EXPECT_STREQ(FontOf(c.CaptionFont()).lfFaceName, "Verdana");
  EXPECT_TRUE(FontOf(c.CaptionFont()).lfUnderline);
}

TEST_F(ControlsTest, CheckPartsSitAtTheirTwipsForTheControlsDpi) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  // At 96 DPI a twip is 1/15 pixel, at 144 DPI 1/10.
  struct Case {
    UINT dpi;
    RECT window;  // where the DPI change puts the control
    LONG label1Left, above, image1Right, box;
  };
  for (const Case& k : {Case{96, {10, 10, 270, 32}, 17, 1, 257, 14}, Case{144, {10, 10, 400, 43}, 26, 2, 385, 21}}) {
    SCOPED_TRACE(k.dpi);
    ChangeDpi(c.hwnd(), k.dpi, k.window);
    const LONG width = k.window.right - k.window.left, height = k.window.bottom - k.window.top;
    const check::Parts parts = c.Layout();
    EXPECT_EQ(parts.Check1.left, 0);
    EXPECT_EQ(parts.Check1.top, 0);
    EXPECT_EQ(parts.Check1.right, k.box);
    EXPECT_EQ(parts.Label1.left, k.label1Left);
    EXPECT_EQ(parts.Label1.top, -k.above);
    EXPECT_EQ(parts.Label1.right - parts.Label1.left, width) << "as wide as the control";
    EXPECT_EQ(parts.Image1.top, -k.above);
    EXPECT_EQ(parts.Image1.right, k.image1Right);
    EXPECT_EQ(parts.Image2.right, width);
    EXPECT_EQ(parts.Image2.bottom, height);
    EXPECT_EQ(FontOf(c.CaptionFont()).lfHeight, -MulDiv(8, int(k.dpi), 72));

    // The pointer follows the new layout: the caption starts at Label1 and
    // stops short of Image1.
    EXPECT_EQ(c.BoxRect().right, k.label1Left);
    EXPECT_EQ(c.CaptionRect().right, parts.Image1.left);
    const int before = c.Value();
    ClickAt(c.hwnd(), POINT{k.label1Left + 2, height / 2});
    EXPECT_NE(c.Value(), before);
  }
}

// ---- check box ------------------------------------------------------------

struct CheckLayout {
  static POINT OnCaption(const check& c) { return Centre(c.CaptionRect()); }
  static POINT OnBox(const check& c) { return Centre(c.BoxRect()); }
  // The state marker at the right end of the full look.
  static POINT OnMarker(const check& c) {
    RECT r;
    GetClientRect(c.hwnd(), &r);
    return POINT{r.right - 3, r.bottom / 2};
  }
};

TEST_F(ControlsTest, ClickingACheckCaptionTwiceRestoresItAndClickSeesEachNewValue) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  std::vector<int> seen;
  c.Click = [&] { seen.push_back(c.Value()); };
  ASSERT_EQ(c.Value(), 0);

  ClickAt(c.hwnd(), CheckLayout::OnCaption(c));
  EXPECT_EQ(c.Value(), 1);
  ClickAt(c.hwnd(), CheckLayout::OnCaption(c));
  EXPECT_EQ(c.Value(), 0);
  EXPECT_EQ(seen, (std::vector<int>{1, 0}));

  ClickAt(c.hwnd(), CheckLayout::OnBox(c));
  EXPECT_EQ(c.Value(), 1);
  EXPECT_EQ(SendMessageA(c.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
}

TEST_F(ControlsTest, CheckTogglesOnlyWhenPressAndReleaseHitTheSamePart) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  int clicks = 0;
  c.Click = [&] { ++clicks; };

  ClickAt(c.hwnd(), CheckLayout::OnMarker(c));
  Press(c.hwnd(), CheckLayout::OnBox(c));
  Release(c.hwnd(), CheckLayout::OnCaption(c));
  Press(c.hwnd(), CheckLayout::OnCaption(c));
  Release(c.hwnd(), POINT{-40, 5});
  EXPECT_EQ(c.Value(), 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_NE(GetCapture(), c.hwnd());
}

TEST_F(ControlsTest, SettingACheckValueRaisesNothingAndAnyNonZeroChecksIt) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  int clicks = 0;
  c.Click = [&] { ++clicks; };
  c.Value(5);
  EXPECT_EQ(c.Value(), 1);
  c.Value(-1);
  EXPECT_EQ(c.Value(), 1);
  c.Value(0);
  EXPECT_EQ(c.Value(), 0);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, SpaceTogglesAFocusedCheck) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  int clicks = 0;
  c.Click = [&] { ++clicks; };
  SetFocus(c.hwnd());
  Key(c.hwnd(), VK_SPACE);
  EXPECT_EQ(c.Value(), 1);
  EXPECT_EQ(clicks, 1);
  Key(c.hwnd(), VK_RETURN);
  EXPECT_EQ(c.Value(), 1) << "Enter belongs to the window, not the check box";
}

TEST_F(ControlsTest, CheckCaptionLightsBlueAndUnderlinedAfterTheWindowClearedTheOthers) {
  check c(host_, 201, 10, 10, 260, 22, "Auto-Logging");
  std::vector<bool> litWhenHookRan;
  c.CaptionHover = [&] { litWhenHookRan.push_back(c.IsLit()); };

  MoveTo(c.hwnd(), CheckLayout::OnCaption(c));
  EXPECT_EQ(litWhenHookRan, (std::vector<bool>{false}));
  EXPECT_EQ(c.CaptionColor(), kBlue);
  EXPECT_TRUE(c.IsUnderlined());

  MoveTo(c.hwnd(), CheckLayout::OnBox(c));
  EXPECT_EQ(c.CaptionColor(), kBlack);
  EXPECT_FALSE(c.IsUnderlined());

  MoveTo(c.hwnd(), CheckLayout::OnCaption(c));
  MoveTo(c.hwnd(), CheckLayout::OnMarker(c));
  EXPECT_EQ(c.CaptionColor(), kBlack);

  MoveTo(c.hwnd(), CheckLayout::OnCaption(c));
  ASSERT_TRUE(c.IsLit());
  c.downStatus(1);
  EXPECT_EQ(c.CaptionColor(), kBlack);
  EXPECT_FALSE(c.IsUnderlined());
}

TEST_F(ControlsTest, LightingOneCheckCaptionClearsThePreviouslyLitOne) {
  // A settings page with three check boxes whose norms() clears them all.
  std::vector<std::unique_ptr<check>> page;
  for (int i = 0; i < 3; ++i)
    page.push_back(std::make_unique<check>(host_, 201 + i, 10, 10 + 30 * i, 260, 22, "Check"));
  auto norms = [&] {
    for (auto& c : page) c->downStatus(1);
  };
  for (auto& c : page) c->CaptionHover = norms;

  // The pointer jumps straight from one caption to the next, as over
  // neighbouring rows, with no leave in between.
  SendMessageA(page[0]->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 11));
  ASSERT_TRUE(page[0]->IsLit());
  SendMessageA(page[2]->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 11));
  EXPECT_FALSE(page[0]->IsLit());
  EXPECT_EQ(page[0]->CaptionColor(), kBlack);
  EXPECT_TRUE(page[2]->IsLit());
  EXPECT_EQ(page[2]->CaptionColor(), kBlue);
}

TEST_F(ControlsTest, PlainCheckLightsOnlyItsOwnCaption) {
  check a(host_, 201, 10, 10, 260, 22, "Check Drivers (DRV)", true);
  check b(host_, 202, 10, 40, 260, 22, "Auto-Logging", true);
  int hookCalls = 0;
  a.CaptionHover = b.CaptionHover = [&] { ++hookCalls; };

  SendMessageA(a.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 11));
  SendMessageA(b.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 11));
  EXPECT_EQ(hookCalls, 0);
  EXPECT_TRUE(a.IsLit());
  EXPECT_EQ(b.CaptionColor(), kBlue);
  b.downStatus(1);
  EXPECT_EQ(b.CaptionColor(), kBlack);

  // Without the marker the caption reaches the right edge.
  RECT client;
  GetClientRect(b.hwnd(), &client);
  EXPECT_EQ(b.CaptionRect().right, client.right);
  ClickAt(b.hwnd(), CheckLayout::OnMarker(b));
  EXPECT_EQ(b.Value(), 1);
}

// ---- pressing, alike on the button and the check box ----------------------

TEST_F(ControlsTest, ButtonAndCheckHoldAPressAlikeThroughDragReleaseSpaceAndCaptureLoss) {
  cButton b(host_, 101, 10, 10, 140, 44, "Scan");
  check c(host_, 201, 10, 60, 260, 22, "Auto-Logging");
  int buttonClicks = 0, checkClicks = 0;
  b.Click = [&] { ++buttonClicks; };
  c.Click = [&] { ++checkClicks; };
  struct Subject {
    const char* what;
    controls::ControlWindow& control;
    POINT on;
    const int& clicks;
  };
  for (const Subject& s : {Subject{"button", b, OnCaption(b), buttonClicks},
                           Subject{"check", c, CheckLayout::OnCaption(c), checkClicks}}) {
    SCOPED_TRACE(s.what);
    const HWND w = s.control.hwnd();
    // Held, dragged off and back, released outside: the capture keeps the
    // release coming to the control, which cancels it.
    Press(w, s.on);
    EXPECT_TRUE(s.control.IsPressed());
    EXPECT_EQ(GetCapture(), w);
    MoveTo(w, OutsideWindow(), MK_LBUTTON);
    EXPECT_FALSE(s.control.IsPressed());
    EXPECT_EQ(GetCapture(), w);
    MoveTo(w, s.on, MK_LBUTTON);
    EXPECT_TRUE(s.control.IsPressed());
    Release(w, OutsideWindow());
    EXPECT_FALSE(s.control.IsPressed());
    EXPECT_NE(GetCapture(), w);

    // Another window takes the mouse while held: the press is gone, and
    // the release that follows is no click.
    Press(w, s.on);
    SetCapture(host_);
    EXPECT_FALSE(s.control.IsPressed());
    ReleaseCapture();
    Release(w, s.on);
    EXPECT_EQ(s.clicks, 0);

    // Space presses while down and clicks once on its release.
    SetFocus(w);
    SendMessageA(w, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_TRUE(s.control.IsPressed());
    SendMessageA(w, WM_KEYUP, VK_SPACE, LPARAM(0xC0000001));
    EXPECT_FALSE(s.control.IsPressed());
    EXPECT_EQ(s.clicks, 1);

    ClickAt(w, s.on);
    EXPECT_EQ(s.clicks, 2);
  }
}

}  // namespace
}  // namespace kv
