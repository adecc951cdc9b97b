// The guard every start and every check run passes: a system baseline must
// exist. A missing one is restored from its backup or built by the first
// full scan.
#pragma once
#include <string>

#include "platform/files.h"

#include "integrity/full_scan.h"

namespace kv {

class App;

// A first full scan it begins starts its check run, or leaves it to the
// caller that is preparing a run anyway.
// Returns what it found of the baseline file on entry. A file that is there
// but cannot be read (in use, no access) is reported, never restored over
// nor rebuilt, and its backup is left alone.
FileProbe EnsureBaseline(App& app, FirstScanCheck check = FirstScanCheck::Started);

// The error message for a data file that is there but cannot be read.
std::string UnreadableFileMessage(const std::string& path, FileProbe why);

}  // namespace kv
