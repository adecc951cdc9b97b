// The operations Windows is told to carry out on files at the next start:
// the lines of wininit.ini and the PendingFileRenameOperations value, as
// text. Reading the file and the registry is the caller's.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct WininitOperation {
  std::string file;     // the file deleted, or moved over the destination
  bool deletes = false; // destination NUL: the file is deleted
};

// Every line holding "=", whatever section it stands in: destination before
// the first "=", file after it (up to a "*!*"); destination "NUL" in any
// letter case deletes.
std::vector<WininitOperation> WininitOperations(std::string_view text);

// The files a PendingFileRenameOperations value names, in order: its data
// as read whole, split at its NULs; each non-empty string names one file
// without the "!" that marks a replacing rename and without the "\??\" of
// the object name. Sources and destinations alike; repeats kept.
std::vector<std::string> PendingRenameFiles(std::string_view multiString);

// The view's line of one start-up file operation.
std::string PendingViewLine(const WininitOperation& op);
inline constexpr const char* kToBeDeleted = " {To be Deleted}";
inline constexpr const char* kToBeOverwritten = " {To be Overwritten}";
inline constexpr const char* kPendingViewHeader =
    "These files are to be Deleted or Overwritten on the next Reboot (Wininit.ini and Registry).";
// A view line back to the file it names.
std::string PendingLineFile(std::string_view line);

}  // namespace kv
