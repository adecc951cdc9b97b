// The files Windows is told to delete, rename or replace at the next start,
// read afresh from wininit.ini and PendingFileRenameOperations each time,
// and the RegWatch page's scan of the listed ones.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/pending_ops.h"

namespace kv {

class App;

struct PendingOperations {
  bool wininitExists = false;
  std::vector<WininitOperation> wininit;  // in file order
  std::vector<std::string> registry;      // sources and destinations, in order
};

inline constexpr const char* kSessionManagerKey = "System\\CurrentControlSet\\Control\\Session Manager";
inline constexpr const char* kPendingRenameValue = "PendingFileRenameOperations";

// The Windows directory's wininit.ini.
std::string WininitFile();
PendingOperations ReadPendingOperations();

// The view's lines: the header, the start-up file's operations with their
// kind, the registry's files.
std::vector<std::string> PendingViewLines(const PendingOperations& ops);

inline constexpr const char* kNothingPending = "No files will be modified or deleted on Restart!";
inline constexpr const char* kPrecautionaryHeader =
    "Precautionary Scan - These files were to be renamed/deleted/overwritten at startup,";

// "Scan all Files for Viruses" on the view's `lines` (the first is the
// header): the kinds come off the lines, every listed file that exists goes
// to the scanners in batches of filesPerBatch, and the hand-over is logged.
// The registry snapshot is not touched. False when only the header is listed.
bool ScanPendingFiles(App& app, std::vector<std::string>& lines);

}  // namespace kv
