// Initialisation files on disk, through the program's own rules (the same
// on Windows and under Wine, which drops empty lines and leading blanks).
#pragma once
#include <optional>
#include <string>

namespace kv {

// The arguments come in the order of ReadEntry and WriteEntry: file, key,
// (value,) section.

// Value of key in section; empty when the file, section or key is missing.
std::string IniRead(const std::string& file, const std::string& key, const std::string& section);

// Writes one entry, creating the file when missing. False when the names
// cannot be stored, or the file cannot be read or written (for example held
// by another program).
bool IniWrite(const std::string& file, const std::string& key, const std::string& value,
              const std::string& section);

// The file's text with the entry written, for a caller that stores it its
// own way; nullopt when the names cannot be stored or the file cannot be read.
std::optional<std::string> IniWritten(const std::string& file, const std::string& key,
                                      const std::string& value, const std::string& section);

}  // namespace kv
