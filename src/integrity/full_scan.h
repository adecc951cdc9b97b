// The first full scan: a skeleton baseline of the system directory, filled
// in by a check run in baseline mode.
#pragma once
#include <string>

#include "core/profile.h"

namespace kv {

class App;

// The baseline file being filled, kept in memory and written to disk as the
// run goes (at most every few hundred milliseconds, so the scan stays linear
// in the number of files; entries not yet on disk keep "NULL" if the program
// dies).
struct ScanDocument {
  std::string path;
  ProfileDocument document;
  unsigned long long lastWrite = 0;
};

void StartFullScan(App& app);

// Writes one entry of the file being filled; false when `file` is not it.
bool WriteScanEntry(App& app, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& value);
// Puts the finished file on disk and lets it go.
void FinishScanDocument(App& app);
// Forgets the file without writing it (the scan was abandoned).
void DropScanDocument(App& app);

}  // namespace kv
