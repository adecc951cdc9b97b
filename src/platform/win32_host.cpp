#include "platform/win32_host.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/scanner.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

// The system places a message box in the middle of the screen; the program
// places it on the window that asks, inside that window's work area.
thread_local HWND boxOwner = nullptr;

LRESULT CALLBACK CentreBox(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && boxOwner) {
    const HWND box = reinterpret_cast<HWND>(wp);
    char cls[16] = "";
    if (GetClassNameA(box, cls, sizeof cls) && lstrcmpA(cls, "#32770") == 0 &&
        GetWindow(box, GW_OWNER) == boxOwner) {
      RECT o{}, r{};
      GetWindowRect(boxOwner, &o);
      GetWindowRect(box, &r);
      MONITORINFO m{};
      m.cbSize = sizeof m;
      GetMonitorInfoA(MonitorFromWindow(boxOwner, MONITOR_DEFAULTTONEAREST), &m);
      const LONG w = r.right - r.left, h = r.bottom - r.top;
      LONG x = o.left + ((o.right - o.left) - w) / 2, y = o.top + ((o.bottom - o.top) - h) / 2;
      x = std::max(m.rcWork.left, std::min(x, m.rcWork.right - w));
      y = std::max(m.rcWork.top, std::min(y, m.rcWork.bottom - h));
      SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      boxOwner = nullptr;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

MsgAnswer Win32Host::ShowMessage(const std::string& text, const std::string& title,
                                MsgButtons buttons, MsgIcon icon) {
  return ShowMessageOver(nullptr, text, title, buttons, icon);
}

MsgAnswer Win32Host::ShowMessageOver(HWND owner, const std::string& text, const std::string& title,
                                     MsgButtons buttons, MsgIcon icon) {
  UINT type = MB_OK;
  if (buttons == MsgButtons::YesNo) type = MB_YESNO;
  if (buttons == MsgButtons::OkCancel) type = MB_OKCANCEL;
  switch (icon) {
    case MsgIcon::Error: type |= MB_ICONERROR; break;
    case MsgIcon::Warning: type |= MB_ICONWARNING; break;
    case MsgIcon::Information: type |= MB_ICONINFORMATION; break;
    case MsgIcon::Question: type |= MB_ICONQUESTION; break;
    case MsgIcon::None: break;
  }
  // Without a window that asks, the active window of this thread owns the
  // box so it stays in front of it; unattended runs have none and get a
  // task-modal box.
  if (!owner || !IsWindow(owner) || !IsWindowVisible(owner)) owner = GetActiveWindow();
  if (!owner) type |= MB_TASKMODAL | MB_SETFOREGROUND;
  // The box disables its owner; the windows that own the owner (the main
  // window behind the wizard) wait for the answer as well.
  std::vector<HWND> held;
  for (HWND w = owner ? GetWindow(owner, GW_OWNER) : nullptr; w; w = GetWindow(w, GW_OWNER))
    if (IsWindowEnabled(w)) {
      EnableWindow(w, FALSE);
      held.push_back(w);
    }
  HHOOK hook = nullptr;
  if (owner) {
    boxOwner = owner;
    hook = SetWindowsHookExA(WH_CBT, &CentreBox, nullptr, GetCurrentThreadId());
  }
  const int answer = MessageBoxA(owner, text.c_str(), title.c_str(), type);
  if (hook) UnhookWindowsHookEx(hook);
  boxOwner = nullptr;
  for (auto w = held.rbegin(); w != held.rend(); ++w) EnableWindow(*w, TRUE);
  switch (answer) {
    case IDYES: return MsgAnswer::Yes;
    case IDNO: return MsgAnswer::No;
    case IDCANCEL: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
  }
}

namespace {

// The program is named exactly, never looked for: a command line that does
// not start with a quoted full path is not started.
bool Launch(const std::string& commandLine, int showMode, PROCESS_INFORMATION& pi) {
  const auto program = ProgramOfCommandLine(commandLine);
  if (!program) return false;
  // Both widened exactly: an escaped name reaches the started program as the
  // file's own name, never as a look-alike the code page would have made.
  std::wstring cmd = WideText(commandLine);
  const std::wstring wideProgram = WidePath(*program);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = WORD(showMode);
  if (!CreateProcessW(wideProgram.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  return true;
}

}  // namespace

bool Win32Host::StartProcess(const std::string& commandLine, int showMode) {
  PROCESS_INFORMATION pi{};
  if (!Launch(commandLine, showMode, pi)) return false;
  // Programs started this way are never waited for and no handle is kept.
  CloseHandle(pi.hProcess);
  return true;
}

ProcessEnd Win32Host::StartAndWait(const std::string& commandLine, int showMode,
                                   unsigned long timeoutMs,
                                   const std::function<bool()>& keepWaiting) {
  ProcessEnd end;
  PROCESS_INFORMATION pi{};
  if (!Launch(commandLine, showMode, pi)) return end;
  end.started = true;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (waited >= timeoutMs) break;
    // Woken by the program's end or by input, so a Stop is taken at once.
    const DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE,
                                              DWORD(std::min<ULONGLONG>(timeoutMs - waited, 250)),
                                              QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      DWORD code = 0;
      end.finished = GetExitCodeProcess(pi.hProcess, &code) != FALSE;
      end.exitCode = code;
      break;
    }
    if (r == WAIT_FAILED || (keepWaiting && !keepWaiting())) break;
  }
  CloseHandle(pi.hProcess);
  return end;
}

long Win32Host::ShellOpen(const std::string& file, const std::string& directory, int showCmd) {
  const std::wstring wideFile = WideText(file), wideDirectory = WideText(directory);
  HINSTANCE r = ShellExecuteW(GetDesktopWindow(), L"Open", wideFile.c_str(), nullptr,
                              directory.empty() ? nullptr : wideDirectory.c_str(), showCmd);
  return long(reinterpret_cast<INT_PTR>(r));
}

int Win32Host::ChooseFromMenu(HWND owner, const std::vector<MenuItem>& items, int x, int y) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (const MenuItem& item : items) {
    if (item.text.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | (item.enabled ? 0u : MF_GRAYED), UINT_PTR(item.id),
                WideText(item.text).c_str());
  }
  // Only a window in front closes its menu when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen;
}

bool Win32Host::ShowFileProperties(const std::string& file, HWND owner) {
  const std::wstring wide = WideText(file);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = L"properties";
  info.lpFile = wide.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

bool Win32Host::CopyText(const std::string& text, HWND owner) {
  const std::wstring wide = WideText(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* p = GlobalLock(memory)) {
    memcpy(p, wide.c_str(), bytes);
    GlobalUnlock(memory);
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the memory once it took it.
  const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(memory);
  return taken;
}

std::string Win32Host::OpenFileDialog(const std::string& title, const std::string& filter,
                                      void* owner) {
  // Full-path buffers: the dialog writes up to MAX_PATH characters and more
  // with long names.
  wchar_t file[MAX_PATH + 1] = L"";
  wchar_t fileTitle[MAX_PATH + 1] = L"";
  std::wstring f = WideText(filter);
  for (wchar_t& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  const std::wstring wideTitle = WideText(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner ? static_cast<HWND>(owner) : GetActiveWindow();
  ofn.hInstance = GetModuleHandleA(nullptr);
  ofn.lpstrFilter = f.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = DWORD(std::size(file));
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = DWORD(std::size(fileTitle));
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return GetOpenFileNameW(&ofn) ? NarrowText(file) : std::string();
}

std::string Win32Host::BrowseForFolder(const std::string& title) {
  const std::wstring wideTitle = WideText(title.empty() ? "Select a Folder" : title);
  BROWSEINFOW bi{};
  bi.hwndOwner = GetActiveWindow();
  bi.lpszTitle = wideTitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return {};
  // The shell writes a full path of up to MAX_PATH characters.
  wchar_t path[MAX_PATH] = L"";
  std::string result = SHGetPathFromIDListW(pidl, path) ? NarrowText(path) : "";
  CoTaskMemFree(pidl);
  return result;
}

bool Win32Host::Power(const PowerRequest& request) {
  HANDLE token;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
    TOKEN_PRIVILEGES tp{};
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid)) {
      tp.PrivilegeCount = 1;
      tp.Privileges[0].Attributes =
          SE_PRIVILEGE_ENABLED | SE_PRIVILEGE_ENABLED_BY_DEFAULT | SE_PRIVILEGE_USED_FOR_ACCESS;
      DWORD returned = 0;
      AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, &returned);
    }
    CloseHandle(token);
  }
  if (request.kind == PowerRequest::Kind::PowerState)
    return SetSystemPowerState(request.suspend, request.force);
  if (request.endDesktopOwner) {
    // A log-off that cannot be forced: the shell's process goes first.
    DWORD pid = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &pid);
    if (HANDLE shell = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid)) {
      TerminateProcess(shell, 1);
      CloseHandle(shell);
    }
  }
  return ExitWindowsEx(request.exitFlags, 0xFFFFFFFF);
}

