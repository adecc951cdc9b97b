#include "integrity/check_request.h"

#include "context/app.h"
#include "context/settings.h"
#include "core/settings_store.h"
#include "integrity/full_scan.h"

namespace kv {

namespace {

// The categories the settings choose for this kind of run are added to the
// folder's (never cleared here); the seventh value is "Auto-Scan Failed Files".
void AddSettingsCategories(App& app, CheckReason why, CategorySet& categories) {
  auto value = ReadSetting(app, InSecureShutDown(why) ? "GETSETT2" : "GETSETT");
  if (!value) return;
  const CategoryList list = ParseCategoryList(*value);
  for (size_t c = 0; c < categories.size(); ++c)
    if (list.category[c]) categories[c] = true;
  if (list.seventh) app.autoScanFailed = true;
}

}  // namespace

CheckRequest PrepareRequest(App& app, CheckRequest request) {
  request.algorithm = app.algorithmName;
  request.baselineFile = app.baselineFile;
  if (request.folders.empty()) request.folders.emplace_back();  // the system directory
  CheckFolder& first = request.folders.front();
  if (request.why == CheckReason::FirstFullScan) {
    // Only the system directory, every file of it.
    request.buildBaseline = true;
    first.categories.fill(true);
    return request;
  }
  // A first full scan made by this process leaves its later checks to the
  // system directory: the skeleton it built knows no custom folder.
  const bool afterFullScan = FullScanStarted(app);
  if (!app.Start().Interactive() && !afterFullScan) {
    first = CheckFolder{};
    AddSettingsCategories(app, request.why, first.categories);
    for (int slot = 1; slot <= 20; ++slot) {
      const FolderSetting setting = FolderSettingOf(app, slot);
      const std::string& value = InSecureShutDown(request.why) ? setting.args2 : setting.args;
      if (value.empty() || value.back() != '1') continue;
      request.folders.push_back({setting.path, slot, ParseCategoryList(value).category, true});
    }
    return request;
  }
  if (!StartedByUser(request.why)) {
    // Unattended after a full scan of this process, the check goes on in
    // every category, as the full scan did.
    if (afterFullScan) first.categories.fill(true);
    AddSettingsCategories(app, request.why, first.categories);
  }
  return request;
}

CheckRequest UserCheck(CheckReason why, CheckFolder folder) {
  CheckRequest request{why};
  request.folders.push_back(std::move(folder));
  request.noAutoScanFailing = true;
  return request;
}

}  // namespace kv
