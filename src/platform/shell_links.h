// Reading shortcut (.lnk) files.
#pragma once
#include <optional>
#include <string>

namespace kv {

struct ShellLinkTarget {
  std::string path;       // the program or document the shortcut starts
  std::string arguments;
};

// What the shortcut file starts; nullopt when it is no shortcut the shell
// can load, or names no file (a link to a shell object).
std::optional<ShellLinkTarget> ReadShellLink(const std::string& link);

}  // namespace kv
