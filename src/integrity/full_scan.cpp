#include "integrity/full_scan.h"

#include <windows.h>

#include "context/app.h"
#include "context/scan_document.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/intCheck.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

namespace {
// Kept on the App from the moment a first full scan starts.
struct FullScanMark {};
}  // namespace

bool FullScanStarted(const App& app) { return app.kept.Find<FullScanMark>() != nullptr; }

void StartFullScan(App& app, FirstScanCheck check) {
  app.kept.Get<FullScanMark>();
  // A file that still matched the old baseline in memory would pass and
  // keep its "NULL" in the new file.
  app.systemBaseline = Baseline();
  if (!FileExists(app.baselineFile)) app.seals.Replace(app.baselineFile, "");
  app.windows.SetMainCaption(app, "Building Integrity File...");
  BaselineSkeleton skeleton;
  if (auto names = ListNames(Trim(SystemDirectory()))) {
    for (const std::string_view name : *names) {
      skeleton.Add(name);
      // A long listing: the caption above is painted and clicks are handled.
      PumpWaitingMessages();
      if (app.ended) return;
    }
  }
  app.windows.SetMainCaption(app, "Saving...");
  const std::string text = skeleton.Text();
  if (!app.seals.Replace(app.baselineFile, text)) return;
  app.windows.HideMainWindow(app);
  BeginScanDocument(app, app.baselineFile, text);
  if (check == FirstScanCheck::LeftToCaller) return;
  intCheck& window = CheckWindow(app);
  window.Show();
  window.lUp(CheckRequest{CheckReason::FirstFullScan});
  app.windows.SetMainCaption(app, "Welcome to Korvanel");
}

}  // namespace kv
