// The baseline file a first full scan is filling: kept in memory and written
// to disk as the run goes (at most every few hundred milliseconds, and never
// more than a fortieth of the time, so the scan stays linear in the number
// of files and close to the cost of a check; entries not yet on disk keep
// "NULL" if the program dies).
#pragma once
#include <string>

#include "core/profile.h"

namespace kv {

class App;

struct ScanDocument {
  std::string path;
  ProfileDocument document;
  unsigned long long lastWrite = 0;
  unsigned long long lastWriteCost = 0;  // milliseconds the last write took
};

// Starts filling `path`, whose whole text is `text` now.
void BeginScanDocument(App& app, const std::string& path, const std::string& text);
// Writes one entry of the file being filled; false when `file` is not it.
bool WriteScanEntry(App& app, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& value);
// Puts the finished file on disk and lets it go.
void FinishScanDocument(App& app);
// Forgets the file without writing it (the scan was abandoned).
void DropScanDocument(App& app);

}  // namespace kv
