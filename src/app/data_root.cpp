#include "app/data_root.h"

#include <windows.h>

#include "core/text.h"
#include "platform/files.h"
#include "platform/wide_text.h"

namespace kv {

std::string DataRootFor(const std::string& programDir) {
  const auto marker = ReadWholeFile(programDir + kDataFolderMarker);
  if (!marker) return programDir;
  std::string line = marker->substr(0, marker->find_first_of("\r\n"));
  // A marker written by an editor may start with the UTF-8 byte order mark.
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  line = Trim(line);
  if (line.empty()) return programDir;
  const std::wstring wide = WideText(line);
  const DWORD n = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
  std::wstring expanded(n, L'\0');
  if (n == 0 || ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), n) != n) return programDir;
  expanded.resize(n - 1);
  std::string root = NarrowText(expanded);
  if (root.back() != '\\') root += '\\';
  return root;
}

}  // namespace kv
