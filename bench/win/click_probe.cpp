// Starts Korvanel.exe from a program folder and, while its check runs,
// clicks Pause every 250 ms (a button press and release posted to the
// button) and times the answer: "Resume" shown. A second click resumes, and
// is timed the same way. Ends with the program; prints one line:
//   samples=N median_ms=.. p95_ms=.. max_ms=.. over_100ms=N total=SECONDS
//
//   click_probe DIR ARGS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "integrity/intCheck_ids.h"

namespace {

LARGE_INTEGER g_freq;

double Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(g_freq.QuadPart);
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindCheckWindow(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid) return TRUE;
  char text[256] = "";
  GetWindowTextA(h, text, sizeof text);
  const std::string t = text;
  if (t.size() < 9 || t.compare(t.size() - 9, 9, "AutoCheck") != 0) return TRUE;
  s->found = h;
  return FALSE;
}

void Click(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&g_freq);
  if (argc < 3) {
    std::fprintf(stderr, "usage: click_probe DIR ARGS\n");
    return 2;
  }
  std::string dir = argv[1];
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  const std::string exe = dir + "Korvanel.exe";
  std::string cmd = "\"" + exe + "\" " + argv[2];
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double started = Now();
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                      &pi)) {
    std::printf("error=start\n");
    return 1;
  }
  using namespace kv::intcheck_ids;
  std::vector<double> answers;
  HWND window = nullptr, pause = nullptr, resume = nullptr;
  const auto ended = [&](DWORD ms) { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; };
  // Waits for "Resume" to be shown (or hidden); -1 when the check ended first.
  const auto answer = [&](bool shown) -> double {
    const double t0 = Now();
    Click(pause);
    while (Now() - t0 < 30) {
      if (!IsWindow(resume)) return -1;
      if (bool(IsWindowVisible(resume)) == shown) return (Now() - t0) * 1000;
      if (ended(1)) return -1;
    }
    return -1;
  };
  while (!ended(window ? 250 : 100)) {
    if (!window) {
      Search s{pi.dwProcessId, nullptr};
      EnumWindows(FindCheckWindow, reinterpret_cast<LPARAM>(&s));
      if (!s.found) continue;
      window = s.found;
      pause = GetDlgItem(window, kImage9);
      resume = GetDlgItem(window, kLabel11);
      if (!pause || !resume) window = nullptr;
      continue;
    }
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    // Pause means something only while files are being checked.
    // Ended: the title reads 100%, or names the findings ("Korvanel - ...").
    const std::string t = title;
    if (t == "100% AutoCheck" || t.rfind("Korvanel ", 0) == 0 || !IsWindow(window)) {
      window = nullptr;
      continue;
    }
    const double paused = answer(true);
    if (paused < 0) continue;
    answers.push_back(paused);
    const double resumed = answer(false);
    if (resumed >= 0) answers.push_back(resumed);
  }
  const double total = Now() - started;
  std::sort(answers.begin(), answers.end());
  const auto at = [&](double q) {
    return answers.empty() ? 0.0 : answers[std::min(answers.size() - 1, size_t(q * double(answers.size())))];
  };
  const long over = long(std::count_if(answers.begin(), answers.end(), [](double a) { return a > 100; }));
  std::printf("samples=%zu median_ms=%.1f p95_ms=%.1f max_ms=%.1f over_100ms=%ld total=%.1f\n",
              answers.size(), at(0.5), at(0.95), answers.empty() ? 0.0 : answers.back(), over, total);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return 0;
}
