// Tests against the real registry of the private Wine prefix: values are
// made in the watched keys and put back as they were when each test ends.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/app_fixture.h"

namespace kv::test {

class RegistryTest : public AppTest {
 protected:
  RegistryTest() { MakeDataFolders(); }
  ~RegistryTest() override {
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) (*it)();
  }

  // Sets a value, restoring what was there (or removing it) when the test ends.
  void Set(HKEY root, const std::string& path, const std::string& name, const std::string& data,
           DWORD type = REG_SZ, REGSAM view = 0) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                        nullptr),
        ERROR_SUCCESS);
    DWORD oldType = 0, oldSize = 0;
    const bool had =
        RegQueryValueExA(key, name.c_str(), nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS;
    std::string old(oldSize, '\0');
    if (had)
      RegQueryValueExA(key, name.c_str(), nullptr, &oldType, reinterpret_cast<BYTE*>(old.data()),
                       &oldSize);
    ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             DWORD(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
    undo_.push_back([=] {
      HKEY k = nullptr;
      if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &k) != ERROR_SUCCESS) return;
      if (had)
        RegSetValueExA(k, name.c_str(), 0, oldType, reinterpret_cast<const BYTE*>(old.data()),
                       DWORD(old.size()));
      else
        RegDeleteValueA(k, name.c_str());
      RegCloseKey(k);
    });
  }
  // Makes a key that is removed, with everything under it, when the test
  // ends; a key that was there already is left alone.
  void NewKey(HKEY root, const std::string& path, REGSAM view = 0) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    RegCloseKey(key);
    if (disposition == REG_CREATED_NEW_KEY)
      undo_.push_back([=] { RegDeleteKeyExA(root, path.c_str(), view, 0); });
  }

  // A string value as the registry holds it, with its terminating NUL.
  void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text,
               REGSAM view = 0) {
    Set(root, path, name, text + '\0', REG_SZ, view);
  }

  static bool HasValue(HKEY root, const char* path, const std::string& name, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    const bool has = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                     ERROR_SUCCESS;
    RegCloseKey(key);
    return has;
  }

  std::vector<std::function<void()>> undo_;
};

}  // namespace kv::test
