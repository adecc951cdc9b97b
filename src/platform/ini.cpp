#include "platform/ini.h"

#include "core/profile.h"
#include "platform/files.h"

namespace kv {

std::string IniRead(const std::string& file, const std::string& key, const std::string& section) {
  auto text = ReadWholeFile(file);
  return text ? ProfileGet(*text, section, key) : std::string();
}

bool IniWrite(const std::string& file, const std::string& key, const std::string& value,
              const std::string& section) {
  // A refused name is a failed write, and a missing file stays missing: an
  // empty file would pass for one the program had created.
  if (!ProfileNamesUsable(section, key)) return false;
  const bool exists = FileExists(file);
  std::string text;
  if (exists) {
    auto read = ReadWholeFile(file);
    if (!read) return false;
    text = std::move(*read);
  }
  return ReplaceFileContents(file, ProfileSet(text, exists, section, key, value));
}

}  // namespace kv
