#include "platform/identity.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace kv {

std::string MachineName() {
  wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1] = L"";
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(buf, &size) ? NarrowText(std::wstring_view(buf, size)) : std::string();
}

std::string AccountName() {
  wchar_t buf[257] = L"";
  DWORD size = 257;
  // The size counts the closing NUL.
  return GetUserNameW(buf, &size) && size > 0 ? NarrowText(std::wstring_view(buf, size - 1)) : std::string();
}

}  // namespace kv
