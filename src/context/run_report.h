// What one run found and how it ended, gathered as the run goes and written
// once at its end: one event in the system's event log per kind of finding
// (or one saying it was clean) and one line of findings.jsonl per finding.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace kv {

enum class RunKind { None, Logon, ShutDown, Scheduled, Manual };

enum class FindingKind { New, Changed, Unreadable, Missing, RegistryNew, RegistryModified, Pending };

// What became of a finding by the end of the run: handed to the scanners
// only, taken into the baseline or snapshot, or left for the user.
enum class FindingAction { Kept, Scanned, Accepted };

// Texts a finding reads from where they are already kept, by number: the
// record of a run that finds two hundred thousand files reads their paths
// and checksums from the check's own list instead of a copy of each.
class FindingTexts {
 public:
  virtual ~FindingTexts() = default;
  // Text `which` of item `index`: 0 path, 1 name, 2 algorithm, 3 old, 4 new.
  virtual std::string_view Text(size_t index, size_t which) const = 0;
};

class Finding {
 public:
  Finding() = default;
  Finding(FindingKind kind, std::shared_ptr<const FindingTexts> texts, size_t index)
      : kind(kind), shared_(std::move(texts)), index_(index) {}
  Finding(FindingKind kind, std::string_view path, std::string_view name = {}, std::string_view algorithm = {},
          std::string_view oldText = {}, std::string_view newText = {},
          FindingAction action = FindingAction::Kept)
      : kind(kind), action(action) {
    texts_.reserve(path.size() + name.size() + algorithm.size() + oldText.size() + newText.size());
    size_t i = 0;
    for (const std::string_view text : {path, name, algorithm, oldText}) {
      texts_ += text;
      ends_[i++] = uint32_t(texts_.size());
    }
    texts_ += newText;
  }

  FindingKind kind = FindingKind::New;
  FindingAction action = FindingAction::Kept;
  // A file's path; for a registry entry its place (the snapshot's section).
  std::string_view path() const { return Text(0); }
  std::string_view name() const { return Text(1); }       // a registry entry's value name; empty for files
  std::string_view algorithm() const { return Text(2); }  // the checksum a file was compared by
  // Checksum texts, or a registry entry's old and new data.
  std::string_view oldText() const { return Text(3); }
  std::string_view newText() const { return Text(4); }

 private:
  std::string_view Text(size_t i) const {
    if (shared_) return shared_->Text(index_, i);
    const size_t from = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(texts_).substr(from, (i < ends_.size() ? ends_[i] : texts_.size()) - from);
  }
  // The five texts in one string: a run that finds two hundred thousand
  // files keeps one allocation a finding on its record, not five strings.
  std::string texts_;
  std::array<uint32_t, 4> ends_{};
  std::shared_ptr<const FindingTexts> shared_;  // when set, the texts are read from it
  size_t index_ = 0;
};

struct RunReport {
  RunKind kind = RunKind::None;
  LocalTime started;
  std::chrono::steady_clock::time_point startTick;
  long filesChecked = 0;
  // A check was made: a run that ends before one (a secure shut down
  // cancelled at its window) has nothing to say unless it met a problem.
  bool checked = false;
  std::vector<Finding> findings;
  // Data files whose seal did not match, by name.
  std::vector<std::string> changedDataFiles;
  // What went wrong with the scanners; empty when nothing did.
  std::string scannerFailure;
  // Why the run could not do its work; empty when it could.
  std::string couldNotRun;
  // A secure shut down found files for a log (written or not, as
  // Auto-Logging says): it waits two minutes before the machine goes off.
  bool shutDownFindings = false;
  bool written = false;

  void Start(RunKind k, const LocalTime& now) {
    *this = RunReport{};
    kind = k;
    started = now;
    startTick = std::chrono::steady_clock::now();
  }
  bool Open() const { return kind != RunKind::None && !written; }
  bool HasNews() const {
    return checked || !findings.empty() || !changedDataFiles.empty() || !scannerFailure.empty() ||
           !couldNotRun.empty();
  }
  size_t Count(FindingKind k) const {
    size_t n = 0;
    for (const Finding& f : findings) n += f.kind == k;
    return n;
  }
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - startTick).count();
  }
};

}  // namespace kv
