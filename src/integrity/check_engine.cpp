// The check engine: one category of one folder against a baseline.
#include <windows.h>

#include <cmath>

#include "context/app.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/checksum/file_checksum.h"
#include "integrity/intCheck.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

namespace {
constexpr unsigned long long kDisplayIntervalMs = 50;

// Percentages round half to even, as the display always has.
int Percent(long part, long whole) {
  return int(std::nearbyint(double(part) / double(whole) * 100.0));
}
}  // namespace

void intCheck::IntegrityChecker2(const std::string& typeCheck1, const std::string& typeCheck2,
                                 const std::string& savF) {
  typeCheck1_ = typeCheck1;
  typeCheck2_ = typeCheck2;
  savF_ = savF;
  CheckCategory();
}

void intCheck::ShowProgress(int category, const std::string& fileName, long running, bool force) {
  const unsigned long long now = GetTickCount64();
  if (!force && now - lastShown_ < kDisplayIntervalMs) return;
  lastShown_ = now;
  const RunState& run = app_.run;
  if (app_.run.InSecureShutDown()) {
    app_.wiring.setShutDownProgress(app_, categoryPercent_);
    return;
  }
  if (!fileName.empty()) SetText(fileLabel[category], fileName);
  SetTitle(Dec(Percent(running, std::max<long>(1, long(ParseLong(pb2max))))) + "% AutoCheck");
  SetText(percentLabel[category], Dec(categoryPercent_) + "%");
  SetText(Label6, Dec(running));
  SetText(Label9, Dec(run.failedCount));
  SetText(Label8, Dec(run.newCount));
  SetText(Label7, Dec(running - run.failedCount - run.newCount));
}

void intCheck::CheckCategory() {
  RunState& run = app_.run;
  run.categoryDone = 0;
  categoryPercent_ = 0;
  clsDoEvents events;
  events.QueueUsed(clsDoEvents::kDefaultQueue);
  const long categoryTotal = long(ParseLong(pb1max));
  long running = long(ParseLong(pbm));
  const int category = run.currentCategory;
  const bool display = !run.InSecureShutDown();

  const bool folderPass = !run.currentFolderPath.empty();
  std::string folder = folderPass ? run.currentFolderPath : Trim(SystemDirectory());
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const bool useFolderBaseline = folderPass || !savF_.empty();
  const std::string writeFile = folderPass ? FolderBaselineFile(app_, run.currentFolderSlot)
                                : savF_.empty() ? app_.baselineFile
                                                : savF_;

  auto names = ListDirectory(folder);
  bool stopped = false;
  std::string lastName;
  bool classified = false;
  if (names) {
    for (const std::string& name : *names) {
      events.GetInputState();
      if (app_.ended) return;
      const std::string suffix = UCase(Right(name, 4));
      if (suffix != typeCheck1_ && suffix != typeCheck2_) continue;
      if (category < 1 || category > 6) continue;
      lastName = name;
      if (display && GetTickCount64() - lastShown_ >= kDisplayIntervalMs)
        SetText(fileLabel[category], name);

      const std::string checksum = FileChecksum(app_, folder + name);
      events.GetInputState();
      if (app_.ended) return;
      if (run.abortRequested) {
        stopped = true;
        break;
      }
      const std::string section = UCase(Right(name, 3));
      // Re-read the baseline after every pump: a handler may have replaced it.
      const Baseline& lookup = useFolderBaseline ? app_.folderBaseline : app_.systemBaseline;
      std::string stored = lookup.LookupEntry(name, section);
      if (stored.empty()) stored = kNoChecksum;
      bool listed = false;
      if (stored == kNoChecksum) {
        ++run.newCount;
        if (run.baselineScanActive) {
          WriteEntry(app_, writeFile, name, checksum + std::string(kEndMarker), section);
        } else {
          AddListLine(folder + name + " *NEW*");
          listed = true;
        }
      } else {
        if (run.abortRequested) {
          stopped = true;
          break;
        }
        if (checksum != stored) {
          ++run.failedCount;
          if (!run.baselineScanActive) {
            AddListLine(folder + name);
            listed = true;
          }
        }
      }
      if (listed) {
        if (!folderPass)
          run.systemResults += folder + name + " " + checksum + ",";
        else
          run.folderResults += folder + name + "(" + Dec(run.currentFolderSlot) + ") " + checksum + ",";
      }

      classified = true;
      ++running;
      ++run.categoryDone;
      if (categoryTotal != 0) categoryPercent_ = Percent(run.categoryDone, categoryTotal);
      ShowProgress(category, name, running, listed);
      events.GetInputState();
      while (run.pauseRequested && !app_.ended) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      }
      if (app_.ended) return;
    }
  }
  if (category < 1 || category > 6) return;
  // Progress follows classified files only; the last one's may have been
  // held back by the display interval, so it is shown now.
  if (classified) ShowProgress(category, lastName, running, true);
  if (!stopped && display) {
    pbm = Dec(running);
    SetText(percentLabel[category], "100%");
  }
}

}  // namespace kv
