#include "core/pending_ops.h"

#include "core/text.h"

namespace kv {

std::vector<WininitOperation> WininitOperations(std::string_view text) {
  std::vector<WininitOperation> ops;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
      std::string_view file = line.substr(eq + 1);
      const size_t mark = file.find("*!*");
      if (mark != std::string_view::npos) file = file.substr(0, mark);
      ops.push_back({std::string(file), UCase(line.substr(0, eq)) == "NUL"});
    }
    start = end + 1;
  }
  return ops;
}

std::vector<std::string> PendingRenameFiles(std::string_view multiString) {
  std::vector<std::string> files;
  size_t start = 0;
  while (start < multiString.size()) {
    size_t end = multiString.find('\0', start);
    if (end == std::string_view::npos) end = multiString.size();
    std::string name = Trim(multiString.substr(start, end - start));
    if (!name.empty() && name[0] == '!') name = Trim(std::string_view(name).substr(1));
    if (name.rfind("\\??\\", 0) == 0) name = Trim(std::string_view(name).substr(4));
    if (!name.empty()) files.push_back(std::move(name));
    start = end + 1;
  }
  return files;
}

std::string PendingViewLine(const WininitOperation& op) {
  return op.file + (op.deletes ? kToBeDeleted : kToBeOverwritten);
}

std::string PendingLineFile(std::string_view line) {
  // Only the line's own suffix: a folder or file may carry the same words.
  for (std::string_view suffix : {std::string_view(kToBeDeleted), std::string_view(kToBeOverwritten)})
    if (line.size() >= suffix.size() && line.substr(line.size() - suffix.size()) == suffix)
      return std::string(line.substr(0, line.size() - suffix.size()));
  return std::string(line);
}

}  // namespace kv
