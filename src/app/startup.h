// The start-up sequence every run begins with, and the choice of run mode.
#pragma once
#include <string>

#include "context/start_mode.h"

namespace kv {

class App;

// How the arguments start the program: "/n" and five counts are a notice;
// otherwise the switch is trimmed, exact and case-sensitive, and any other
// text is an unknown start.
StartMode ParseStartMode(const std::string& arguments);

// The program's argument text from a full command line (the program path,
// quoted or not, removed).
std::string ArgumentText(const std::string& fullCommandLine);

// Runs the start-up sequence for the App's start mode. True when the main
// window is to be shown (a start by hand).
bool RunStartup(App& app);

}  // namespace kv
