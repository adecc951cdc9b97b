// The shell folders by number and the tree search; kept apart from the
// Startup folder's file so that each links only where it is used.
#include <windows.h>
#include <shlobj.h>

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

namespace {

// The system's own tree search takes 8-bit names and gives at most MAX_PATH
// characters back; this one walks the wide listing, so a deep file is found
// and a look-alike name never stands in for the one asked for.
constexpr int kMaxDepth = 32;

std::wstring FindInTree(const std::wstring& folder, const std::wstring& name, int depth) {
  const std::wstring pattern = folder + L"*";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::vector<std::wstring> folders;
  std::wstring found;
  do {
    const std::wstring_view n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction may lead back up the tree.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.emplace_back(n);
    } else if (CompareStringOrdinal(fd.cFileName, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL) {
      found = folder + fd.cFileName;
      break;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  if (!found.empty() || depth >= kMaxDepth) return found;
  for (const std::wstring& sub : folders) {
    found = FindInTree(folder + sub + L"\\", name, depth + 1);
    if (!found.empty()) break;
  }
  return found;
}

}  // namespace

std::string SearchTreeForFile(const std::string& root, const std::string& name) {
  PumpMessages();
  std::string found;
  if (!root.empty() && !name.empty()) {
    const std::wstring folder = PrefixedPath(root.back() == '\\' ? root : root + "\\");
    const std::wstring hit = FindInTree(folder, WideText(name), 0);
    if (!hit.empty()) found = NarrowPath(hit);
  }
  PumpMessages();
  return found;
}

}  // namespace kv
