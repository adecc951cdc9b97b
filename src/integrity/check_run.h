// One integrity check, from what was asked to what was found, with no window
// in it: CheckRun lists the folders of a CheckRequest, takes the checksums of
// the files of the chosen categories, compares them with the baselines and
// tells a CheckView what happens, file by file. Whoever shows the check (the
// check window, a test) only renders these events.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/checksum_text.h"
#include "core/name_list.h"

namespace kv {

class App;
class ChecksumPipeline;
class HashProvider;

// Why a check runs; it decides how the run ends, not what it compares.
enum class CheckReason { Logon, SecureShutDown, ScheduledScan, Manual, FirstFullScan, FirstFolderScan };

// The check of a secure shut down or a scheduled scan: nobody may be there
// to see it or to answer a question.
inline bool InSecureShutDown(CheckReason why) {
  return why == CheckReason::SecureShutDown || why == CheckReason::ScheduledScan;
}
// Started by the user from a page of the main window (a first folder scan
// too): the window shows it, and a stop only hides it.
inline bool StartedByUser(CheckReason why) {
  return why == CheckReason::Manual || why == CheckReason::FirstFolderScan;
}

// What became of one file. Kinds may be added; a view shows what it knows
// and passes over the rest. Unreadable: there, but it could not be opened or
// read to its end, so it has no checksum to compare or accept. Missing: its
// baseline entry names a file that is no longer in its folder.
enum class VerdictKind : uint8_t { Same, New, Changed, Unreadable, Missing };

class FileVerdict {
 public:
  FileVerdict() = default;
  FileVerdict(std::string_view path, VerdictKind kind, std::string_view checksum = {}, int slot = 0,
              bool finding = false, std::string_view previous = {})
      : kind(kind), finding(finding), slot(slot) {
    pathEnd_ = uint32_t(path.size());
    checksumEnd_ = uint32_t(pathEnd_ + checksum.size());
    end_ = uint32_t(checksumEnd_ + previous.size());
    if (end_ == 0) return;
    texts_.reset(new char[end_]);
    path.copy(texts_.get(), path.size());
    checksum.copy(texts_.get() + pathEnd_, checksum.size());
    previous.copy(texts_.get() + checksumEnd_, previous.size());
  }
  FileVerdict(const FileVerdict& o)
      : FileVerdict(o.path(), o.kind, o.checksum(), o.slot, o.finding, o.previous()) {}
  FileVerdict& operator=(const FileVerdict& o) { return *this = FileVerdict(o); }
  // Moved from, a verdict is left with no texts rather than ends past none.
  FileVerdict(FileVerdict&& o) noexcept { *this = std::move(o); }
  FileVerdict& operator=(FileVerdict&& o) noexcept {
    kind = o.kind;
    finding = o.finding;
    slot = o.slot;
    texts_ = std::move(o.texts_);
    pathEnd_ = std::exchange(o.pathEnd_, 0);
    checksumEnd_ = std::exchange(o.checksumEnd_, 0);
    end_ = std::exchange(o.end_, 0);
    return *this;
  }

  VerdictKind kind = VerdictKind::Same;
  // Not the same, and left for the user: during a first full scan new
  // files go straight into the baseline instead.
  bool finding = false;
  int slot = 0;  // the custom folder's slot; 0 for the system directory

  // The folder (ending in "\") and the name as listed.
  std::string_view path() const { return {texts_.get(), pathEnd_}; }
  // Empty for a file unread or missing.
  std::string_view checksum() const { return {texts_.get() + pathEnd_, checksumEnd_ - pathEnd_}; }
  // A changed or missing file: the checksum its baseline holds.
  std::string_view previous() const { return {texts_.get() + checksumEnd_, end_ - checksumEnd_}; }

