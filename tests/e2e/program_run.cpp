#include "e2e/program_run.h"

#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace kv::test {

namespace {

std::string TextOf(HWND h) {
  char buf[4096] = "";
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (pid == s->pid && std::string(cls) == "#32770" && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// The message text is the box's static control with text (its id differs
// between systems).
BOOL CALLBACK FindText(HWND h, LPARAM lp) {
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  std::string text = TextOf(h);
  if (_stricmp(cls, "Static") == 0 && !text.empty()) {
    *reinterpret_cast<std::string*>(lp) = text;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ProgramRun::ProgramRun(const ProgramFolder& folder, const std::string& exeName,
                       const std::string& args) {
  const std::string exe = folder.path(exeName);
  CopyFileA((std::string(KV_BIN_DIR) + "\\" + exeName).c_str(), exe.c_str(), FALSE);
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{sizeof si};
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.dir().c_str(), &si, &pi_))
    ADD_FAILURE() << "could not start " << exe;
}

ProgramRun::~ProgramRun() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

FoundBox ProgramRun::WaitForBox(int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
  while (GetTickCount64() < deadline) {
    Search s{pi_.dwProcessId, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) {
      FoundBox box{s.found, TextOf(s.found), {}};
      EnumChildWindows(s.found, FindText, reinterpret_cast<LPARAM>(&box.text));
      if (!box.text.empty()) return box;
    }
    if (WaitForSingleObject(pi_.hProcess, 50) == WAIT_OBJECT_0) break;
  }
  return {};
}

void ProgramRun::Press(const FoundBox& box, int buttonId) {
  PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, buttonId)));
  // Wait until the box is gone so the next search does not find it again.
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (IsWindow(box.hwnd) && IsWindowVisible(box.hwnd) && GetTickCount64() < deadline) Sleep(20);
}

bool ProgramRun::Answer(const std::string& text, int buttonId, int timeoutMs) {
  FoundBox box = WaitForBox(timeoutMs);
  if (!box.hwnd) {
    ADD_FAILURE() << "no message box appeared; expected: " << text;
    return false;
  }
  EXPECT_EQ(box.text, text);
  Press(box, buttonId);
  return box.text == text;
}

bool ProgramRun::WaitForExit(int timeoutMs) {
  return WaitForSingleObject(pi_.hProcess, DWORD(timeoutMs)) == WAIT_OBJECT_0;
}

}  // namespace kv::test

namespace kv::test {

namespace {
struct TitleSearch {
  DWORD pid;
  const std::string* title;
  HWND found;
};
BOOL CALLBACK FindTitled(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TitleSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == s->pid && IsWindowVisible(h) && TextOf(h) == *s->title) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
BOOL CALLBACK FindListBox(HWND h, LPARAM lp) {
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (_stricmp(cls, "ListBox") == 0) {
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD pid, const std::string& title, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
  do {
    TitleSearch s{pid, &title, nullptr};
    EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

std::vector<std::string> ListBoxLines(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, FindListBox, reinterpret_cast<LPARAM>(&list));
  std::vector<std::string> lines;
  if (!list) return lines;
  const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  // Wide messages are marshalled between processes the same way everywhere.
  for (int i = 0; i < n; ++i) {
    wchar_t wide[2048] = L"";
    SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(wide));
    char buf[4096] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
    lines.emplace_back(buf);
  }
  return lines;
}

bool BuildBaselineInteractively(const ProgramFolder& folder) {
  ProgramRun first(folder, "Korvanel.exe", "");
  if (!first.Answer(kFirstRunQuestion, IDYES)) return false;
  HWND main = FindProcessWindow(first.processId(), "Welcome to Korvanel", 120000);
  if (!main) {
    ADD_FAILURE() << "the main window did not come back after the full scan";
    return false;
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  return first.WaitForExit();
}

std::string SystemFolder() {
  char buf[MAX_PATH];
  UINT n = GetSystemDirectoryA(buf, MAX_PATH);
  return std::string(buf, n) + "\\";
}

}  // namespace kv::test
