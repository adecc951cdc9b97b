// Data\Log\findings.jsonl: one JSON object a line (UTF-8) for every finding
// of a run and one for its end, for monitoring agents that follow the file.
// docs/events.md lists the fields.
#pragma once
#include <functional>
#include <string>

#include "context/run_report.h"
#include "platform/host.h"

namespace kv {

class App;

// Who and when the lines speak for: the end of the run, on this machine.
struct RecordStamp {
  LocalTime time;
  std::string host, user;  // program texts
  int exitCode = 0;
};

// "2007-01-05T08:17:49+01:00".
std::string IsoTime(const LocalTime& t);

// The lines (each ending in "\n") for a run.
std::string FindingsJsonLines(const RunReport& report, const RecordStamp& stamp);
// The same lines a piece of about pieceSize bytes at a time: each call adds
// the next whole lines to its text; false once the run's end line was given.
// The report is read as the pieces are made.
std::function<bool(std::string&)> FindingsJsonPieces(const RunReport& report, const RecordStamp& stamp,
                                                     size_t pieceSize);

// Appends the run's lines to Data\Log\findings.jsonl; false when they could
// not be written.
bool AppendFindingsJson(App& app);

}  // namespace kv
