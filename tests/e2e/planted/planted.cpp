// A library planted beside a program under a system library's name. When
// anything loads it, it leaves "<its own path>.loaded" behind and refuses
// to load, so the program goes on as if nothing had been found.
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH - 8);
    lstrcpyA(path + n, ".loaded");
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return FALSE;
  }
  return TRUE;
}
