#pragma once
#include <string>
#include <vector>

namespace kv {

// The folder whose shortcuts start at every logon: the common (all users)
// Startup folder, or, when the shell names none, the user's Programs folder
// followed by "\StartUp". Trimmed, without a trailing "\" added.
std::string StartupFolderPath();
// The folders a logon shortcut may stand in, in the order one is written:
// StartupFolderPath(), then the user's own Startup folder, which a standard
// account can write when the common one is closed to it. One entry when
// both are the same folder.
std::vector<std::string> StartupFolderPaths();

// The desktop folder; empty when the shell names none.
std::string DesktopFolderPath();

// A shell folder by its CSIDL number, without a trailing "\"; empty when
// the shell cannot name it. Read into a full-path buffer: a deep profile or
// program folder must not come back cut short.
std::string ShellFolderPath(int csidl);

// The Program Files folder (or the one named by `csidl`) with a trailing
// "\"; "C:\Program Files\" when the shell names none.
std::string ProgramFilesFolder(int csidl = 38);

// SearchTreeForFile: the first file called `name` anywhere under `root`,
// as its full path; empty when none is found. Waiting window messages are
// handled before and after the search, which can take a while.
std::string SearchTreeForFile(const std::string& root, const std::string& name);

}  // namespace kv
