#include "e2e/probe.h"

#include <commctrl.h>

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

namespace {

// A cell of a list view in another process: the item and its text buffer
// have to live in that process for the control to fill them.
class RemoteCells {
 public:
  explicit RemoteCells(HWND view) : view_(view) {
    DWORD pid = 0;
    GetWindowThreadProcessId(view, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      remote_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, sizeof(LVITEMW) + sizeof(wchar_t) * kChars,
                                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteCells() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool usable() const { return remote_ != nullptr; }
  std::string Cell(int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote_ + sizeof(LVITEMW));
    item.cchTextMax = kChars;
    if (!WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr)) return {};
    const LRESULT n = SendMessageW(view_, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(remote_));
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) ReadProcessMemory(process_, item.pszText, wide.data(), sizeof(wchar_t) * size_t(n), nullptr);
    char buf[4 * kChars] = "";
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
  }

 private:
  static constexpr int kChars = 2048;
  HWND view_;
  HANDLE process_ = nullptr;
  char* remote_ = nullptr;
};

}  // namespace

std::vector<std::string> ListBoxLines(HWND window) {
  HWND list = FindChild(window, [](HWND h) { return _stricmp(ClassOf(h).c_str(), "ListBox") == 0; });
  std::vector<std::string> lines;
  if (HWND view = list ? nullptr : FindChild(window, [](HWND h) { return ClassOf(h) == "SysListView32"; })) {
    // A findings list: its folder and name columns make the path, its change
    // column the line's mark.
    RemoteCells cells(view);
    if (!cells.usable()) return lines;
    const int n = int(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < n; ++row) {
      std::string folder = cells.Cell(row, 1);
      if (!folder.empty() && folder.back() != '\\') folder += '\\';
      const std::string change = cells.Cell(row, 2);
      const std::string mark = change == "New"          ? " *NEW*"
                               : change == "Unreadable" ? " *UNREADABLE*"
                               : change == "Missing"    ? " *MISSING*"
                                                        : "";
      lines.push_back(folder + cells.Cell(row, 0) + mark);
    }
    return lines;
  }
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
