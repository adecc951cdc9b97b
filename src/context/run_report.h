// What one run found and how it ended, gathered as the run goes and written
// once at its end: one event in the system's event log per kind of finding
// (or one saying it was clean) and one line of findings.jsonl per finding.
#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "platform/host.h"

namespace kv {

enum class RunKind { None, Logon, ShutDown, Scheduled, Manual };

enum class FindingKind { New, Changed, Unreadable, Missing, RegistryNew, RegistryModified, Pending };

// What became of a finding by the end of the run: handed to the scanners
// only, taken into the baseline or snapshot, or left for the user.
enum class FindingAction { Kept, Scanned, Accepted };

struct Finding {
  FindingKind kind = FindingKind::New;
  // A file's path; for a registry entry its place (the snapshot's section).
  std::string path;
  std::string name;       // a registry entry's value name; empty for files
  std::string algorithm;  // the checksum a file was compared by
  std::string oldText, newText;  // checksum texts, or a registry entry's old and new data
  FindingAction action = FindingAction::Kept;
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
