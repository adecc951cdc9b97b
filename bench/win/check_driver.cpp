// Starts Korvanel.exe from a program folder and times it from the outside,
// the way bench/check and bench/peers need it. Runs under Wine beside the
// program; prints one line of "key=seconds" fields.
//
//   check_driver noop                       ends at once (a child for "start")
//   check_driver start                      time to start and end a trivial Wine process
//   check_driver first DIR [DECLINE]        the first full scan: answers No to the first
//                                           DECLINE first-run questions (and OK to the
//                                           notice after each), Yes to the next one, and
//                                           waits for the main window. With an algorithm
//                                           other than CRC-32 start-up asks twice: about
//                                           Data\Integrity.dat, then about the
//                                           algorithm's own file; DECLINE 1 builds only that
//   check_driver check DIR ARGS [LINES]     a run with ARGS ("/r"): ends when the program
//                                           exits, or, when LINES > 0, once the window reads
//                                           "100% AutoCheck" (or, ended, names its findings:
//                                           "Korvanel - ...") and lists LINES findings; the
//                                           program is then ended
//   check_driver folder DIR                 a first folder scan from the Integrity page:
//                                           starts the program by hand, opens the page,
//                                           picks the first custom folder, answers Yes, and
//                                           waits until its baseline is written
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/mForm1_ids.h"
#include "customfolders/intF_ids.h"

namespace {

LARGE_INTEGER g_freq;

double Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(g_freq.QuadPart);
}

std::string TextOf(HWND h) {
  char buf[1024] = "";
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

struct Search {
  DWORD pid;
  const char* cls;    // class to match, or nullptr
  const char* title;  // title to match, or nullptr
  const char* ending;  // end of the title to match, or nullptr
  HWND found;
  bool hiddenToo = false;
};

BOOL CALLBACK FindTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid || (!s->hiddenToo && !IsWindowVisible(h))) return TRUE;
  if (s->cls) {
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) != s->cls) return TRUE;
  }
  const std::string text = (s->title || s->ending) ? TextOf(h) : std::string();
  if (s->title && text != s->title) return TRUE;
  if (s->ending) {
    const std::string end = s->ending;
    if (text.size() < end.size() || text.compare(text.size() - end.size(), end.size(), end) != 0)
      return TRUE;
  }
  s->found = h;
  return FALSE;
}

HWND FindWindowOf(DWORD pid, const char* cls, const char* title, const char* ending = nullptr) {
  Search s{pid, cls, title, ending, nullptr};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The findings are in a list view; older builds used a list box.
BOOL CALLBACK FindList(HWND h, LPARAM lp) {
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (_stricmp(cls, "ListBox") == 0 || _stricmp(cls, WC_LISTVIEWA) == 0) {
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
  }
  return TRUE;
}

int ListCount(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, FindList, reinterpret_cast<LPARAM>(&list));
  if (!list) return -1;
  char cls[64] = "";
  GetClassNameA(list, cls, sizeof cls);
  const UINT count = _stricmp(cls, "ListBox") == 0 ? LB_GETCOUNT : LVM_GETITEMCOUNT;
  return int(SendMessageA(list, count, 0, 0));
}

