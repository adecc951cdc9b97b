#pragma once
#include <string>

namespace kv {

// The folder whose shortcuts start at every logon: the common (all users)
// Startup folder, or, when the shell names none, the user's Programs folder
// followed by "\StartUp". Trimmed, without a trailing "\" added.
std::string StartupFolderPath();

// The desktop folder; empty when the shell names none.
std::string DesktopFolderPath();

}  // namespace kv