 private:
  // The three texts in one block of just their size: a run that finds two
  // hundred thousand files keeps one block a finding, and a finding is 32
  // bytes beside it.
  std::unique_ptr<char[]> texts_;
  uint32_t pathEnd_ = 0, checksumEnd_ = 0, end_ = 0;
};

// Categories 1..6 in checking order (index 0 is category 1).
using CategorySet = std::array<bool, 6>;

struct CheckFolder {
  std::string path;  // empty: the system directory
  int slot = 0;      // custom folders only
  CategorySet categories{};
  // A queued custom folder is checked against its own baseline file, loaded
  // when its pass starts; otherwise against the baseline the caller loaded.
  bool loadBaseline = false;
};

// What one run checks. Whoever starts the run says why and, for a run the
// user started, which folder (the first of `folders`) and categories;
// PrepareRequest completes the rest from the settings.
struct CheckRequest {
  CheckReason why = CheckReason::Manual;
  std::vector<CheckFolder> folders;  // in checking order
  std::string algorithm;             // the checksum the baselines hold
  std::string baselineFile;          // where a first full scan writes what it finds
  bool buildBaseline = false;        // a first full scan
  // The findings wait for the user even when the settings scan failing
  // files at once.
  bool noAutoScanFailing = false;
};

// The category's extensions and titles.
struct CategoryInfo {
  const char* ext1;
  const char* ext2;
  const char* countText;
  const char* title;
  const char* notScanning;
};
const CategoryInfo& Category(int category);  // 1..6
// Whether a file name's last four characters, upper-cased, are one of a
// category's two extensions (".DLL", ".386", ...).
bool InCategory(std::string_view name, std::string_view ext1, std::string_view ext2);

struct CheckProgress {
  int category = 0;
  std::string fileName;
  long checked = 0;          // files classified so far in the run
  long newFiles = 0, changed = 0;
  long runTotal = 1;         // files counted for the run, at least 1
  int categoryPercent = 0;   // of the category's files over the whole run
  long unreadable = 0, missing = 0;
  int RunPercent() const;
};

struct CheckTally {
  long runTotal = 1;  // counted before the run, at least 1
  long categoryTotal[7] = {};  // 1..6, over every folder of the run
  long checked = 0;
  long newFiles = 0;
  long changed = 0;
  long unreadable = 0;  // among the checked
  long missing = 0;     // baseline entries without their file: never among the checked
  bool stopped = false;
  long Passing() const { return checked - newFiles - changed - unreadable; }
  // Every checked file passed and none is missing (none at all counts as passing).
  bool Clean() const { return newFiles == 0 && changed == 0 && unreadable == 0 && missing == 0; }
};

// Pause and stop: set by whoever shows the run, read by the run between files.
struct CheckControl {
  bool pause = false;
  bool stop = false;
};

// Threads that read files ahead of the walk, and their hash providers, kept
// from run to run: acquiring a provider costs more than hashing most files.
struct ReadAhead {
  explicit ReadAhead(size_t workers);
  ~ReadAhead();
  size_t workers;
  std::vector<std::unique_ptr<HashProvider>> providers;
};

// The readers a run uses, kept in the App from run to run.
ReadAhead& Readers(App& app);

// The first pass of a run begun before the run is made: its folder listed
// and its readers reading while the window that shows the run is made. The
// next run whose first folder and categories are the same takes it; its
// count and its first pass then use this listing and these readers.
struct HeadStart {
  HeadStart();
  HeadStart(HeadStart&&) noexcept;
  ~HeadStart();  // stops the readers that were not taken
  std::string folder;
  CategorySet categories{};
  ChecksumKind kind = ChecksumKind::Crc32;
  std::optional<NameList> names;
  std::unique_ptr<ChecksumPipeline> pipeline;
};
// Begins the first pass of `request` (as PrepareRequest left it) and keeps
// it in the App for the run; one begun before and not taken is let go.
void StartHeadStart(App& app, const CheckRequest& request);

struct CheckPass {
  size_t index = 0;   // 0 for the first folder
  size_t queued = 0;  // queued custom folders of the run (after the first folder)
  const CheckFolder* folder = nullptr;
};

class CheckView {
 public:
  virtual void PassStarted(const CheckPass& pass) = 0;
  virtual void CategorySkipped(int category) = 0;
  virtual void CategoryStarted(int category) = 0;
  // Before the file's checksum is taken.
  virtual void FileStarted(int category, const std::string& name) = 0;
  virtual void FileChecked(const FileVerdict& verdict) = 0;
  virtual void Progress(const CheckProgress& progress) = 0;
  // complete: the listing was walked to its end, not stopped.
  virtual void CategoryEnded(int category, bool complete) = 0;
  virtual void PassEnded(const CheckPass& pass) = 0;
  virtual void RunEnded(const CheckTally& tally) = 0;

 protected:
  ~CheckView() = default;
};

class CheckRun {
 public:
  CheckRun(App& app, CheckRequest request, CheckView& view, ReadAhead& readers,
           std::shared_ptr<CheckControl> control);
  ~CheckRun();
  CheckRun(const CheckRun&) = delete;
  CheckRun& operator=(const CheckRun&) = delete;

  // Counts the files the run will check, folder by folder; yields to the
  // message queue after every name of a listing.
  void Count();
  // Every pass to its end or to a stop (Count first when it has not run).
  // The message queue is pumped between files, and while paused.
  void Run();

  // The checksum and the baseline file as they are when the run starts:
  // start-up applies the settings after a first full scan was prepared.
  void UseBaseline(const std::string& algorithm, const std::string& baselineFile) {
    request_.algorithm = algorithm;
    request_.baselineFile = baselineFile;
  }

  const CheckRequest& Request() const { return request_; }
  const CheckTally& Tally() const { return tally_; }

 private:
  // `first`: the first folder of the run, whose listing the first pass takes.
  void CountFolder(const CheckFolder& folder, bool first);
  void Pass(const CheckFolder& folder, bool first);
  // False when the run was stopped or the program ended.
  bool Walk(const CheckFolder& folder, int category);
  bool LetWindowRun(ChecksumPipeline* pipeline);
  // The baseline entries of the folder's categories whose file is gone.
  void ReportMissing(const CheckFolder& folder);
  // Lists the pass's folder and starts its readers.
  void ListPass(const CheckFolder& folder, bool first);

  App& app_;
  CheckRequest request_;
  CheckView& view_;
  ReadAhead& readers_;
  std::shared_ptr<CheckControl> control_;
  CheckTally tally_;
  bool counted_ = false;
  // The readers of a whole folder pass, every category in checking order,
  // so that they read on into the next category while the walk finishes
  // one; passTaken_ results of it are taken.
  std::unique_ptr<ChecksumPipeline> passPipeline_;
  size_t passTaken_ = 0;
  // The folder as the pass listed it, every category walked from it, and
  // the names of it that were gone when their turn came.
  std::optional<NameList> passNames_;
  std::vector<std::string> passGone_;
  // The first folder as the count listed it, until the first pass takes it.
  std::optional<NameList> countedFirst_;
  std::unique_ptr<HeadStart> head_;
};

}  // namespace kv
