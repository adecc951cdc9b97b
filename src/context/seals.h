// The seals of the data files (baselines, their backups, the registry
// snapshot): an HMAC-SHA256 of each file's bytes under a per-user secret,
// kept in Data\seals.dat with the secret itself (protected for the user).
// A text edit of a data file no longer passes unnoticed; a program running
// as the same user can still reach the secret.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/seals.h"

namespace kv {

class App;

class SealStore {
 public:
  explicit SealStore(std::string dataFolder);  // ends in "\"

  struct Finding {
    SealVerdict verdict = SealVerdict::Matches;
    // The seals file is missing while seals were made here, or it is damaged
    // or not this user's: no file can be vouched for.
    bool sealsLost = false;
  };
  // The verdict on the file as it is on disk now. Files the program does not
  // seal, and missing ones, match.
  Finding Check(const std::string& path);
  // The file's bytes when their seal vouches for them (or the file was
  // never sealed), judged as read: nullopt for a file changed behind the
  // program's back, even one changed between a check and this read.
  std::optional<std::string> ReadVouched(const std::string& path);

  // Crash-safe rewrite that renews the seal in two phases: the seals file
  // first accepts the old and the new seal, then the file is replaced, then
  // only the new seal is kept. False when either could not be written; the
  // data file is never written without its seal on record.
  bool Replace(const std::string& path, const std::string& bytes);
  // The same for contents in pieces (written and sealed one after another,
  // never joined into one text).
  bool Replace(const std::string& path, const std::vector<std::string_view>& pieces);
  // The same for a copy, sealed as it is read: neither file is held whole.
  // A data file is copied only when its bytes, as read, are ones its seal
  // vouches for (or it was never sealed): false, and nothing written, when
  // it was changed behind the program's back.
  bool Copy(const std::string& from, const std::string& to);
  // Seals the file as it is (first load, or the user trusts it again).
  bool SealAsItIs(const std::string& path);

  const std::string& file() const { return sealsFile_; }

 private:
  enum class State { Fresh, Lost, Ready };
  struct Loaded {
    State state = State::Fresh;
    SealBook book;
    std::string secret;
  };
  Loaded Load();
  bool Renew(Loaded& loaded);
  bool Store(const Loaded& loaded);
  // Puts new contents (sealed `next`) in place through `put`, the seals
  // file taking the old and the new seal first.
  bool Place(Loaded& loaded, const std::string& path, const std::string& next,
             const std::function<bool()>& put);
  bool Unprotect(const std::string& protectedHex, std::string& secret);
  // The verdict on a file of this name whose bytes have the seal (nullopt:
  // none could be made).
  Finding Verdict(const Loaded& loaded, const std::string& name,
                  const std::optional<std::string>& seal) const;

  std::string dataFolder_, sealsFile_;
  std::string cachedProtected_, cachedSecret_;
  bool noted_ = false;
};

// What a caller may do with a data file after its seal was checked.
enum class SealGuard {
  Use,      // it matches, was sealed now for the first time, or the user trusts it again
  Rebuild,  // the user chose to rebuild it: it was set aside (.rejected) and is missing now
  Refused,  // an unattended run met a changed file: reported, not to be used
};
// Checks a data file before it is used and reports one whose seal does not
// match: a question in interactive use (Yes trusts it again, No rebuilds),
// a box in "/r", the log only in "/s" and "/a"; every finding also goes to a
// dated log, and an unattended run's exit code says so.
SealGuard GuardDataFile(App& app, const std::string& path);

// The question and the unattended report for a file whose seal does not match.
std::string SealQuestion(const std::string& name, bool sealsLost);
std::string SealReport(const std::string& name, bool sealsLost);

}  // namespace kv
