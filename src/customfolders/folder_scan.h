#pragma once
#include <string>

namespace kv {
class App;
// Builds the baseline of a custom folder (asking the user first) into
// `baselineFile`. Custom folders arrive with their own window; until then a
// missing folder baseline stays missing.
void BuildFolderBaseline(App& app, const std::string& folder, const std::string& baselineFile,
                         int slot);
}  // namespace kv
