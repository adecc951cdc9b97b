#include "platform/window_places.h"

#include <cstdio>

#include "core/text.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

constexpr char kPlacesKey[] = "Software\\Korvanel\\Windows";

// "<data folder>|<window>", the folder as it is named, without letter case.
std::wstring ValueName(const std::string& dataFolder, const std::string& window) {
  return WideText(LCase(dataFolder) + "|" + window);
}

}  // namespace

std::optional<WindowPlace> KeptWindowPlace(const std::string& dataFolder, const std::string& window) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kPlacesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t text[64] = L"";
  DWORD type = 0, size = sizeof text - sizeof(wchar_t);
  const LSTATUS read = RegQueryValueExW(key, ValueName(dataFolder, window).c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  WindowPlace place;
  long l = 0, t = 0, r = 0, b = 0;
  int maximized = 0;
  if (swscanf(text, L"%ld,%ld,%ld,%ld,%d", &l, &t, &r, &b, &maximized) != 5 || r <= l || b <= t)
    return std::nullopt;
  place.normal = RECT{l, t, r, b};
  place.maximized = maximized != 0;
  return place;
}

void KeepWindowPlace(const std::string& dataFolder, const std::string& window, const WindowPlace& place) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kPlacesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  wchar_t text[64];
  const RECT& r = place.normal;
  const int n = swprintf(text, 64, L"%ld,%ld,%ld,%ld,%d", r.left, r.top, r.right, r.bottom,
                         place.maximized ? 1 : 0);
  if (n > 0)
    RegSetValueExW(key, ValueName(dataFolder, window).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text), DWORD((n + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace kv
