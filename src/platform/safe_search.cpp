#include "platform/safe_search.h"

#include <windows.h>

namespace kv {

void UseSafeLibrarySearch() {
  // Resolved by name: systems without the safe-search update lack these
  // calls, and still lose the current directory below.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using SetDirs = BOOL(WINAPI*)(DWORD);
  if (auto set = reinterpret_cast<SetDirs>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
  using SetMode = BOOL(WINAPI*)(DWORD);
  if (auto mode = reinterpret_cast<SetMode>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "SetSearchPathMode"))))
    mode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

}  // namespace kv
