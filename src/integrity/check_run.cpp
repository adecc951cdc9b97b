#include "integrity/check_run.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "context/app.h"
#include "context/settings.h"
#include "core/baseline.h"
#include "core/chunked_read.h"
#include "core/text.h"
#include "integrity/baseline_files.h"
#include "integrity/checksum/checksum_pipeline.h"
#include "integrity/checksum/clsHash.h"
#include "integrity/checksum/file_checksum.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

namespace {

// Two hundred thousand findings are held at once.
static_assert(sizeof(FileVerdict) <= 32);

// Category 1..6 in checking order; "..." never matches a four-character suffix.
constexpr CategoryInfo kCategories[7] = {
    {},
    {".DLL", "...", ".dll", "DLL Scan", "DLL Scan --- Not Scanning"},
    {".DRV", "...", ".drv", "Driver Scan", "Driver Scan --- Not Scanning"},
    {".SYS", ".386", ".sys.386", "System Files Scan", "System Files --- Not Scanning"},
    {".OCX", "...", ".ocx", "OCX Scan", "OCX Scan --- Not Scanning"},
    {".EXE", ".COM", ".exe.com", "Executable Scan", "Executable Scan --- Not Scanning"},
    {".PIF", ".SCR", ".pif.scr", "Commonly Exploited Executable Scan",
     "Commonly Exploited Executables --- Not Scanning"},
};

int CategoryOfSuffix(const std::string& upperSuffix) {
  for (int c = 1; c <= 6; ++c)
    if (upperSuffix == kCategories[c].ext1 || upperSuffix == kCategories[c].ext2) return c;
  return 0;
}

// Percentages round half to even, as the display always has.
int Percent(long part, long whole) {
  return int(std::nearbyint(double(part) / double(whole) * 100.0));
}

std::string FolderOf(const CheckFolder& folder) {
  std::string path = folder.path.empty() ? Trim(SystemDirectory()) : folder.path;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

const CategoryInfo& Category(int category) {
  return kCategories[(category >= 1 && category <= 6) ? category : 0];
}

bool InCategory(std::string_view name, std::string_view ext1, std::string_view ext2) {
  // Called for every name of every listing: compared in place, no upper-cased copy.
  const std::string_view suffix = name.substr(name.size() < 4 ? 0 : name.size() - 4);
  return EqualsNoCase(suffix, ext1) || EqualsNoCase(suffix, ext2);
}

int CheckProgress::RunPercent() const { return Percent(checked, std::max<long>(1, runTotal)); }

ReadAhead::ReadAhead(size_t w) : workers(w) {}
ReadAhead::~ReadAhead() = default;

CheckRun::CheckRun(App& app, CheckRequest request, CheckView& view, ReadAhead& readers,
                   std::shared_ptr<CheckControl> control)
    : app_(app), request_(std::move(request)), view_(view), readers_(readers),
      control_(control ? std::move(control) : std::make_shared<CheckControl>()) {}

CheckRun::~CheckRun() = default;

// --- counting ---------------------------------------------------------------------

void CheckRun::Count() {
  const StepClock::Timer timer(app_.steps, Step::Listing);
  counted_ = true;
  tally_ = CheckTally();
  tally_.runTotal = 0;
  countedFirst_.reset();
  // A head start on another folder or other categories is of no use.
  if (HeadStart* kept = app_.kept.Find<HeadStart>()) {
    head_ = std::make_unique<HeadStart>(std::move(*kept));
    app_.kept.Drop<HeadStart>();
    const CheckFolder* first = request_.folders.empty() ? nullptr : &request_.folders.front();
    if (!first || head_->folder != FolderOf(*first) || head_->categories != first->categories)
      head_.reset();
  }
  for (const CheckFolder& folder : request_.folders) {
    CountFolder(folder, &folder == &request_.folders.front());
    if (app_.ended) return;
  }
  if (tally_.runTotal == 0) tally_.runTotal = 1;
}

void CheckRun::CountFolder(const CheckFolder& folder, bool first) {
  std::string extensionSet;
  for (int c = 1; c <= 6; ++c)
    if (folder.categories[size_t(c - 1)]) extensionSet += kCategories[c].countText;
  const std::string upperSet = UCase(extensionSet);
  auto names = first && head_ ? std::exchange(head_->names, std::nullopt)
                              : ListNames(FolderOf(folder), PumpWaitingMessages);
  if (app_.ended) return;
  if (!names) return;
  for (const std::string_view name : *names) {
    const std::string suffix = UCase(Right(name, 4));
    // A name shorter than an extension is looked for as it is: "DLL" counts
    // towards the run, if towards no category.
    if (upperSet.find(suffix) != std::string::npos) {
      ++tally_.runTotal;
      if (int c = CategoryOfSuffix(suffix)) ++tally_.categoryTotal[c];
    }
    // Long listings stay responsive.
    PumpWaitingMessages();
    if (app_.ended) return;
  }
  // The first pass follows at once: it checks the folder as it was counted.
  if (first) countedFirst_ = std::move(names);
}

// --- the run --------------------------------------------------------------------------

void CheckRun::Run() {
  if (!counted_) Count();
  if (app_.ended) return;
  control_->stop = false;
  for (size_t i = 0; i < request_.folders.size(); ++i) {
    const CheckFolder& folder = request_.folders[i];
    const CheckPass pass{i, request_.folders.size() - 1, &folder};
    view_.PassStarted(pass);
    if (folder.loadBaseline) {
      // A folder whose own baseline cannot be had is checked against none
      // (every file new), never against the one the previous folder left.
      if (!LoadFolderBaseline(app_, FolderBaselineFile(app_, folder.slot)))
        app_.folderBaseline = Baseline();
    } else if (!request_.buildBaseline) {
      // Let go of once files were accepted, and not read back then (held by
      // another program), or for the system directory not read in at
      // start-up: checked against no baseline, every file would pass for new.
      if (folder.path.empty()) {
        if (app_.systemBaseline.SectionCount() == 0 && FileExists(app_.baselineFile))
          LoadSystemBaseline(app_, app_.baselineFile);
      } else if (app_.folderBaseline.SectionCount() == 0) {
        const std::string file = FolderBaselineFile(app_, folder.slot);
        if (FileExists(file)) LoadFolderBaseline(app_, file);
      }
    }
    if (app_.ended) return;
    Pass(folder, i == 0);
    if (app_.ended) return;
    view_.PassEnded(pass);
    if (control_->stop) break;
  }
  tally_.stopped = control_->stop;
  view_.RunEnded(tally_);
}

void CheckRun::Pass(const CheckFolder& folder, bool first) {
  struct EndPass {
    CheckRun& r;
    ~EndPass() {
      r.passPipeline_.reset();
      r.passNames_.reset();
      r.passGone_.clear();
    }
  } endPass{*this};
  ListPass(folder, first);
  for (int c = 1; c <= 6; ++c) {
    if (app_.ended || control_->stop) return;
    if (!folder.categories[size_t(c - 1)]) {
      view_.CategorySkipped(c);
      continue;
    }
    view_.CategoryStarted(c);
    if (!Walk(folder, c)) return;
  }
  // A first full scan writes the baseline from the listing: nothing in it
  // can be missing.
  if (!request_.buildBaseline) ReportMissing(folder);
}

void CheckRun::ReportMissing(const CheckFolder& folder) {
  const std::string path = FolderOf(folder);
  // A folder that cannot be listed (a drive not there today) says nothing
  // about its files; taking them all for deleted would let one accept
  // empty the folder's baseline.
  if (!passNames_ || app_.ended) return;
  // The folder as the pass listed it, less the files gone when their turn
  // came: each file of the baseline is either checked or missing, once.
  const NameList* listed = &*passNames_;
  NameList present;
  if (!passGone_.empty()) {
    const std::unordered_set<std::string_view> gone(passGone_.begin(), passGone_.end());
    for (const std::string_view name : *passNames_)
      if (!gone.count(name)) present.Add(name);
    listed = &present;
  }
  std::vector<std::string_view> sections;
  for (int c = 1; c <= 6; ++c) {
    if (!folder.categories[size_t(c - 1)]) continue;
    for (const char* ext : {kCategories[c].ext1, kCategories[c].ext2})
      if (ext[0] == '.') sections.emplace_back(ext + 1);
  }
  const bool folderPass = !folder.path.empty();
  const Baseline& baseline = folderPass ? app_.folderBaseline : app_.systemBaseline;
  for (const std::string& name : MissingNames(baseline, sections, *listed)) {
    const FileVerdict verdict{path + name, VerdictKind::Missing, {}, folderPass ? folder.slot : 0, true,
                              baseline.FindEntry(name, UCase(Right(name, 3))).value_or(std::string())};
    ++tally_.missing;
    view_.FileChecked(verdict);
  }
}

namespace {

std::unique_ptr<ChecksumPipeline> StartReaders(App& app, ReadAhead& readers, ChecksumKind kind,
                                               const std::string& folder, NameList names) {
  const size_t workers = std::min(readers.workers, names.size());
  const bool aes = HashProvider::NeedsAes(kind);
  auto& providers = readers.providers;
  if (!providers.empty() && providers.front()->aes() != aes) providers.clear();
  if (kind != ChecksumKind::Crc32 && kind != ChecksumKind::None)
    while (providers.size() < workers)
      providers.push_back(std::make_unique<HashProvider>(app, SystemCrypto(), aes));
  struct Worker {
    HashProvider* provider;
    std::vector<uint8_t> buffer;
  };
  auto state = std::make_shared<std::vector<Worker>>();
  for (size_t w = 0; w < workers; ++w)
    state->push_back({w < providers.size() ? providers[w].get() : nullptr, {}});
  if (app.readBufferSize == 0) app.readBufferSize = kDefaultReadBufferSize;
  return std::make_unique<ChecksumPipeline>(
      folder, std::move(names), workers, ChecksumPipeline::kWindow, app.readBufferSize,
      [kind, state](size_t worker, const std::string& path,
                    int32_t size) -> std::optional<FileSum> {
        Worker& w = (*state)[worker];
        if (kind != ChecksumKind::Crc32 && kind != ChecksumKind::None && !w.provider)
          return std::nullopt;
        return WorkerFileChecksum(kind, path, size, *w.provider, w.buffer);
      });
}

// The pass's files in checking order: category by category, each in
// listing order. The readers hold the names once, the folder apart.
NameList PassNames(const NameList& listed, const CategorySet& categories) {
  const auto inPass = [&](const auto& add) {
    for (int c = 1; c <= 6; ++c) {
      if (!categories[size_t(c - 1)]) continue;
      for (const std::string_view name : listed)
        if (InCategory(name, kCategories[c].ext1, kCategories[c].ext2)) add(name);
    }
  };
  size_t count = 0, characters = 0;
  inPass([&](std::string_view name) {
    ++count;
    characters += name.size();
  });
  NameList names;
  names.Reserve(count, characters);
  inPass([&](std::string_view name) { names.Add(name); });
  return names;
}

}  // namespace

ReadAhead& Readers(App& app) { return app.kept.Get<ReadAhead>(ChecksumPipeline::MachineWorkers()); }

HeadStart::HeadStart() = default;
HeadStart::HeadStart(HeadStart&&) noexcept = default;
HeadStart::~HeadStart() = default;

void StartHeadStart(App& app, const CheckRequest& request) {
  app.kept.Drop<HeadStart>();
  ReadAhead& readers = Readers(app);
  if (request.folders.empty() || readers.workers == 0) return;
  const CheckFolder& first = request.folders.front();
  HeadStart head;
  head.folder = FolderOf(first);
  head.categories = first.categories;
  head.kind = ChecksumKindOf(request.algorithm);
  const StepClock::Timer timer(app.steps, Step::Listing);
  head.names = ListNames(head.folder);
  if (!head.names) return;
  NameList names = PassNames(*head.names, head.categories);
  if (!names.empty())
    head.pipeline = StartReaders(app, readers, head.kind, head.folder, std::move(names));
  app.kept.Put<HeadStart>(std::move(head));
}

void CheckRun::ListPass(const CheckFolder& folder, bool first) {
  passPipeline_.reset();
  passTaken_ = 0;
  passGone_.clear();
  const StepClock::Timer timer(app_.steps, Step::Listing);
  const std::string path = FolderOf(folder);
  // Listing a folder costs a look at every file in it, each time: a pass
  // lists its folder once (the first takes the count's listing) and its
  // categories are walked from that listing.
  std::optional<NameList> counted = std::exchange(countedFirst_, std::nullopt);
  std::unique_ptr<HeadStart> head = std::move(head_);
  first = first && counted;
  passNames_ = first ? std::move(counted) : ListNames(path, PumpWaitingMessages);
  const std::optional<NameList>& names = passNames_;
  // Stopped while listing: no reader opens a file.
  if (!names || readers_.workers == 0 || app_.ended || control_->stop) return;
  // Readers started ahead of the run read the files of this listing, with
  // the checksum the run takes, unless the settings changed it since.
  if (first && head && head->pipeline && head->kind == ChecksumKindOf(request_.algorithm)) {
    passPipeline_ = std::move(head->pipeline);
    return;
  }
  NameList passNames = PassNames(*names, folder.categories);
  if (!passNames.empty())
    passPipeline_ = StartReaders(app_, readers_, ChecksumKindOf(request_.algorithm), path,
                                 std::move(passNames));
}

// The one place a folder pass lets the window's handlers run (pause, stop,
// repaints). The readers are held meanwhile, so that no file is opened
// after a stop; false when the run was stopped.
bool CheckRun::LetWindowRun(ChecksumPipeline* pipeline) {
  if (pipeline) pipeline->Hold();
  PumpMessages();
  if (!pipeline) return true;
  if (app_.ended || control_->stop) {
    pipeline->Stop();
    return false;
  }
  // The buffer size may have been changed in the settings meanwhile.
  if (app_.readBufferSize == 0) app_.readBufferSize = kDefaultReadBufferSize;
  pipeline->SetReadBufferSize(app_.readBufferSize);
  pipeline->Release();
  return true;
}

bool CheckRun::Walk(const CheckFolder& folderToCheck, int category) {
  CheckControl& control = *control_;
  long categoryDone = 0;
  int categoryPercent = 0;
  clsDoEvents events;
  // Posted clicks too: a click that waits for the end of the folder is not answered.
  events.QueueUsed(clsDoEvents::kDefaultQueue | QS_POSTMESSAGE);
  const long categoryTotal = tally_.categoryTotal[category];
  const bool folderPass = !folderToCheck.path.empty();
  const std::string folder = FolderOf(folderToCheck);
  const CategoryInfo& info = kCategories[category];

  // The category's files in the order the pass listed them, which is the
  // order its readers read them in.
  const std::optional<NameList>& names = passNames_;
  ChecksumPipeline* const pipeline = names ? passPipeline_.get() : nullptr;
  const size_t base = passTaken_;
  if (pipeline)
    for (const std::string_view name : *names)
      if (InCategory(name, info.ext1, info.ext2)) ++passTaken_;
  // The check's rhythm: between files the queue is pumped so that pause,
  // stop and repaints are handled. A yield keeps every file not yet started
  // unopened while handlers run, so that a stop is never followed by
  // another open.
  const auto yieldWhile = [&](bool inWait) {
    return (!inWait && !events.InputWaiting()) || LetWindowRun(pipeline);
  };
  const auto yield = [&] { (void)yieldWhile(false); };
  bool stopped = false;
  size_t taken = 0;
  if (names) {
    for (const std::string_view listed : *names) {
      yield();
      if (app_.ended) return false;
      if (!InCategory(listed, info.ext1, info.ext2)) continue;
      const std::string name(listed);
      view_.FileStarted(category, name);

      FileSum sum;
      std::optional<StepClock::Timer> checksumTime(std::in_place, app_.steps, Step::Checksums);
      if (pipeline && control.stop) {
        // Stopped during a yield: nothing more is read.
        stopped = true;
        break;
      }
      if (!pipeline) {
        sum = ReadFileChecksum(app_, folder + name);
      } else {
        const auto got = pipeline->Take(base + taken, sum, [&] { return yieldWhile(true); });
        if (got == ChecksumPipeline::Taken::ByCaller) sum = ReadFileChecksum(app_, folder + name);
      }
      ++taken;
      checksumTime.reset();
      yield();
      if (app_.ended) return false;
      if (control.stop) {
        stopped = true;
        break;
      }
      if (sum.read == FileRead::Gone) {
        // Deleted between the listing and the open: one with a baseline
        // entry is reported missing when the pass ends; one without was
        // never there to check.
        passGone_.push_back(name);
        ++categoryDone;
        if (categoryTotal != 0) categoryPercent = Percent(categoryDone, categoryTotal);
        continue;
      }
      const std::string section = UCase(Right(name, 3));
      // Read the baseline again after every pump: a handler may have replaced it.
      const Baseline& lookup = folderPass ? app_.folderBaseline : app_.systemBaseline;
      // An entry with the empty text is an accepted empty file's hash.
      const std::string stored = lookup.FindEntry(name, section).value_or(std::string(kNoChecksum));
      VerdictKind kind = VerdictKind::Same;
      bool finding = false;
      if (sum.read == FileRead::Locked) {
        // Whatever text came of it is no fingerprint: it is never compared,
        // so a stored text of an unread file never lets it pass either.
        kind = VerdictKind::Unreadable;
        ++tally_.unreadable;
        finding = !request_.buildBaseline;
      } else if (stored == kNoChecksum) {
        kind = VerdictKind::New;
        ++tally_.newFiles;
        if (request_.buildBaseline)
          WriteEntry(app_, request_.baselineFile, name, sum.text + std::string(kEndMarker), section);
        else
          finding = true;
      } else if (sum.text != stored) {
        kind = VerdictKind::Changed;
        ++tally_.changed;
        finding = !request_.buildBaseline;
      }
      const std::string_view checksum = kind == VerdictKind::Unreadable ? std::string_view() : sum.text;
      const std::string_view previous = kind == VerdictKind::Changed ? std::string_view(stored) : std::string_view();
      const FileVerdict verdict{folder + name, kind, checksum, folderPass ? folderToCheck.slot : 0, finding, previous};
      std::optional<StepClock::Timer> shown(std::in_place, app_.steps, Step::ListBox);
      view_.FileChecked(verdict);
      shown.reset();

      ++tally_.checked;
      ++categoryDone;
      if (categoryTotal != 0) categoryPercent = Percent(categoryDone, categoryTotal);
      shown.emplace(app_.steps, Step::ListBox);
      view_.Progress({category, name, tally_.checked, tally_.newFiles, tally_.changed, tally_.runTotal,
                     categoryPercent, tally_.unreadable, tally_.missing});
      shown.reset();
      yield();
      if (control.pause) {
        if (pipeline) pipeline->Hold();
        while (control.pause && !app_.ended) {
          // Paused: only the user's clicks are handled until resumed.
          PumpMessages();
          MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        // Files read ahead before the pause may have changed while it
        // lasted: they are read again, as one file at a time would.
        if (pipeline && (app_.ended || control.stop))
          pipeline->Stop();
        else if (pipeline)
          pipeline->Restart(base + taken);
      }
      if (app_.ended) return false;
    }
  }
  view_.CategoryEnded(category, !stopped);
  return !stopped && !control.stop;
}

}  // namespace kv
