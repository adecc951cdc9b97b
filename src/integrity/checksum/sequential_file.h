// A file opened for one front-to-back pass by a checksum engine: one open,
// one size query, then one ReadFile per chunk straight into the caller's
// buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "integrity/checksum/file_sum.h"

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
  // size is looked at before the file is opened (Outcome still says it was
  // not read).
  std::optional<uint64_t> Length() const { return length_; }

  // The next n bytes; false when they cannot all be had.
  bool Read(uint8_t* buffer, size_t n);

  // Whether every read so far had what it asked for, and if not why: a file
  // that refused to open tells one that went away from one held by another
  // program or closed to us.
  FileRead Outcome() const { return readFailed_ ? FileRead::Locked : opened_; }

 private:
  void* handle_ = nullptr;
  std::optional<uint64_t> length_;
  FileRead opened_ = FileRead::Whole;
  bool readFailed_ = false;
};

}  // namespace kv
