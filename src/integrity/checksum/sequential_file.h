// A file opened for one front-to-back pass by a checksum engine: one open,
// one size query, then one ReadFile per chunk straight into the caller's
// buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kv {

class SequentialFile {
 public:
  // Shares reading and writing, so that files other programs hold open for
  // writing (logs, for one) can still be fingerprinted.
  explicit SequentialFile(const std::string& path);
  ~SequentialFile();
  SequentialFile(const SequentialFile&) = delete;
  SequentialFile& operator=(const SequentialFile&) = delete;

  // The size in bytes; nullopt when the file cannot be opened. A file that
  // cannot be opened but is listed with no bytes counts as empty, as the
  // size is looked at before the file is opened.
  std::optional<uint64_t> Length() const { return length_; }

  // The next n bytes; false when they cannot all be had.
  bool Read(uint8_t* buffer, size_t n);

 private:
  void* handle_ = nullptr;
  std::optional<uint64_t> length_;
};

}  // namespace kv
