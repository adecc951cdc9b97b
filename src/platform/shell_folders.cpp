#include "platform/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace kv {

std::string StartupFolderPath() {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &pidl)) || !pidl) return {};
  char path[MAX_PATH] = "";
  std::string result = SHGetPathFromIDListA(pidl, path) ? path : "";
  CoTaskMemFree(pidl);
  return result;
}

}  // namespace kv
