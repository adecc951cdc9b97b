#include "e2e/probe.h"

namespace kv::test {

namespace {
struct Search {
  DWORD pid;
  const std::function<bool(HWND)>* match;
  HWND found;
  bool hiddenToo = false;
};
BOOL CALLBACK Visit(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (s->pid != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || (!s->hiddenToo && !IsWindowVisible(h))) return TRUE;
  }
  if (!(*s->match)(h)) return TRUE;
  s->found = h;
  return FALSE;
}
}  // namespace

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

std::string WindowText(HWND h) {
  char buf[4096] = "";
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

std::string ClassOf(HWND h) {
  char buf[64] = "";
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match) {
  Search s{pid, &match, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindAnyTopWindow(DWORD pid, const std::function<bool(HWND)>& match) {
  Search s{pid, &match, nullptr, true};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match) {
  Search s{0, &match, nullptr};
  EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<std::string> ListBoxLines(HWND window) {
  HWND list = FindChild(window, [](HWND h) { return _stricmp(ClassOf(h).c_str(), "ListBox") == 0; });
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

}  // namespace kv::test
