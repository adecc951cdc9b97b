// Initialisation files ("[section]" / "key=value" lines) read and written on
// whole-file text. The program keeps its own rules instead of the platform's
// profile functions so that files come out the same on Windows and under
// Wine: empty lines and lines without "=" survive every write, and a value's
// leading spaces are stored as given.
//
// A line ends at CR LF, at a lone LF or at a lone CR; a last line without a
// line end is still a line. Section and key names match without letter case.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/key_index.h"

namespace kv {

// Longest value a read returns; the rest of a longer value is cut off.
inline constexpr size_t kProfileValueMax = 249;

// Value of `key` in `section`: the first matching key line of the first
// matching section, blanks trimmed, cut to kProfileValueMax characters.
// A missing section or key reads as empty.
std::string ProfileGet(std::string_view text, std::string_view section, std::string_view key);

// Whether the text holds a line for `section` (letter case ignored).
bool ProfileHasSection(std::string_view text, std::string_view section);

// Whether `section` and `key` can be stored: not empty after trimming and
// free of line breaks; a key must also be free of "=", which would end it
// early so that it could never be found again, and must not start with "[",
// which would make its line read back as a section line.
bool ProfileNamesUsable(std::string_view section, std::string_view key);

// The file text after writing key=value into section. `fileExists` false
// means there is no file yet: the result is just the section line and the
// entry. A value is cut at its first line break (the file could not hold
// the rest anyway, and a line break would plant extra lines). When the names
// are not usable the text comes back unchanged.
std::string ProfileSet(std::string_view text, bool fileExists, std::string_view section,
                       std::string_view key, std::string_view value);

// One file's text held in memory with an index of its sections and keys, so
// that a long run of writes (a first full scan storing thousands of entries)
// costs time in proportion to the writes, not to writes times file size.
// Every Set and Get gives exactly what ProfileSet and ProfileGet give on the
// text.
//
// A baseline file's keys are file names, and a file name may start with a
// space (" a.dll" beside "a.dll"): with exactKeys a key is matched and
// written as given, not trimmed (letter case is still ignored).
class ProfileDocument {
 public:
  explicit ProfileDocument(std::string_view text = {}, bool fileExists = true,
                           bool exactKeys = false);

  std::string Get(std::string_view section, std::string_view key) const;
  // False (nothing changed) when the names are not usable.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  bool Exists() const { return exists_; }
  // The whole file text as it is to be written to disk.
  std::string Text() const;

 private:
  enum class End : uint8_t { None, CrLf, Lf, Cr };
  // A line is a piece of text_; a line given a new value gets its new text
  // appended there. A first full scan's file of two hundred thousand
  // entries so costs a few tens of bytes an entry, not a string per line
  // and another per key.
  struct Line {
    size_t start = 0;
    uint32_t size = 0;
    End end = End::None;
  };
  struct Block {  // a section: its header line and the lines up to the next one
    std::vector<Line> lines;
    KeyIndex keys;  // key lines by their key, the first line of a key winning
    size_t lastNonBlank = 0;
  };

  void Load(std::string_view text);
  void IndexLine(size_t block, size_t line);
  std::string_view Body(const Line& line) const { return std::string_view(text_).substr(line.start, line.size); }
  Line Append(std::string_view body, End end);
  std::string_view KeyPart(std::string_view key) const;  // as compared: trimmed unless exactKeys
  std::string_view LineKey(const Block& b, size_t line) const;
  // The first line of the key, or npos.
  size_t FindKey(const Block& b, std::string_view key) const;
  std::string Entry(std::string_view key, std::string_view value) const;
  Line* LastLine();

  std::string text_;
  // blocks_[0] holds the lines before the first section line; it belongs to
  // no section.
  std::vector<Block> blocks_;
  std::unordered_map<std::string, size_t> sections_;  // folded name -> first block
  bool exists_ = true;
  bool exactKeys_ = false;
};

}  // namespace kv
