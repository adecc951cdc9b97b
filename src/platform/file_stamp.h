// When a file last changed, and how long it is: enough to tell that a copy
// read into memory is still the file, without reading it again.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

struct FileStamp {
  uint64_t writeTime = 0;
  uint64_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

// nullopt when nothing is there or its attributes cannot be had; a
// directory has a stamp too (it is there, and no file can be read from it).
std::optional<FileStamp> StampOf(const std::string& path);

}  // namespace kv
