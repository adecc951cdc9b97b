// A file's checksum text together with whether the file was read through
// to take it: a text taken from part of a file, or from none of it, is no
// fingerprint and is never compared or stored as one.
#pragma once
#include <string>

namespace kv {

enum class FileRead {
  Whole,   // opened and read to its end (a folder, with nothing to read, too)
  Locked,  // there, but it could not be opened or read to its end: in use, no access
  Gone,    // not there any more when it was opened
};

struct FileSum {
  std::string text;
  FileRead read = FileRead::Whole;
};

}  // namespace kv