namespace {

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  return data;
}

template <size_t N>
void CopyCut(wchar_t (&to)[N], const std::wstring& from) {
  const size_t n = std::min(from.size(), N - 1);
  std::copy_n(from.begin(), n, to);
  to[n] = L'\0';
}

}  // namespace

void Win32Host::ShowNotifyIcon(HWND window, const std::wstring& title, const std::wstring& text) {
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE | NIF_INFO;
  data.uCallbackMessage = kNotifyIconMessage;
  data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  CopyCut(data.szTip, title);
  CopyCut(data.szInfoTitle, title);
  CopyCut(data.szInfo, text);
  data.dwInfoFlags = NIIF_WARNING;
  // A second notice for the same window changes the balloon of its icon.
  if (!Shell_NotifyIconW(NIM_MODIFY, &data)) Shell_NotifyIconW(NIM_ADD, &data);
}

void Win32Host::HideNotifyIcon(HWND window) {
  NOTIFYICONDATAW data = IconData(window);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void Win32Host::EndProgram(int exitCode) { ExitProcess(UINT(exitCode)); }

void Win32Host::RequestAttention(HWND window) {
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = window;
  flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;  // until the window comes to the front
  FlashWindowEx(&flash);
}

LocalTime Win32Host::Now() {
  SYSTEMTIME local, utc;
  GetLocalTime(&local);
  GetSystemTime(&utc);
  // The offset is what separates the two readings of one moment, to the
  // minute (they may straddle a second).
  const auto minutes = [](const SYSTEMTIME& s) {
    FILETIME ft;
    SystemTimeToFileTime(&s, &ft);
    const ULONGLONG t = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (long long)(t / 600000000ULL);
  };
  const int offset = int(minutes(local) - minutes(utc));
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
          offset};
}

void Win32Host::LogEvent(EventType type, unsigned long id, const std::string& text) {
  HANDLE source = RegisterEventSourceW(nullptr, L"Korvanel");
  if (!source) return;
  const WORD kind = type == EventType::Error     ? EVENTLOG_ERROR_TYPE
                    : type == EventType::Warning ? EVENTLOG_WARNING_TYPE
                                                 : EVENTLOG_INFORMATION_TYPE;
  const std::wstring wide = WideText(text);
  const wchar_t* strings[] = {wide.c_str()};
  ReportEventW(source, kind, 0, DWORD(id), nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(source);
}

}  // namespace kv
