// Where the user left a window (the main window, the check window), kept
// from run to run under the current user, per data folder: a portable copy
// carried to another machine or screen takes nothing with it, and two
// copies of the program on one machine keep their own.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace kv {

struct WindowPlace {
  RECT normal{};           // the restored window's rectangle, screen coordinates
  bool maximized = false;  // it was left maximised
};

std::optional<WindowPlace> KeptWindowPlace(const std::string& dataFolder, const std::string& window);
void KeepWindowPlace(const std::string& dataFolder, const std::string& window, const WindowPlace& place);

}  // namespace kv
