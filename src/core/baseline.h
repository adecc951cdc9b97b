// The integrity database: baseline file names, the file's text layout, and
// the in-memory baseline that checks look files up in and accepted changes
// are written into.
//
// A baseline file is two comment lines, an empty line (only in files built
// by a scan), then nine sections [DLL] [DRV] [386] [SYS] [OCX] [EXE] [COM]
// [PIF] [SCR]. A section is its header, one line name=checksum*E per file,
// and the closing line NULL*E. A file listed but not yet fingerprinted has
// the checksum NULL.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/key_index.h"
#include "core/name_list.h"

namespace kv {

inline constexpr std::string_view kEndMarker = "*E";
inline constexpr std::string_view kNoChecksum = "NULL";
inline constexpr int kBaselineSections = 9;
// The sections in file order; a file's section is the last three characters
// of its name in upper case.
inline constexpr std::array<std::string_view, kBaselineSections> kSectionNames = {
    "DLL", "DRV", "386", "SYS", "OCX", "EXE", "COM", "PIF", "SCR"};

// ---- File names (appDir ends in "\") ------------------------------------------

// The algorithm counts as CRC-32 when, spaces trimmed, it is empty or "CRC32"
// in any letter case; CRC-32 files have no suffix, others "-" + the name in
// lower case.
std::string SystemBaselineFile(std::string_view appDir, std::string_view algorithmName);
std::string FolderBaselineFile(std::string_view appDir, int slot, std::string_view algorithmName);
// The file name with its last three characters replaced by "bak".
std::string BackupFileOf(std::string_view baselineFile);
// The slot of a folder baseline file: its name up to the first "-" or "."
// read as a number (Data\3-md5.dat gives 3); 0 when that is not a number.
int SlotOfFolderBaselineFile(std::string_view path);

// The section a file's entry belongs in: the last three characters of its
// name in upper case.
std::string SectionOf(std::string_view name);

// ---- Building a new baseline from a directory listing ---------------------------

// Collects the watched names of a listing, in listing order, and writes the
// baseline skeleton in which every file has the checksum NULL.
class BaselineSkeleton {
 public:
  // Takes the name when its last four characters are one of the nine
  // extensions (".DLL" ... ".SCR", any letter case); "." and ".." never are.
  bool Add(std::string_view name);
  std::string Text() const;

 private:
  std::array<std::string, kBaselineSections> lines_;
};

// Keys compared and hashed without letter case (ASCII, as UCase folds).
struct NoCaseHash {
  size_t operator()(std::string_view key) const;
};
struct NoCaseEqual {
  bool operator()(std::string_view a, std::string_view b) const;
};

// ---- The in-memory baseline -------------------------------------------------------

class Baseline {
 public:
  // Reads a file's text: up to nine sections, each from its "[" up to the CR
  // LF before the next line that starts with "[" and holds no "=" (the last
  // to the end of the text; an entry of a file named "[x].dll" is no
  // header). Whatever stands before the first "[" is ignored.
  static Baseline FromText(std::string_view fileText);
  // The same, taking the text over: its largest section keeps its buffer.
  static Baseline FromOwnedText(std::string&& fileText);
  // The text a baseline is saved as: the two comment lines (no empty line),
  // then the section texts in order.
  std::string ToText() const;
  // The same text as views of its pieces, valid while the baseline is not
  // changed: a save writes and seals them without a copy of the whole.
  std::vector<std::string_view> TextPieces() const;

  int SectionCount() const { return count_; }
  // Sections are numbered 1..SectionCount().
  const std::string& SectionText(int i) const { return sections_[size_t(i - 1)].text; }
  const std::string& SectionName(int i) const { return sections_[size_t(i - 1)].name; }
  // The first section whose name equals `section` in any letter case; 0 when none.
  int SectionIndex(std::string_view section) const;

  // The stored checksum of the name in the section: the text between the
  // first CR LF name "=" and the next "*E" CR LF, in any letter case, spaces
  // trimmed; empty when the section or the entry is missing.
  std::string LookupEntry(std::string_view name, std::string_view section) const;
  // The same, but nullopt when there is no entry: an empty file's hash is the
  // empty text, so an entry "name=*E" is a stored checksum, not a missing one.
  std::optional<std::string> FindEntry(std::string_view name, std::string_view section) const;

  // Writes name=value into the section; value is the checksum text followed
  // by "*E". An existing entry is replaced where it stands, together with
  // any identical copies of its line; a new one goes just before the
  // section's closing line NULL*E. False when the baseline has no such
  // section (nothing is written).
  bool WriteEntry(std::string_view name, std::string_view value, std::string_view section);

  // Views of texts the caller holds through the call (the findings' own
  // paths and checksums): accepting two hundred thousand files makes no
  // second copy of their names nor of their checksums.
  struct EntryWrite {
    std::string_view name;
    std::string_view checksum;  // the entry's value is this followed by "*E"
    std::string_view section;
  };
  // The same as WriteEntry(name, checksum + "*E", section) for each in turn,
  // in one pass over each section touched: accepting many files at once
  // stays linear in the section's size.
  void WriteEntries(const std::vector<EntryWrite>& writes);

  // The names of the section's entries in file order, as the file spells
  // them (the closing NULL*E is no entry); empty when there is no section.
  std::vector<std::string> EntryNames(std::string_view section) const;
  // Removes every line of the name's entry; false when it had none.
  bool RemoveEntry(std::string_view name, std::string_view section);

  struct EntryRemoval {
    std::string_view name, section;
  };
  // The same as RemoveEntry for each, in one pass over each section touched:
  // forgetting thousands of deleted files stays linear in the section's size.
  void RemoveEntries(const std::vector<EntryRemoval>& removals);

 private:
  struct Section {
    std::string text;
    std::string name;
    // Every line's key by where it starts in the text, first line winning;
    // built on the first lookup after the text changes. A copy or a move
    // has its own text, so it starts unindexed.
    mutable KeyIndex index;
    mutable bool indexed = false;
    Section() = default;
    Section(const Section& o) : text(o.text), name(o.name) {}
    Section(Section&& o) noexcept : text(std::move(o.text)), name(std::move(o.name)) { o.Unindex(); }
    Section& operator=(const Section& o) {
      text = o.text;
      name = o.name;
      Unindex();
      return *this;
    }
    // A string moved into keeps its own buffer when the one it is given
    // fits in the string itself: assigning an empty baseline would free
    // nothing. The old texts go with a temporary instead.
    Section& operator=(Section&& o) noexcept {
      std::string(std::move(o.text)).swap(text);
      std::string(std::move(o.name)).swap(name);
      Unindex();
      o.Unindex();
      return *this;
    }
    void Unindex() const {
      index.Clear();
      indexed = false;
    }
  };

  const Section& IndexedSection(int i) const;

  std::array<Section, kBaselineSections> sections_;
  int count_ = 0;
};

// The entries of `sections` whose file is not among the names `listed`
// (compared without letter case, as the baseline does): files deleted since
// they were accepted. In section order, then file order.
std::vector<std::string> MissingNames(const Baseline& baseline,
                                      const std::vector<std::string_view>& sections,
                                      const NameList& listed);

}  // namespace kv
