#include "integrity/check_request.h"

#include "context/app.h"
#include "context/settings.h"
#include "core/settings_store.h"
#include "core/text.h"

namespace kv {

namespace {

// The categories the settings choose for this kind of run are added to the
// flags (never cleared here); the seventh value is "Auto-Scan Failed Files".
void ReadCategories(App& app) {
  RunState& run = app.run;
  auto value = ReadSetting(app, run.InSecureShutDown() ? "GETSETT2" : "GETSETT");
  if (!value) return;
  const CategoryList list = ParseCategoryList(*value);
  for (int c = 1; c <= 6; ++c)
    if (list.category[size_t(c - 1)]) *run.CategoryFlag(c) = true;
  if (list.seventh) app.autoScanFailed = true;
}

CategorySet Flags(RunState& run) {
  CategorySet set{};
  for (int c = 1; c <= 6; ++c) set[size_t(c - 1)] = *run.CategoryFlag(c);
  return set;
}

}  // namespace

bool StartedWithArguments(const App& app) { return !Trim(app.commandLine).empty(); }

CheckReason ReasonOf(const App& app) {
  const RunState& run = app.run;
  if (run.InSecureShutDown())
    return run.scheduledScan ? CheckReason::ScheduledScan : CheckReason::SecureShutDown;
  if (run.baselineScanActive) return CheckReason::FirstFullScan;
  if (run.customFolderFirstScan) return CheckReason::FirstFolderScan;
  if (run.manualScan) return CheckReason::Manual;
  return CheckReason::Logon;
}

CheckRequest PrepareRequest(App& app) {
  RunState& run = app.run;
  CheckRequest request;
  request.why = ReasonOf(app);
  request.algorithm = app.algorithmName;
  request.baselineFile = app.baselineFile;
  request.buildBaseline = run.baselineScanActive;
  if (run.manualScan) {
    // The caller chose the categories.
  } else if (run.baselineScanActive) {
    for (int c = 1; c <= 6; ++c) *run.CategoryFlag(c) = true;
  } else {
    ReadCategories(app);
  }

  std::vector<CheckFolder> queued;
  // Runs started by hand check only the folder they were given; the first
  // full scan only the system directory.
  const bool interactive = !run.InSecureShutDown() && !StartedWithArguments(app);
  if (!run.baselineScanGuard && !interactive) {
    for (int slot = 1; slot <= 20; ++slot) {
      const FolderSetting setting = FolderSettingOf(app, slot);
      const std::string& value = run.InSecureShutDown() ? setting.args2 : setting.args;
      if (value.empty() || value.back() != '1') continue;
      queued.push_back({setting.path, slot, ParseCategoryList(value).category, true});
    }
    run.currentFolderPath.clear();
    run.ClearCategories();
    ReadCategories(app);
  }
  request.folders.push_back({run.currentFolderPath, run.currentFolderSlot, Flags(run), false});
  for (CheckFolder& folder : queued) request.folders.push_back(std::move(folder));
  return request;
}

}  // namespace kv
