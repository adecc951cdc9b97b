#include "context/scan_document.h"

#include <windows.h>

#include <algorithm>

#include "context/app.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

namespace {
constexpr unsigned long long kWriteIntervalMs = 250;

void WriteDocument(App& app, ScanDocument& scan) {
  const StepClock::Timer saving(app.steps, Step::Save);
  const unsigned long long start = GetTickCount64();
  app.seals.Replace(scan.path, scan.document.Text());
  scan.lastWrite = GetTickCount64();
  scan.lastWriteCost = scan.lastWrite - start;
}
}  // namespace

void BeginScanDocument(App& app, const std::string& path, const std::string& text) {
  app.scanDocument.reset(new ScanDocument{path, ProfileDocument(text, true, true), GetTickCount64()});
}

bool WriteScanEntry(App& app, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& value) {
  ScanDocument* scan = app.scanDocument.get();
  if (!scan || !EqualsNoCase(scan->path, file)) return false;
  if (!scan->document.Set(section, key, value)) return false;
  // A file of a hundred thousand entries takes long to write and seal, and
  // the walk stands still meanwhile: the writes then come further apart, so
  // that they stay a small part of the scan (a tenth made the first scan of
  // 200,000 files a quarter slower than their check).
  const unsigned long long interval = std::max(kWriteIntervalMs, 40 * scan->lastWriteCost);
  if (GetTickCount64() - scan->lastWrite >= interval) WriteDocument(app, *scan);
  return true;
}

void FinishScanDocument(App& app) {
  if (app.scanDocument) WriteDocument(app, *app.scanDocument);
  app.scanDocument.reset();
}

void DropScanDocument(App& app) { app.scanDocument.reset(); }

}  // namespace kv
