// The AppWatch page against real top-level windows the tests make: in this
// thread, hidden, sharing a title, and in a thread that never answers.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/mForm1.h"
#include "appwatch/appF.h"
#include "core/text.h"
#include "support/app_fixture.h"
#include "support/pump.h"

namespace kv {
namespace {

constexpr char kClass[] = "KorvanelWatchedWindow";
std::atomic<int> closeRequests{0};
std::atomic<int> pings{0};
constexpr UINT kPing = WM_APP + 7;

LRESULT CALLBACK WatchedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) ++closeRequests;
  if (msg == kPing) ++pings;
  return DefWindowProcA(h, msg, wp, lp);
}

// Hidden: under Wine a shown top-level window takes seconds to go away.
HWND MakeWindow(const std::string& title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WatchedProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);  // once; later calls fail harmlessly
  return CreateWindowExA(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                         10, 10, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string Text(HWND w) {
  char buf[512] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

std::string Pid() { return Dec(GetCurrentProcessId()); }

class AppWatchTest : public test::AppTest {
 protected:
  ~AppWatchTest() override {
    for (HWND w : windows_) DestroyWindow(w);
  }
  AppWatchPage& page() {
    Form1(app).Image9_Click();
    return *Form1(app).appWatch();
  }
  HWND Make(const std::string& title) {
    windows_.push_back(MakeWindow(title));
    return windows_.back();
  }
  int Count(const std::string& line) {
    const auto lines = page().Lines();
    return int(std::count(lines.begin(), lines.end(), line));
  }
  int RefreshedCount() {
    page().ref_Click();
    return int(ParseLong(Text(page().lblCount)));
  }
  std::vector<HWND> windows_;
};

TEST_F(AppWatchTest, RefreshListsTitledWindowsOncePerProcessAndTitleHiddenOnesIncluded) {
  AppWatchPage& p = page();
  EXPECT_EQ(Text(p.lblCount), "Please Click On Refresh");
  EXPECT_TRUE(p.Lines().empty()) << "opening the page does not fill the list";
  EXPECT_EQ(Text(p.txtTitle), "No Window Selected");

  Make("kv twin");
  Make("kv twin");
  Make("kv hidden");
  Make("");  // untitled windows are left out
  p.ref_Click();
  EXPECT_EQ(Count(Pid() + ": kv twin"), 1);
  EXPECT_EQ(Count(Pid() + ": kv hidden"), 1);
  const auto lines = p.Lines();
  EXPECT_EQ(Text(p.lblCount), Dec(static_cast<long long>(lines.size())) + " open Windows.");
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  }));

  // Ten more titled windows: ten more lines. Other programs' windows may come
  // and go meanwhile, so the pair is measured again when it does not add up.
  bool tenMore = false;
  for (int attempt = 0; attempt < 3 && !tenMore; ++attempt) {
    for (HWND w : windows_) DestroyWindow(w);
    windows_.clear();
    const int before = RefreshedCount();
    for (int i = 0; i < 10; ++i) Make("kv window " + Dec(i));
    tenMore = RefreshedCount() == before + 10;
  }
  EXPECT_TRUE(tenMore);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Count(Pid() + ": kv window " + Dec(i)), 1) << i;
}

namespace {
// Whether a stands above b among the top-level windows. Other programs on
// the same display may stand above both, so only the order of the two counts.
bool Above(HWND a, HWND b) {
  for (HWND h = GetWindow(a, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
    if (h == b) return true;
  return false;
}
}  // namespace

TEST_F(AppWatchTest, SelectionShowsClassAndProcessAndTheActionsFindTheWindowAgain) {
  AppWatchPage& p = page();
  HWND back = Make("kv back");
  HWND front = Make("kv front");
  SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  p.ref_Click();
  ASSERT_TRUE(p.SelectLine(Pid() + ": kv back"));
  EXPECT_EQ(Text(p.txtTitle), "kv back");
  EXPECT_EQ(Text(p.lblClassName), std::string("Class Name: ") + kClass);
  EXPECT_EQ(Text(p.lblProcessID), "ProcessID: " + Pid());

  p.act.Click();
  EXPECT_TRUE(Above(back, front));

  // Close asks first; No sends nothing but still refreshes.
  const std::string question =
      "Are you sure you want to close kv back(" + Dec(static_cast<long long>(reinterpret_cast<intptr_t>(back))) + ")";
  closeRequests = 0;
  host.ExpectBox(question, MsgAnswer::No);
  p.cl.Click();
  EXPECT_EQ(closeRequests, 0);
  EXPECT_TRUE(IsWindow(back));
  host.ExpectBox(question, MsgAnswer::Yes);
  p.cl.Click();
  EXPECT_EQ(closeRequests, 1);
  EXPECT_FALSE(IsWindow(back));
  EXPECT_EQ(Count(Pid() + ": kv back"), 0);
  EXPECT_EQ(Text(p.txtTitle), "kv back") << "the labels keep the closed window's data";

  // The window is gone: nothing is found and the actions touch nothing.
  ASSERT_TRUE(p.SelectLine(Pid() + ": kv front"));
  DestroyWindow(front);
  p.lstOpenWindows_Click();
  EXPECT_EQ(Text(p.lblClassName), "Window Not Found!!!");
  EXPECT_EQ(Text(p.lblProcessID), "ProcessID: 0");
  host.ExpectBox("Are you sure you want to close kv front(0)", MsgAnswer::Yes);
  p.cl.Click();
  EXPECT_TRUE(host.AllBoxesShown());

  // A title typed by hand with the class shown finds that window.
  HWND typed = Make("kv typed");
  HWND cover = Make("kv cover");
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowTextA(p.lblClassName, (std::string("Class Name: ") + kClass).c_str());
  SetWindowTextA(p.txtTitle, "kv typed");
  p.act.Click();
  EXPECT_TRUE(Above(typed, cover));
}

// A window whose thread never takes a message: listing it, selecting it and
// asking it to close must leave this thread free.
TEST_F(AppWatchTest, AWindowThatNeverAnswersLeavesTheProgramResponsive) {
  HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<HWND> hung{nullptr};
  std::thread stuck([&] {
    hung = MakeWindow("kv hung");
    SetEvent(made);
    WaitForSingleObject(release, INFINITE);  // no message loop until released
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    DestroyWindow(hung);
  });
  ASSERT_EQ(WaitForSingleObject(made, 5000), WAIT_OBJECT_0);
  HWND here = Make("kv responsive");

  AppWatchPage& p = page();
  p.ref_Click();
  ASSERT_TRUE(p.SelectLine(Pid() + ": kv hung"));
  EXPECT_EQ(Text(p.lblClassName), std::string("Class Name: ") + kClass);
  host.ExpectBox("Are you sure you want to close kv hung(" +
                     Dec(static_cast<long long>(reinterpret_cast<intptr_t>(hung.load()))) + ")",
                 MsgAnswer::Yes);
  const ULONGLONG start = GetTickCount64();
  p.cl.Click();
  EXPECT_LT(GetTickCount64() - start, 5000u);
  EXPECT_EQ(Count(Pid() + ": kv hung"), 1) << "a window that refuses stays listed";
  p.act.Click();  // moving it must not wait for it either

  pings = 0;
  PostMessageA(here, kPing, 0, 0);
  EXPECT_TRUE(test::PumpUntil([] { return pings == 1; }, 2000));

  SetEvent(release);
  stuck.join();
  CloseHandle(made);
  CloseHandle(release);
}

}  // namespace
}  // namespace kv
