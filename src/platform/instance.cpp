#include "platform/instance.h"

#include <windows.h>

namespace kv {

SystemVersion CurrentSystemVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return {};
#pragma GCC diagnostic pop
  return {unsigned(info.dwPlatformId), unsigned(info.dwMajorVersion)};
}

bool TakeInstanceMarker(const std::string& name) {
  // Never closed: the marker lasts exactly as long as the process.
  HANDLE marker = CreateMutexA(nullptr, FALSE, name.c_str());
  return marker && GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace kv
