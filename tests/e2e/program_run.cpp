#include "e2e/program_run.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace kv::test {

namespace {

// A message box: the dialog class, with a static control holding its text
// (the control's id differs between systems).
std::string BoxText(HWND dialog) {
  HWND text = FindChild(dialog, [](HWND h) {
    return _stricmp(ClassOf(h).c_str(), "Static") == 0 && !WindowText(h).empty();
  });
  return text ? WindowText(text) : std::string();
}

}  // namespace

ProgramRun::ProgramRun(const ProgramFolder& folder, const std::string& exeName,
                       const std::string& args) {
  const std::string exe = folder.path(exeName);
  CopyFileA((std::string(KV_BIN_DIR) + "\\" + exeName).c_str(), exe.c_str(), FALSE);
  Start(exe, args, folder.dir());
}

ProgramRun::ProgramRun(const std::string& exe, const std::string& args) {
  Start(exe, args, exe.substr(0, exe.find_last_of('\\') + 1));
}

void ProgramRun::Start(const std::string& exe, const std::string& args, const std::string& dir) {
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{sizeof si};
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi_))
    ADD_FAILURE() << "could not start " << exe;
}

namespace {

// Copies of the program the run started and left (a scheduled scan's
// notice still starting up has no window to close yet): ended with it.
// Scanners it started are left to finish their records.
void EndProgramChildren(DWORD parent) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{sizeof entry};
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parent || _strnicmp(entry.szExeFile, "Korvanel", 8) != 0) continue;
    if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(child, 1);
      WaitForSingleObject(child, 5000);
      CloseHandle(child);
    }
  }
  CloseHandle(snapshot);
}

}  // namespace

ProgramRun::~ProgramRun() {
  CloseNotices();
  if (pi_.hProcess) EndProgramChildren(pi_.dwProcessId);
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

FoundBox ProgramRun::WaitForBox(int timeoutMs) {
  FoundBox box;
  WaitUntil(
      [&] {
        HWND h = FindTopWindow(pi_.dwProcessId, [](HWND w) { return ClassOf(w) == "#32770"; });
        if (h) box = {h, WindowText(h), BoxText(h)};
        return (h && !box.text.empty()) || WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  return box.text.empty() ? FoundBox{} : box;
}

void ProgramRun::Press(const FoundBox& box, int buttonId) {
  PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, buttonId)));
  // Gone before the next search, which would otherwise find it again.
  WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 10000);
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

DWORD ProgramRun::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

}  // namespace kv::test

namespace kv::test {

HWND FindProcessWindow(DWORD pid, const std::string& title, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindTopWindow(pid, [&](HWND h) { return WindowText(h) == title; });
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND FindFindingsWindow(DWORD pid, int timeoutMs, std::wstring* title) {
  const std::wstring start = L"Korvanel \u2014 ";
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindTopWindow(pid, [&](HWND h) {
          wchar_t text[128] = L"";
          GetWindowTextW(h, text, 128);
          if (ClassOf(h) != "KorvanelIntCheck" || std::wstring(text).rfind(start, 0) != 0) return false;
          if (title) *title = text;
          return true;
        });
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

namespace {
HWND AnyNotice() {
  return FindAnyTopWindow(0, [](HWND h) { return ClassOf(h) == "KorvanelNotice"; });
}
}  // namespace

HWND FindNotice(int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = AnyNotice()) != nullptr; }, timeoutMs);
  return found;
}

void CloseNotices() {
  for (int i = 0; i < 20; ++i) {
    HWND notice = AnyNotice();
    if (!notice) return;
    PostMessageA(notice, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(notice); }, 5000);
  }
}

std::string EntryOf(const std::string& baseline, const std::string& key) {
  const std::string opening = "\r\n" + key + "=";
  const size_t at = baseline.find(opening);
  if (at == std::string::npos) return {};
  const size_t from = at + opening.size();
  return baseline.substr(from, baseline.find("\r\n", from) - from);
}

bool BuildBaselineInteractively(const ProgramFolder& folder, const std::string& exeName) {
  ProgramRun first(folder, exeName, "");
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
