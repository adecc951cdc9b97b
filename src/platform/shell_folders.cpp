#include "platform/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "core/text.h"

namespace kv {

std::string StartupFolderPath() {
  std::string folder = Trim(ShellFolderPath(CSIDL_COMMON_STARTUP));
  if (folder.empty()) folder = Trim(ShellFolderPath(CSIDL_PROGRAMS)) + "\\StartUp";
  return Trim(folder);
}

std::vector<std::string> StartupFolderPaths() {
  std::vector<std::string> folders{StartupFolderPath()};
  std::string own = Trim(ShellFolderPath(CSIDL_STARTUP));
  if (own.empty()) own = Trim(ShellFolderPath(CSIDL_PROGRAMS)) + "\\StartUp";
  const auto bare = [](std::string f) {
    while (!f.empty() && f.back() == '\\') f.pop_back();
    return f;
  };
  if (!EqualsNoCase(bare(own), bare(folders.front()))) folders.push_back(own);
  return folders;
}

std::string DesktopFolderPath() { return Trim(ShellFolderPath(CSIDL_DESKTOP)); }

}  // namespace kv
