// The start-up sequence every run begins with, and the choice of run mode.
#pragma once
#include <string>

namespace kv {

class App;

enum class RunMode { Interactive, AutoLoad, SecureShutDown, ScheduledScan };

// Exit codes of an unattended run that could not start its check, for the
// task scheduler's record: no first full scan yet, or a baseline that is
// there but cannot be read.
inline constexpr int kExitNoBaseline = 1;
inline constexpr int kExitBaselineUnreadable = 2;

// The switch of a command line: trimmed, exact and case-sensitive.
RunMode ParseRunMode(const std::string& argument);

// The program's argument text from a full command line (the program path,
// quoted or not, removed).
std::string ArgumentText(const std::string& fullCommandLine);

// Runs the start-up sequence in the main window's load event. True when the
// main window is to be shown (interactive use).
bool RunStartup(App& app);

}  // namespace kv
