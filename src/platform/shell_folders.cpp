#include "platform/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace kv {

std::string StartupFolderPath() { return ShellFolderPath(CSIDL_STARTUP); }

}  // namespace kv
