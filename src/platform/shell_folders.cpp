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

std::string DesktopFolderPath() { return Trim(ShellFolderPath(CSIDL_DESKTOP)); }

}  // namespace kv
