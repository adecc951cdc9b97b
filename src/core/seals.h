// The seals of the data files: the text of Data\seals.dat and the rules for
// which seals a file may carry while it is being replaced. No cryptography
// here: seals and the secret are hexadecimal texts made by the caller.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Whether a file in Data\ is one the program seals: baselines, their
// backups and the registry snapshot. The settings file and the seals file
// itself are not.
bool IsSealedDataName(std::string_view fileName);

enum class SealVerdict {
  Matches,    // one of the file's seals fits its bytes
  Differs,    // it has seals, and none fits; or it was set to be distrusted
  Unsealed,   // no seal was ever recorded for it
};

class SealBook {
 public:
  // The secret, as the platform's data protection returned it, in hex.
  std::string protectedSecret;

  // The verdict on a file whose bytes have this seal.
  SealVerdict Judge(std::string_view name, std::string_view seal) const;

  // Before a file is replaced: the seal it has now (when it may be trusted)
  // and the one it is about to have are both accepted, so a crash between
  // the replacement and Commit leaves a file that passes either way.
  void Begin(std::string_view name, const std::optional<std::string>& current,
             const std::string& next);
  // After the replacement: only the new seal.
  void Commit(std::string_view name, const std::string& seal);
  // The file is to be taken for changed until it is sealed again.
  void Distrust(std::string_view name);

  // The seals recorded for a name (empty for a distrusted one); nullopt
  // when it has no entry.
  std::optional<std::vector<std::string>> SealsOf(std::string_view name) const;
  size_t size() const { return entries_.size(); }

  // The file's text up to (not including) its check line, which the caller
  // seals with the secret and appends with CheckLine.
  std::string SignedText() const;
  static std::string CheckLine(std::string_view check);

 private:
  struct Entry {
    std::string name;
    std::vector<std::string> seals;
  };
  Entry* Find(std::string_view name);
  const Entry* Find(std::string_view name) const;
  Entry& Make(std::string_view name);
  std::vector<Entry> entries_;
};

// A seals file read back: the book, and the part of the text its check
// covers with the check itself. nullopt when the text is not a seals file
// (cut short, edited out of shape, no secret or no check line).
struct ParsedSeals {
  SealBook book;
  std::string signedText;
  std::string check;
};
std::optional<ParsedSeals> ParseSeals(std::string_view text);

// Bytes to lower-case hexadecimal and back (nullopt for a text that is not
// an even run of hex digits).
std::string HexOf(std::string_view bytes);
std::optional<std::string> BytesOfHex(std::string_view hex);

// Compares two seals in a time that does not depend on where they differ.
bool SameSeal(std::string_view a, std::string_view b);

}  // namespace kv
