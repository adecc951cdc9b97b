#include "platform/RegClass.h"

#include "core/regwatch_rules.h"

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
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  key_ = key;
  open_ = true;
  return true;
}

namespace {

// Names at index 0, 1, 2, ... until the key has no more. Sizes are in
// characters without the NUL; a multi-byte code page may need more bytes,
// which a larger buffer on the retry gives. A name that cannot be had is
// left out and the enumeration goes on.
template <typename EnumAt>
std::vector<std::string> EnumNames(DWORD maxName, EnumAt enumAt) {
  std::vector<std::string> names;
  std::string buf(size_t(maxName) * 2 + 2, '\0');
  int retries = 0;
  for (DWORD i = 0;;) {
    DWORD len = DWORD(buf.size());
    const LONG r = enumAt(i, buf.data(), &len);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r == ERROR_MORE_DATA && retries++ < kRetries) {
      buf.resize(buf.size() * 2);
      continue;
    }
    if (r == ERROR_SUCCESS) names.emplace_back(buf.data(), len);
    retries = 0;
    ++i;
  }
  return names;
}

}  // namespace

std::vector<std::string> RegClass::GetAllValues() {
  if (!open_) return {};
  DWORD maxName = 0;
  RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                   nullptr, nullptr, nullptr);
  // No data buffer: a value of any size enumerates.
  return EnumNames(maxName, [this](DWORD i, char* buf, DWORD* len) {
    return RegEnumValueA(key_, i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::string> RegClass::GetAllSubDirectories() {
  if (!open_) return {};
  DWORD maxName = 0;
  RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  return EnumNames(maxName, [this](DWORD i, char* buf, DWORD* len) {
    return RegEnumKeyExA(key_, i, buf, len, nullptr, nullptr, nullptr, nullptr);
  });
}

bool RegClass::ReadValue(const std::string& name, DWORD& type, std::string& data) {
  if (!open_) return false;
  DWORD size = 0;
  if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  for (int i = 0; i < kRetries; ++i) {
    data.assign(size_t(size), '\0');
    DWORD got = size;
    const LONG r = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &got);
    if (r == ERROR_SUCCESS) {
      data.resize(got);
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
         RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
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
  if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE | view_, &key) != ERROR_SUCCESS)
    return false;
  const bool deleted = RegDeleteValueA(key, name.c_str()) == ERROR_SUCCESS;
  RegCloseKey(key);
  return deleted;
}

}  // namespace kv
