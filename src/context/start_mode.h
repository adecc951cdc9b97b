// How the program was started: read from its command line once, before the
// first step of start-up, and the same for the whole process afterwards.
#pragma once
#include "core/findings_notice.h"

namespace kv {

enum class StartKind {
  ByHand,          // nothing on the command line
  Logon,           // "/r": the logon check
  SecureShutDown,  // "/s": the secure shut-down window and its sequence
  ScheduledScan,   // "/a": the checks of the secure shut down, at once
  Notice,          // "/n" and five counts: a scheduled scan's findings notice
  Unknown,         // any other text: the main window, as by hand
};

class StartMode {
 public:
  StartMode() = default;
  explicit StartMode(StartKind kind, FindingCounts notice = {}) : kind_(kind), notice_(notice) {}

  StartKind Kind() const { return kind_; }
  // The counts a Notice start shows.
  const FindingCounts& NoticeCounts() const { return notice_; }

  // Nobody started the program: a changed data file is reported, not
  // decided about.
  bool Unattended() const { return LogonCheck() || InSecureShutDown(); }
  // Nobody may be at the screen at all: what would be a question is only
  // logged or skipped.
  bool InSecureShutDown() const {
    return kind_ == StartKind::SecureShutDown || kind_ == StartKind::ScheduledScan;
  }
  // A changed data file is reported in the log alone.
  bool Quiet() const { return InSecureShutDown(); }
  // With no window to wait on, even the messages of a scheduled scan go to
  // the log.
  bool Scheduled() const { return kind_ == StartKind::ScheduledScan; }
  bool LogonCheck() const { return kind_ == StartKind::Logon; }
  // Nothing at all on the command line. Any argument, even one the program
  // does not know, makes every check of the process check what the
  // settings choose for an unattended run, and a scan of failing files that
  // the settings start on its own end the program.
  bool Interactive() const { return kind_ == StartKind::ByHand; }

 private:
  StartKind kind_ = StartKind::ByHand;
  FindingCounts notice_;
};

}  // namespace kv