struct Child {
  PROCESS_INFORMATION pi{};
  double started = 0;
  bool Start(const std::string& exe, const std::string& args, const std::string& dir) {
    std::string cmd = "\"" + exe + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    started = Now();
    return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &si, &pi) != 0;
  }
  bool Exited(DWORD waitMs) { return WaitForSingleObject(pi.hProcess, waitMs) == WAIT_OBJECT_0; }
  DWORD ExitCode() {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  ~Child() {
    if (!pi.hProcess) return;
    if (!Exited(0)) {
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, 10000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
};

constexpr double kTimeout = 1800;

int Fail(const char* what) {
  std::printf("error=%s\n", what);
  std::fflush(stdout);
  return 1;
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

// Pure Wine cost: start a trivial process and wait for its end.
int StartCost() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  Child c;
  if (!c.Start(self, "noop", "")) return Fail("start");
  c.Exited(INFINITE);
  std::printf("total=%.4f\n", Now() - c.started);
  return 0;
}

// The next message box of the process that is not `previous` (which may
// still be closing); nullptr when the process ends first.
HWND NextBox(Child& c, HWND previous) {
  while (Now() - c.started < kTimeout) {
    HWND box = FindWindowOf(c.pi.dwProcessId, "#32770", nullptr);
    if (box && box != previous) return box;
    if (c.Exited(5)) return nullptr;
  }
  return nullptr;
}

void Press(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

int FirstScan(const std::string& dir, int decline) {
  Child c;
  if (!c.Start(dir + "Korvanel.exe", "", dir)) return Fail("start");
  HWND box = nullptr;
  for (int declined = 0;; ) {
    box = NextBox(c, box);
    if (!box) return Fail("no-question");
    if (!GetDlgItem(box, IDYES)) {
      Press(box, IDOK);  // the notice after a declined question
      continue;
    }
    if (declined == decline) break;
    ++declined;
    Press(box, IDNO);
  }
  const double asked = Now();
  Press(box, IDYES);
  // Few questions to the Wine server while the scan runs (see Check): the
  // check window's title is read until it reads 100%, and only then are the
  // windows searched for the main window every 10 ms.
  HWND main = nullptr, window = nullptr;
  bool finishing = false;
  while (!main && Now() - asked < kTimeout) {
    if (c.Exited(finishing ? 10 : window ? 20 : 100)) return Fail("exited-during-scan");
    if (!finishing && !window) window = FindWindowOf(c.pi.dwProcessId, nullptr, nullptr, "AutoCheck");
    if (!finishing && window) finishing = TextOf(window) == "100% AutoCheck" || !IsWindow(window);
    if (finishing || !window) main = FindWindowOf(c.pi.dwProcessId, nullptr, "Welcome to Korvanel");
  }
  if (!main) return Fail("no-main-window");
  const double done = Now();
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!c.Exited(30000)) return Fail("did-not-close");
  std::printf("startup=%.4f scan=%.4f total=%.4f\n", asked - c.started, done - asked,
              done - c.started);
  return 0;
}

struct ById {
  int id;
  HWND found;
};

BOOL CALLBACK FindId(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ById*>(lp);
  if (GetDlgCtrlID(h) != s->id) return TRUE;
  s->found = h;
  return FALSE;
}

// A control anywhere below `top`, by its id.
HWND Descendant(HWND top, int id) {
  ById s{id, nullptr};
  EnumChildWindows(top, FindId, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

int FolderScan(const std::string& dir) {
  Child c;
  if (!c.Start(dir + "Korvanel.exe", "", dir)) return Fail("start");
  HWND main = nullptr;
  while (!main) {
    if (c.Exited(50)) return Fail("exited-before-main-window");
    if (Now() - c.started > 60) return Fail("no-main-window");
    main = FindWindowOf(c.pi.dwProcessId, nullptr, "Welcome to Korvanel");
  }
  // The Integrity page opens on a click of its navigation picture (the lit
  // one, which the pointer's hover shows); its folder list is made with it.
  HWND combo = nullptr;
  for (double opened = Now(); !combo; Sleep(50)) {
    if (Now() - opened > 30) return Fail("no-integrity-page");
    if (HWND nav = GetDlgItem(main, kv::mform1_ids::NavPicture(1, true))) {
      PostMessageA(nav, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      PostMessageA(nav, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    combo = Descendant(main, kv::intf_ids::kCombo1);
  }
  if (SendMessageA(combo, CB_GETCOUNT, 0, 0) < 2) return Fail("no-custom-folder");
  // A navigation click still queued opens the page again and sets the list
  // back to its first entry: the folder is picked until the question comes.
  HWND box = nullptr;
  for (int tries = 0; !box && tries < 20; ++tries) {
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(kv::intf_ids::kCombo1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    for (double picked = Now(); !box && Now() - picked < 1.5; Sleep(20)) {
      if (c.Exited(0)) return Fail("exited-before-question");
      box = FindWindowOf(c.pi.dwProcessId, "#32770", nullptr);
    }
  }
  if (!box || !GetDlgItem(box, IDYES)) return Fail("no-question");
  const double asked = Now();
  Press(box, IDYES);
  // As in Check: the window is looked for every 100 ms, then only its title
  // read. A small folder may be done before the window is first seen.
  constexpr char kUpdated[] = "Integrity File(s) Updated";
  HWND window = nullptr;
  for (;;) {
    if (c.Exited(window ? 10 : 100)) return Fail("exited-during-scan");
    if (Now() - asked > kTimeout) return Fail("timeout");
    if (!window) {
      for (const char* ending : {"AutoCheck", kUpdated}) {
        Search s{c.pi.dwProcessId, nullptr, nullptr, ending, nullptr, true};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
        if ((window = s.found)) break;
      }
      continue;
    }
    if (TextOf(window) == kUpdated) break;
  }
  const double done = Now();
  std::printf("startup=%.4f scan=%.4f total=%.4f\n", asked - c.started, done - asked, done - c.started);
  return 0;
}

int Check(const std::string& dir, const std::string& args, int lines) {
  Child c;
  if (!c.Start(dir + "Korvanel.exe", args, dir)) return Fail("start");
  if (lines <= 0) {
    if (!c.Exited(DWORD(kTimeout * 1000))) return Fail("did-not-end");
    std::printf("total=%.4f exit=%lu\n", Now() - c.started, c.ExitCode());
    return 0;
  }
  // Findings keep the window open: the check is done when it reads 100% and
  // lists every finding. Each question to another process's windows is a
  // request to the Wine server, which the checking program needs for every
  // file it opens; so the window is looked for only every 100 ms, and once
  // found only its title is read, every 10 ms.
  HWND window = nullptr;
  for (;;) {
    if (c.Exited(window ? 10 : 100)) return Fail("exited-with-findings-expected");
    if (Now() - c.started > kTimeout) return Fail("timeout");
    if (!window) {
      window = FindWindowOf(c.pi.dwProcessId, nullptr, nullptr, "AutoCheck");
      continue;
    }
    const std::string title = TextOf(window);
    if (title != "100% AutoCheck" && title.rfind("Korvanel ", 0) != 0) continue;
    const double done = Now();
    const int n = ListCount(window);
    if (n >= lines) {
      std::printf("total=%.4f lines=%d\n", done - c.started, n);
      return 0;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&g_freq);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "noop") return 0;
  if (mode == "start") return StartCost();
  if (mode == "first" && argc > 2) return FirstScan(WithSlash(argv[2]), argc > 3 ? std::atoi(argv[3]) : 0);
  if (mode == "folder" && argc > 2) return FolderScan(WithSlash(argv[2]));
  if (mode == "check" && argc > 3) return Check(WithSlash(argv[2]), argv[3], argc > 4 ? std::atoi(argv[4]) : 0);
  std::fprintf(stderr, "usage: check_driver noop|start|first DIR [DECLINE]|folder DIR|check DIR ARGS [LINES]\n");
  return 2;
}
