// Where the program keeps its Data\ folder: beside itself (portable and
// per-user installations), unless a per-machine installation put a marker
// file beside it naming another folder (%ProgramData%\Korvanel), since
// Program Files is not writable for the program.
#pragma once
#include <string>

namespace kv {

// The marker's name, beside the program.
inline constexpr char kDataFolderMarker[] = "DataFolder.txt";

// The folder that holds Data\, ending in "\": the first line of the marker
// with its environment variables expanded, or programDir without a marker
// (or with an empty one).
std::string DataRootFor(const std::string& programDir);

}  // namespace kv
