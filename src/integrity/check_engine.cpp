// The check engine: one category of one folder against a baseline.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "context/app.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "core/chunked_read.h"
#include "integrity/checksum/checksum_pipeline.h"
#include "integrity/checksum/clsHash.h"
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

std::unique_ptr<ChecksumPipeline> intCheck::StartPipeline(std::vector<std::string> paths) {
  const ChecksumKind kind = ChecksumKindOf(app_.algorithmName);
  const size_t workers = std::min(readAheadWorkers_, paths.size());
  const bool aes = HashProvider::NeedsAes(kind);
  if (!workerProviders_.empty() && workerProviders_.front()->aes() != aes) workerProviders_.clear();
  if (kind != ChecksumKind::Crc32 && kind != ChecksumKind::None)
    while (workerProviders_.size() < workers)
      workerProviders_.push_back(std::make_unique<HashProvider>(app_, SystemCrypto(), aes));
  std::vector<HashProvider*> providers;
  for (auto& p : workerProviders_) providers.push_back(p.get());
  struct Worker {
    HashProvider* provider;
    std::vector<uint8_t> buffer;
  };
  auto state = std::make_shared<std::vector<Worker>>();
  for (size_t w = 0; w < workers; ++w)
    state->push_back({w < providers.size() ? providers[w] : nullptr, {}});
  if (app_.readBufferSize == 0) app_.readBufferSize = kDefaultReadBufferSize;
  return std::make_unique<ChecksumPipeline>(
      std::move(paths), workers, ChecksumPipeline::kWindow, app_.readBufferSize,
      [kind, state](size_t worker, const std::string& path,
                    int32_t size) -> std::optional<std::string> {
        Worker& w = (*state)[worker];
        if (kind != ChecksumKind::Crc32 && kind != ChecksumKind::None && !w.provider)
          return std::nullopt;
        return WorkerFileChecksum(kind, path, size, *w.provider, w.buffer);
      });
}

std::string intCheck::CheckedFolder() const {
  std::string folder = app_.run.currentFolderPath.empty() ? Trim(SystemDirectory())
                                                          : app_.run.currentFolderPath;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
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
  const std::string folder = CheckedFolder();
  const bool useFolderBaseline = folderPass || !savF_.empty();
  const std::string writeFile = folderPass ? FolderBaselineFile(app_, run.currentFolderSlot)
                                : savF_.empty() ? app_.baselineFile
                                                : savF_;

  auto names = ListDirectory(folder);
  const auto matches = [&](const std::string& name) {
    return InCategory(name, typeCheck1_, typeCheck2_) && category >= 1 && category <= 6;
  };
  // The pass's readers are used while the folder lists as it did when they
  // started; a folder that changed since gets readers of its own.
  ChecksumPipeline* pipeline = nullptr;
  std::unique_ptr<ChecksumPipeline> own;
  size_t base = 0;
  if (names && readAheadWorkers_ > 0) {
    std::vector<std::string> paths;
    for (const std::string& name : *names)
      if (matches(name)) paths.push_back(folder + name);
    const auto readAhead = [&] {
      const std::vector<std::string>& ahead = passPipeline_->Paths();
      return ahead.size() - passTaken_ >= paths.size() &&
             std::equal(paths.begin(), paths.end(), ahead.begin() + ptrdiff_t(passTaken_));
    };
    if (passPipeline_ && readAhead()) {
      pipeline = passPipeline_.get();
      base = passTaken_;
      passTaken_ += paths.size();
    } else {
      passPipeline_.reset();
      if (!paths.empty()) pipeline = (own = StartPipeline(std::move(paths))).get();
    }
  }
  // A yield keeps every file not yet started unopened while handlers run,
  // so that a stop is never followed by another open.
  const auto yieldWhile = [&](bool inWait) {
    if (!inWait && !events.InputWaiting()) return true;
    if (pipeline) pipeline->Hold();
    PumpMessages();
    if (!pipeline) return true;
    if (app_.ended || run.abortRequested) {
      pipeline->Stop();
      return false;
    }
    if (app_.readBufferSize == 0) app_.readBufferSize = kDefaultReadBufferSize;
    pipeline->SetReadBufferSize(app_.readBufferSize);
    pipeline->Release();
    return true;
  };
  const auto yield = [&] { (void)yieldWhile(false); };
  bool stopped = false;
  std::string lastName;
  bool classified = false;
  size_t taken = 0;
  if (names) {
    for (const std::string& name : *names) {
      yield();
      if (app_.ended) return;
      if (!matches(name)) continue;
      lastName = name;
      if (display && GetTickCount64() - lastShown_ >= kDisplayIntervalMs)
        SetText(fileLabel[category], name);

      std::string checksum;
      if (pipeline && run.abortRequested) {
        // Stopped during a yield: nothing more is read.
        stopped = true;
        break;
      }
      if (!pipeline) {
        checksum = FileChecksum(app_, folder + name);
      } else {
        const auto got = pipeline->Take(base + taken, checksum, [&] { return yieldWhile(true); });
        if (got == ChecksumPipeline::Taken::ByCaller) checksum = FileChecksum(app_, folder + name);
      }
      ++taken;
      yield();
      if (app_.ended) return;
      if (run.abortRequested) {
        stopped = true;
        break;
      }
      const std::string section = UCase(Right(name, 3));
      // Re-read the baseline after every pump: a handler may have replaced it.
      const Baseline& lookup = useFolderBaseline ? app_.folderBaseline : app_.systemBaseline;
      // An entry with the empty text is an accepted empty file's hash.
      const std::string stored = lookup.FindEntry(name, section).value_or(std::string(kNoChecksum));
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
      yield();
      if (run.pauseRequested) {
        if (pipeline) pipeline->Hold();
        while (run.pauseRequested && !app_.ended) {
          PumpMessages();
          MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        // Files read ahead before the pause may have changed while it
        // lasted: they are read again, as one file at a time would.
        if (pipeline && (app_.ended || run.abortRequested))
          pipeline->Stop();
        else if (pipeline)
          pipeline->Restart(base + taken);
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
