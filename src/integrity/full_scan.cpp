#include "integrity/full_scan.h"

#include <windows.h>

#include "app/app.h"
#include "app/mForm1.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/intCheck.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

namespace {
constexpr unsigned long long kWriteIntervalMs = 250;

void WriteDocument(ScanDocument& scan) {
  ReplaceFileContents(scan.path, scan.document.Text());
  scan.lastWrite = GetTickCount64();
}
}  // namespace

void StartFullScan(App& app) {
  app.run.baselineScanGuard = true;
  // A file that still matched the old baseline in memory would pass and
  // keep its "NULL" in the new file.
  app.systemBaseline = Baseline();
  AppendToFile(app.baselineFile, "");
  mForm1& form = app.Form1();
  form.SetCaption("Building Integrity File...");
  PumpMessages();
  BaselineSkeleton skeleton;
  if (auto names = ListDirectory(Trim(SystemDirectory()))) {
    for (const std::string& name : *names) {
      skeleton.Add(name);
      PumpMessages();
      if (app.ended) return;
    }
  }
  form.SetCaption("Saving...");
  PumpMessages();
  const std::string text = skeleton.Text();
  if (!ReplaceFileContents(app.baselineFile, text)) return;
  form.Hide();
  app.run.baselineScanActive = true;
  app.scanDocument.reset(new ScanDocument{app.baselineFile, ProfileDocument(text), GetTickCount64()});
  intCheck& window = app.CheckWindow();
  window.Show();
  window.lUp();
  form.SetCaption("Welcome to Korvanel");
}

bool WriteScanEntry(App& app, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& value) {
  ScanDocument* scan = app.scanDocument.get();
  if (!scan || !EqualsNoCase(scan->path, file)) return false;
  if (!scan->document.Set(section, key, value)) return false;
  if (GetTickCount64() - scan->lastWrite >= kWriteIntervalMs) WriteDocument(*scan);
  return true;
}

void FinishScanDocument(App& app) {
  if (app.scanDocument) WriteDocument(*app.scanDocument);
  app.scanDocument.reset();
}

void DropScanDocument(App& app) { app.scanDocument.reset(); }

}  // namespace kv
