// The shell folders by number and the tree search; kept apart from the
// Startup folder's file so that each links only where it is used.
#include <windows.h>
#include <shlobj.h>
#include <imagehlp.h>

#include <vector>

#include "core/text.h"
#include "platform/pump.h"
#include "platform/shell_folders.h"

namespace kv {

std::string ShellFolderPath(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
  char path[MAX_PATH + 1] = "";
  std::string result = SHGetPathFromIDListA(pidl, path) ? path : "";
  CoTaskMemFree(pidl);
  return result;
}

std::string ProgramFilesFolder(int csidl) {
  std::string path = Trim(ShellFolderPath(csidl));
  if (path.empty()) path = "C:\\Program Files\\";
  if (path.back() != '\\') path += '\\';
  return path;
}

std::string SearchTreeForFile(const std::string& root, const std::string& name) {
  PumpMessages();
  // The system writes up to MAX_PATH characters; the room beyond is slack.
  std::vector<char> found(520, '\0');
  // Older headers declare the two inputs without const.
  std::string r = root, n = name;
  const bool ok = !r.empty() && !n.empty() && ::SearchTreeForFile(r.data(), n.data(), found.data());
  PumpMessages();
  return ok ? std::string(found.data()) : std::string();
}

}  // namespace kv
