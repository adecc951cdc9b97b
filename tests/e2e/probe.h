// Looking at another process's windows from outside, the way a person sees
// them, and waiting for what they show.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kv::test {

// Polls cond() every few milliseconds until it holds; false when timeoutMs
// passes first. For other processes, whose messages this one cannot pump.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs);

std::string WindowText(HWND h);
std::string ClassOf(HWND h);

// The first visible top-level window of the process that matches.
HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match);
// The same among its hidden windows too.
HWND FindAnyTopWindow(DWORD pid, const std::function<bool(HWND)>& match);
// The first child window (at any depth) that matches.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& match);

// The lines of the first list box inside a window of another process; of
// a findings list view, each row as its finding's line (path and mark).
std::vector<std::string> ListBoxLines(HWND window);

}  // namespace kv::test
