// What assistive technology, the keyboard and the high-contrast setting get
// from the program's own controls, asked through the platform's own
// interfaces (the accessibility objects, the contrast setting, painting).
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include "support/accessible_probe.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "controls/art.h"
#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/link_label.h"
#include "controls/panel.h"
#include "controls/theme.h"
#include "controls/window.h"
#include "support/pump.h"

namespace kv {
namespace {

class Host : public controls::Window {
 public:
  bool Make() {
    return Create(controls::WindowClass{"KorvanelUsabilityTestHost", 0, GetSysColorBrush(COLOR_WINDOW)},
                  WS_EX_CONTROLPARENT, "usability", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480,
                  320, nullptr);
  }
  int linkClicks = 0;

 protected:
  bool OnCommand(int id, int code, HWND) override {
    if (id == 77 && code == STN_CLICKED) ++linkClicks;
    return true;
  }
};

using test::AskAccessible;
using Facts = test::Accessible;
Facts Ask(HWND hwnd) {
  Facts f = AskAccessible(hwnd);
  EXPECT_TRUE(f.found) << "no accessible object";
  return f;
}

class UsabilityTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.Make()); }
  Host host;
};

TEST_F(UsabilityTest, ButtonsAndChecksTellTheirCaptionRoleAndState) {
  cButton button(host.hwnd(), 1, 10, 10, 120, 30, "Scan & Update Warnings");
  check box(host.hwnd(), 2, 10, 60, 200, 20, "Auto-Scan Failed Files");

  Facts b = Ask(button.hwnd());
  EXPECT_EQ(b.name, "Scan & Update Warnings");
  EXPECT_EQ(b.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_FALSE(b.state & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(b.state & STATE_SYSTEM_FOCUSABLE);
  EXPECT_EQ(b.action, "Press");
  button.Enabled(false);
  button.Caption("Delete Key");
  b = Ask(button.hwnd());
  EXPECT_EQ(b.name, "Delete Key");
  EXPECT_TRUE(b.state & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_FALSE(b.state & STATE_SYSTEM_FOCUSABLE);

  Facts c = Ask(box.hwnd());
  EXPECT_EQ(c.name, "Auto-Scan Failed Files");
  EXPECT_EQ(c.role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_FALSE(c.state & STATE_SYSTEM_CHECKED);
  box.Value(1);
  c = Ask(box.hwnd());
  EXPECT_TRUE(c.state & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(c.action, "Uncheck");
  SetFocus(box.hwnd());
  EXPECT_TRUE(Ask(box.hwnd()).state & STATE_SYSTEM_FOCUSED);
  EnableWindow(box.hwnd(), FALSE);
  EXPECT_TRUE(Ask(box.hwnd()).state & STATE_SYSTEM_UNAVAILABLE);
  ShowWindow(box.hwnd(), SW_HIDE);
  EXPECT_TRUE(Ask(box.hwnd()).state & STATE_SYSTEM_INVISIBLE);
}

// A button that turns a choice on and off is a check box with its state; a
// list or tree is named by the text it was made with, or given one; a box
// whose caption leans on a heading reads whole.
TEST_F(UsabilityTest, TogglesListsAndBoxesUnderHeadingsSayWhatTheyAre) {
  cButton toggle(host.hwnd(), 1, 10, 10, 160, 30, "Driver Files (DRV)");
  EXPECT_EQ(Ask(toggle.hwnd()).role, ROLE_SYSTEM_PUSHBUTTON);
  toggle.Checked(true);
  Facts t = Ask(toggle.hwnd());
  EXPECT_EQ(t.name, "Driver Files (DRV)");
  EXPECT_EQ(t.role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_TRUE(t.state & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(t.action, "Uncheck");
  toggle.Checked(false);
  t = Ask(toggle.hwnd());
  EXPECT_FALSE(t.state & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(t.action, "Check");

  HWND list = controls::MakeChild(host.hwnd(), "LISTBOX", 5, "New and Failed Files", WS_VISIBLE | WS_TABSTOP);
  HWND tree = controls::MakeChild(host.hwnd(), WC_TREEVIEWA, 6, "Logs", WS_VISIBLE);
  HWND bare = controls::MakeChild(host.hwnd(), "LISTBOX", 7, "", WS_VISIBLE);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:\\a.dll"));
  const long systemsRole = Ask(bare).role;
  Facts l = Ask(list);
  EXPECT_EQ(l.name, "New and Failed Files");
  EXPECT_EQ(l.role, systemsRole) << "the role and the items stay the system's";
  EXPECT_EQ(Ask(tree).name, "Logs");
  controls::NameForAccessibility(bare, "Report");
  EXPECT_EQ(Ask(bare).name, "Report");
  controls::NameForAccessibility(bare, "Buffer comparison");
  EXPECT_EQ(Ask(bare).name, "Buffer comparison");
  DestroyWindow(bare);

  check box(host.hwnd(), 2, 10, 60, 100, 20, "DLL");
  box.AccessibleName("Check Dynamic Linked Libraries (DLL) on secure shut down");
  EXPECT_EQ(Ask(box.hwnd()).name, "Check Dynamic Linked Libraries (DLL) on secure shut down");
  EXPECT_EQ(box.Caption(), "DLL");
}

TEST_F(UsabilityTest, TheDefaultActionClicksLikeTheMouseAndNotWhileDisabled) {
  cButton button(host.hwnd(), 1, 10, 10, 120, 30, "Close");
  check box(host.hwnd(), 2, 10, 60, 200, 20, "Shut down");
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  EXPECT_TRUE(test::DoDefaultAction(button.hwnd()));
  EXPECT_TRUE(test::DoDefaultAction(box.hwnd()));
  ASSERT_TRUE(test::PumpUntil([&] { return clicks == 1 && box.Value() == 1; }, 2000));
  button.Enabled(false);
  EXPECT_FALSE(test::DoDefaultAction(button.hwnd()));
  test::PumpPending();
  EXPECT_EQ(clicks, 1);
}

TEST_F(UsabilityTest, PicturesNameWhereTheyLeadAndLinksAreKeyboardLinks) {
  Picture nav, still, unnamed;
  nav.Create(host.hwnd(), 3, art::Rgb(0, 0, 0), {}, {}, false, true);
  still.Create(host.hwnd(), 4, art::Rgb(0, 0, 0), {});
  unnamed.Create(host.hwnd(), 5, art::Rgb(0, 0, 0), {}, {}, true);
  nav.Name("RegWatch");
  still.Name("Integrity Checker");
  Facts n = Ask(nav.hwnd());
  EXPECT_EQ(n.name, "RegWatch");
  EXPECT_EQ(n.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(n.state & STATE_SYSTEM_FOCUSABLE);
  EXPECT_EQ(Ask(still.hwnd()).role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_NE(Ask(unnamed.hwnd()).role, ROLE_SYSTEM_PUSHBUTTON);  // the system's own answer

  HWND link = CreateWindowExA(0, "STATIC", "Brackwater Online", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 200,
                              150, 20, host.hwnd(), HMENU(77), GetModuleHandleA(nullptr), nullptr);
  controls::MakeKeyboardLink(link);
  Facts l = Ask(link);
  EXPECT_EQ(l.name, "Brackwater Online");
  EXPECT_EQ(l.role, ROLE_SYSTEM_LINK);
  EXPECT_TRUE(GetWindowLongPtrA(link, GWL_STYLE) & WS_TABSTOP);
  SetFocus(link);
  SendMessageA(link, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(host.linkClicks, 2);
  EXPECT_TRUE(SendMessageA(link, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
}

// A pixel of what the control paints, through WM_PRINTCLIENT.
COLORREF PixelOf(HWND w, int x, int y) {
  RECT c{};
  GetClientRect(w, &c);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, c.right, c.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  const COLORREF p = GetPixel(mem, x, y);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return p;
}

TEST_F(UsabilityTest, HighContrastPaintsTheControlsInTheSystemColours) {
  cButton button(host.hwnd(), 1, 10, 10, 120, 30, "Close");
  check box(host.hwnd(), 2, 10, 60, 200, 20, "Shut down");
  const COLORREF faceBefore = PixelOf(button.hwnd(), 3, 15);
  ASSERT_FALSE(controls::HighContrast());
  ASSERT_NE(faceBefore, GetSysColor(COLOR_BTNFACE));
  {
    // Through the system's setting where it is kept; Wine refuses
    // SPI_SETHIGHCONTRAST, so there the program's reading of it is held on.
    HIGHCONTRASTA on{sizeof on, HCF_HIGHCONTRASTON, nullptr};
    const bool systemKeepsIt = SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof on, &on, 0) != FALSE;
    std::optional<controls::HighContrastOverride> held;
    if (!systemKeepsIt) held.emplace(true);
    struct Restore {
      bool system;
      ~Restore() {
        HIGHCONTRASTA off{sizeof off, 0, nullptr};
        if (system) SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof off, &off, 0);
      }
    } restore{systemKeepsIt};
    ASSERT_TRUE(controls::HighContrast());
    EXPECT_EQ(PixelOf(button.hwnd(), 3, 15), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelOf(button.hwnd(), 0, 15), GetSysColor(COLOR_BTNTEXT));  // the frame
    EXPECT_EQ(button.CaptionColor(), GetSysColor(COLOR_BTNTEXT));
    button.Enabled(false);
    EXPECT_EQ(button.CaptionColor(), GetSysColor(COLOR_GRAYTEXT));
    const RECT boxPart = box.Layout().Check1;
    EXPECT_EQ(PixelOf(box.hwnd(), boxPart.left, boxPart.top + 7), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(PixelOf(box.hwnd(), boxPart.left + 4, boxPart.top + 3), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(box.CaptionColor(), GetSysColor(COLOR_WINDOWTEXT));

    Picture still;
    still.Create(host.hwnd(), 4, art::Rgb(1, 2, 3), {});
    still.Move(300, 10, 20, 20);
    EXPECT_EQ(PixelOf(still.hwnd(), 5, 5), GetSysColor(COLOR_WINDOW));
    Panel page;
    page.Create(host.hwnd(), "page", "Heading", Panel::Style::Card);
    EXPECT_EQ(ToColorRef(page.Background()), GetSysColor(COLOR_WINDOW));

    // A change of the setting repaints every control inside the window.
    ValidateRect(button.hwnd(), nullptr);
    SendMessageA(host.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(GetUpdateRect(button.hwnd(), nullptr, FALSE));
  }
  button.Enabled(true);
  EXPECT_EQ(PixelOf(button.hwnd(), 3, 15), faceBefore);
  EXPECT_EQ(button.CaptionColor(), controls::kBlack);
}

// A page's scroll bars go with the need for them: two bars shown while the
// panel was small do not keep each other once the page fits it whole.
TEST_F(UsabilityTest, APanelsScrollBarsGoOnceThePageFitsItWhole) {
  Panel page;
  ASSERT_TRUE(page.Create(host.hwnd(), "page", "", Panel::Style::Card));
  const auto bars = [&] {
    const LONG_PTR style = GetWindowLongPtrA(page.hwnd(), GWL_STYLE);
    return std::pair<bool, bool>((style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0);
  };
  page.MinimumSize(SIZE{300, 200});
  page.Move(RECT{0, 0, 200, 100});
  EXPECT_EQ(bars(), std::make_pair(true, true));
  page.Move(RECT{0, 0, 300, 200});
  EXPECT_EQ(bars(), std::make_pair(false, false));
  page.Move(RECT{0, 0, 300, 150});
  EXPECT_TRUE(bars().second);
}

// WCAG's relative luminance and contrast ratio.
double Luminance(COLORREF c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}
double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A disabled button's caption is read against the face it is painted on:
// every pixel of the face around the caption, in both looks.
TEST_F(UsabilityTest, ADisabledButtonsCaptionIsReadableOnItsFace) {
  for (bool plain : {false, true}) {
    cButton button(host.hwnd(), 1, 10, 10, 160, 34, "Delete Key", plain);
    button.Enabled(false);
    const RECT strip = button.CaptionRect();
    double worst = 100;
    for (int y = strip.top; y < strip.bottom; ++y)
      for (int x : {2, 4, 157, 155})  // the face left and right of the centred caption
        worst = std::min(worst, Contrast(button.CaptionColor(), PixelOf(button.hwnd(), x, y)));
    EXPECT_GE(worst, 4.5) << (plain ? "plain" : "full") << " look";
    button.Enabled(true);
    EXPECT_NE(button.CaptionColor(), PixelOf(button.hwnd(), 2, (strip.top + strip.bottom) / 2));
  }
}

}  // namespace
}  // namespace kv
