// Runs a real Korvanel program in a temporary program folder and talks to
// its message boxes the way a person would.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/probe.h"
#include "support/program_folder.h"

namespace kv::test {

struct FoundBox {
  HWND hwnd = nullptr;
  std::string title, text;
};

class ProgramRun {
 public:
  // Copies exeName from the build's bin folder into the program folder and
  // starts it there with the argument text.
  ProgramRun(const ProgramFolder& folder, const std::string& exeName, const std::string& args);
  // Starts the program where it lies, in its own folder (an installed or
  // unpacked copy).
  ProgramRun(const std::string& exe, const std::string& args);
  ~ProgramRun();

  // The next message box of the program; an empty result on timeout.
  FoundBox WaitForBox(int timeoutMs = 30000);
  // Waits for a box with exactly this text and presses the button.
  bool Answer(const std::string& text, int buttonId = IDOK, int timeoutMs = 30000);
  void Press(const FoundBox& box, int buttonId);
  bool WaitForExit(int timeoutMs = 30000);
  // The exit code of a program that has ended; STILL_ACTIVE while it runs.
  DWORD ExitCode() const;
  DWORD processId() const { return pi_.dwProcessId; }

 private:
  void Start(const std::string& exe, const std::string& args, const std::string& dir);
  PROCESS_INFORMATION pi_{};
};

}  // namespace kv::test

namespace kv::test {
// A visible top-level window of the process with exactly this title.
HWND FindProcessWindow(DWORD pid, const std::string& title, int timeoutMs = 60000);
// The check window of a logon check that ended with findings: its title
// names them ("Korvanel — 2 changed files"), given back in `title`.
HWND FindFindingsWindow(DWORD pid, int timeoutMs = 120000, std::wstring* title = nullptr);
// Starts the program in the folder, accepts the first full scan and closes
// it once its main window is back; false when that failed.
// The notice a scheduled scan with findings leaves: a hidden window of a
// process of its own. CloseNotices ends every one (each run does, as it
// ends, so that no notice outlives its test).
HWND FindNotice(int timeoutMs = 20000);
void CloseNotices();
// The checksum text stored for `key` in a baseline file's text; empty when
// it has no entry.
std::string EntryOf(const std::string& baseline, const std::string& key);
bool BuildBaselineInteractively(const ProgramFolder& folder, const std::string& exeName = "Korvanel.exe");
// The prefix's system directory, with a trailing "\".
std::string SystemFolder();
}  // namespace kv::test
