#include "platform/RegClass.h"

#include <cstring>

#include "core/regwatch_rules.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

// A value or key added between the size query and the enumeration makes a
// buffer too small once more; this many fresh tries are enough for any
// honest change.
constexpr int kRetries = 8;

}  // namespace

RegClass::~RegClass() {
  if (open_) RegCloseKey(key_);
}

bool RegClass::OpenRegistry(HKEY root, const std::string& path, REGSAM view) {
  if (open_) CloseRegistry();
  if (!root) return false;
  root_ = root;
  path_ = path;
  view_ = view;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, WideText(path).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  key_ = key;
  open_ = true;
  return true;
}

namespace {

// Names at index 0, 1, 2, ... until the key has no more. Sizes are in
// characters without the NUL. A name that cannot be had is left out and the
// enumeration goes on.
template <typename EnumAt>
std::vector<std::string> EnumNames(DWORD maxName, EnumAt enumAt) {
  std::vector<std::string> names;
  std::wstring buf(size_t(maxName) + 2, L'\0');
  int retries = 0;
  for (DWORD i = 0;;) {
    DWORD len = DWORD(buf.size());
    const LONG r = enumAt(i, buf.data(), &len);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r == ERROR_MORE_DATA && retries++ < kRetries) {
      buf.resize(buf.size() * 2);
      continue;
    }
    if (r == ERROR_SUCCESS) names.push_back(NarrowText(std::wstring_view(buf.data(), len)));
    retries = 0;
    ++i;
  }
  return names;
}

}  // namespace

std::vector<std::string> RegClass::GetAllValues() {
  if (!open_) return {};
  DWORD maxName = 0;
  RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                   nullptr, nullptr, nullptr);
  // No data buffer: a value of any size enumerates.
  return EnumNames(maxName, [this](DWORD i, wchar_t* buf, DWORD* len) {
    return RegEnumValueW(key_, i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::string> RegClass::GetAllSubDirectories() {
  if (!open_) return {};
  DWORD maxName = 0;
  RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  return EnumNames(maxName, [this](DWORD i, wchar_t* buf, DWORD* len) {
    return RegEnumKeyExW(key_, i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

namespace {

bool IsTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Wide text data in the program's 8-bit form, NUL for NUL: each string of a
// multi-string converts on its own, so no escape ever spans two of them.
std::string NarrowData(std::string_view bytes) {
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  std::string out;
  size_t start = 0;
  for (;;) {
    const size_t nul = wide.find(L'\0', start);
    out += NarrowText(std::wstring_view(wide).substr(start, nul == std::wstring::npos ? nul : nul - start));
    if (nul == std::wstring::npos) break;
    out += '\0';
    start = nul + 1;
  }
  return out;
}

}  // namespace

bool RegClass::ReadValue(const std::string& name, DWORD& type, std::string& data) {
  if (!open_) return false;
  const std::wstring wideName = WideText(name);
  DWORD size = 0;
  if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  for (int i = 0; i < kRetries; ++i) {
    data.assign(size_t(size), '\0');
    DWORD got = size;
    const LONG r = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &got);
    if (r == ERROR_SUCCESS) {
      data.resize(got);
      if (IsTextType(type)) data = NarrowData(data);
      return true;
    }
    if (r != ERROR_MORE_DATA) return false;
    size = got > size ? got : size * 2 + 16;
  }
  return false;
}

std::string RegClass::GetValue(const std::string& name) {
  DWORD type = 0;
  std::string data;
  if (!ReadValue(name, type, data)) return {};
  return DataText(type, data);
}

bool RegClass::HasValue(const std::string& name) {
  return open_ &&
         RegQueryValueExW(key_, WideText(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
}

bool RegClass::CloseRegistry() {
  if (!open_) return false;
  if (RegCloseKey(key_) != ERROR_SUCCESS) return false;
  key_ = nullptr;
  open_ = false;
  return true;
}

bool RegClass::DeleteKey(const std::string& name) {
  if (!open_) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root_, WideText(path_).c_str(), 0, KEY_SET_VALUE | view_, &key) != ERROR_SUCCESS)
    return false;
  const bool deleted = RegDeleteValueW(key, WideText(name).c_str()) == ERROR_SUCCESS;
  RegCloseKey(key);
  return deleted;
}

}  // namespace kv
