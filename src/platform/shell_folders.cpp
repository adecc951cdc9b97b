#include "platform/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "core/text.h"

namespace kv {

namespace {

// A special folder's path; empty when the shell has none. The buffer is a
// full path long: the shell writes up to MAX_PATH characters.
std::string SpecialFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
  char path[MAX_PATH + 1] = "";
  const bool ok = SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  return ok ? Trim(std::string(path)) : std::string();
}

}  // namespace

std::string StartupFolderPath() {
  std::string folder = SpecialFolder(CSIDL_COMMON_STARTUP);
  if (folder.empty()) folder = SpecialFolder(CSIDL_PROGRAMS) + "\\StartUp";
  return Trim(folder);
}

std::string DesktopFolderPath() { return SpecialFolder(CSIDL_DESKTOP); }

}  // namespace kv
