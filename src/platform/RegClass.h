// The registry reader: one key open at a time, read access only; writing
// is asked for just for the one deletion. Every operation swallows errors
// and gives its empty result (false, nothing, the empty text).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kv {

class RegClass {
 public:
  RegClass() = default;
  ~RegClass();
  RegClass(const RegClass&) = delete;
  RegClass& operator=(const RegClass&) = delete;

  // Opens root\path for reading, closing the key open before. `view` is 0
  // (the program's own view), KEY_WOW64_32KEY or KEY_WOW64_64KEY.
  bool OpenRegistry(HKEY root, const std::string& path, REGSAM view = 0);

  // Names of every value of the open key, in enumeration order; the unnamed
  // value has the empty name.
  std::vector<std::string> GetAllValues();
  std::vector<std::string> GetAllSubDirectories();

  // The value's data text (see DataText); empty when it cannot be read.
  std::string GetValue(const std::string& name);
  // The value's type and whole data; false when it cannot be read.
  bool ReadValue(const std::string& name, DWORD& type, std::string& data);
  bool HasValue(const std::string& name);

  bool CloseRegistry();

  // Deletes the value `name` of the open key, opening that key once more with
  // write access for it. True when the value was deleted.
  bool DeleteKey(const std::string& name);

  HKEY RegistryRootKey() const { return root_; }
  const std::string& SubDirectory() const { return path_; }
  bool IsOpen() const { return open_; }

 private:
  HKEY root_ = nullptr;
  std::string path_;
  REGSAM view_ = 0;
  HKEY key_ = nullptr;
  bool open_ = false;
};

}  // namespace kv
