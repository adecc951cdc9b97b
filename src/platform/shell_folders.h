#pragma once
#include <string>

namespace kv {

// The current user's Startup folder, without a trailing "\"; empty when the
// shell cannot name it.
std::string StartupFolderPath();

}  // namespace kv
