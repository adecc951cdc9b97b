// The dated log files in Data\Log\: one file per hand-over of files to the
// scanners (or per hand-over that would have happened without one).
#pragma once
#include <string>

#include "platform/date_text.h"
#include "platform/host.h"

namespace kv {

class App;

// "01-05-2007(8_17_49AM).log" for 8:17:49 AM on 5 January 2007 in a
// month/day/year, 12-hour setting.
std::string LogFileNameAt(const LocalTime& t);

// Logs `text` (a header up to its first ",", then the scanner items). Unless
// forced, an empty text or one without a file name is not logged, a secure
// shut down notes that it found something, and "Auto-Logging" decides.
// Returns the path of the file written; empty when none was.
std::string WriteLog(App& app, const std::string& text, int force = 0);

// The same, telling a log that was not wanted from one that could not be
// written (a full disk, a read-only or missing Data\Log), for callers that
// may act on the findings only once they are on record.
struct LogResult {
  bool wanted = false;  // the rules above asked for a file
  std::string path;     // the file written; empty when none was
  bool failed() const { return wanted && path.empty(); }
};
LogResult TryWriteLog(App& app, const std::string& text, int force = 0);

// Logs a message of the program's own (whatever Auto-Logging says) as the
// header of a log without files, its line breaks turned into spaces, so the
// reports viewer shows it as one line.
std::string WriteMessageLog(App& app, const std::string& message);

}  // namespace kv
