// The shell folders by number and the tree search; kept apart from the
// Startup folder's file so that each links only where it is used.
#include <windows.h>
#include <shlobj.h>
#include <imagehlp.h>

#include <vector>

#include "core/text.h"
#include "platform/pump.h"
#include "platform/shell_folders.h"
#include "platform/wide_text.h"

namespace kv {

std::string ShellFolderPath(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
  wchar_t path[MAX_PATH + 1] = L"";
  std::string result = SHGetPathFromIDListW(pidl, path) ? NarrowText(path) : "";
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
  std::vector<wchar_t> found(520, L'\0');
  // Older headers declare the two inputs without const.
  std::wstring r = WideText(root), n = WideText(name);
  const bool ok = !r.empty() && !n.empty() && ::SearchTreeForFileW(r.data(), n.data(), found.data());
  PumpMessages();
  return ok ? NarrowText(found.data()) : std::string();
}

}  // namespace kv
