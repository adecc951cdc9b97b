#include "customfolders/folder_scan.h"

namespace kv {
void BuildFolderBaseline(App&, const std::string&, const std::string&, int) {}
}  // namespace kv
