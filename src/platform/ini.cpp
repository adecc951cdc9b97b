#include "platform/ini.h"

#include "core/profile.h"
#include "platform/files.h"

namespace kv {

std::string IniRead(const std::string& file, const std::string& key, const std::string& section) {
  auto text = ReadWholeFile(file);
  return text ? ProfileGet(*text, section, key) : std::string();
}

std::optional<std::string> IniWritten(const std::string& file, const std::string& key,
                                      const std::string& value, const std::string& section) {
  // A refused name is a failed write, and a missing file stays missing: an
  // empty file would pass for one the program had created.
  if (!ProfileNamesUsable(section, key)) return std::nullopt;
  const bool exists = FileExists(file);
  std::string text;
  if (exists) {
    auto read = ReadWholeFile(file);
    if (!read) return std::nullopt;
    text = std::move(*read);
  }
  return ProfileSet(text, exists, section, key, value);
}

bool IniWrite(const std::string& file, const std::string& key, const std::string& value,
              const std::string& section) {
  const auto text = IniWritten(file, key, value, section);
  return text && ReplaceFileContents(file, *text);
}

}  // namespace kv
