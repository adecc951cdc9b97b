// The notice a scheduled scan leaves: its icon and balloon through the
// host, the newest log opened by a click, and the process ended either way.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "logs/scan_notice.h"
#include "support/app_fixture.h"

using namespace kv;

namespace {

class ScanNoticeTest : public test::AppTest {
 protected:
  // A log written `age` minutes before the newest.
  void WriteLogAged(const std::string& name, int age) {
    for (const char* f : {"Data", "Data\\Log"})
      if (!folder.Exists(f)) folder.MakeFolder(f);
    folder.Write("Data\\Log\\" + name, "Integrity Checker - header,C:\\x.dll\r\n");
    HANDLE h = CreateFileA(folder.path("Data\\Log\\" + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= ULONGLONG(age) * 60 * 10000000;
    const FILETIME when{t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, nullptr, &when);
    CloseHandle(h);
  }
};

TEST_F(ScanNoticeTest, ShowsTheCountsAndAClickOpensTheNewestLog) {
  WriteLogAged("12-01-2026(9_00_00AM).log", 0);
  WriteLogAged("12-31-2026(9_00_00AM).log", 30);  // later by name, older on disk
  folder.Write("Data\\Log\\notes.txt", "not a log");
  ScanNotice notice(app, {1, 2, 0, 0, 1});
  ASSERT_EQ(host.notices.size(), 1u);
  EXPECT_EQ(host.notices[0].window, notice.hwnd());
  EXPECT_EQ(host.notices[0].title, L"Korvanel found 3 changed files");
  EXPECT_EQ(host.notices[0].text, L"1 new, 2 changed, 1 registry entry \u2014 click to review");
  EXPECT_FALSE(IsWindowVisible(notice.hwnd()));

  SendMessageW(notice.hwnd(), kNotifyIconMessage, 1, NIN_BALLOONUSERCLICK);
  ASSERT_EQ(host.shellCalls.size(), 1u);
  EXPECT_EQ(host.shellCalls[0].file, folder.path("Data\\Log\\12-01-2026(9_00_00AM).log"));
  EXPECT_EQ(host.iconShown, nullptr);
  EXPECT_TRUE(host.ended);
}

TEST_F(ScanNoticeTest, ClosingDismissesWithoutOpeningAnything) {
  ScanNotice notice(app, {0, 0, 0, 0, 2});
  EXPECT_EQ(host.iconShown, notice.hwnd());
  SendMessageW(notice.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(host.shellCalls.empty());
  EXPECT_EQ(host.iconShown, nullptr);
  EXPECT_TRUE(host.ended);
}

}  // namespace
