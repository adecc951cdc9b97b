#include "logs/findings_json.h"

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <nlohmann/json.hpp>

#include "context/app.h"
#include "logs/event_report.h"
#include "platform/files.h"
#include "platform/identity.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

using nlohmann::json;

const char* KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::New: return "new";
    case FindingKind::Changed: return "changed";
    case FindingKind::Unreadable: return "unreadable";
    case FindingKind::Missing: return "missing";
    case FindingKind::RegistryNew: return "registry-new";
    case FindingKind::RegistryModified: return "registry-modified";
    case FindingKind::Pending: return "pending";
  }
  return "new";
}

const char* ActionName(FindingAction action) {
  switch (action) {
    case FindingAction::Scanned: return "scanned";
    case FindingAction::Accepted: return "accepted";
    case FindingAction::Kept: break;
  }
  return "kept";
}

bool IsRegistry(FindingKind kind) {
  return kind == FindingKind::RegistryNew || kind == FindingKind::RegistryModified;
}

// An absent value is null, so every line of a kind has the same fields.
json TextOrNull(std::string_view text) { return text.empty() ? json(nullptr) : json(Utf8Text(text)); }

json Common(const RunReport& report, const RecordStamp& stamp, const char* kind) {
  return json{{"time", IsoTime(stamp.time)},
              {"host", Utf8Text(stamp.host)},
              {"user", Utf8Text(stamp.user)},
              {"run", RunName(report.kind)},
              {"kind", kind}};
}

}  // namespace

std::string IsoTime(const LocalTime& t) {
  const int offset = t.utcOffsetMinutes < 0 ? -t.utcOffsetMinutes : t.utcOffsetMinutes;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return buf;
}

namespace {

// Texts the system gave that are not valid UTF-16 come out replaced, not as
// a line no reader can parse.
std::string Line(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n"; }

std::string FindingLine(const RunReport& report, const RecordStamp& stamp, const Finding& f) {
  json j = Common(report, stamp, KindName(f.kind));
  if (IsRegistry(f.kind)) {
    j["place"] = Utf8Text(f.path());
    j["name"] = Utf8Text(f.name());
  } else {
    j["path"] = Utf8Text(f.path());
  }
  j["algorithm"] = TextOrNull(f.algorithm());
  j["old"] = TextOrNull(f.oldText());
  j["new"] = TextOrNull(f.newText());
  j["action"] = ActionName(f.action);
  return Line(j);
}

std::string EndLine(const RunReport& report, const RecordStamp& stamp) {
  json end = Common(report, stamp, "run-end");
  end["counts"] = json{{"new", report.Count(FindingKind::New)},
                       {"changed", report.Count(FindingKind::Changed)},
                       {"unreadable", report.Count(FindingKind::Unreadable)},
                       {"missing", report.Count(FindingKind::Missing)},
                       {"registry-new", report.Count(FindingKind::RegistryNew)},
                       {"registry-modified", report.Count(FindingKind::RegistryModified)},
                       {"pending", report.Count(FindingKind::Pending)},
                       {"checked", report.filesChecked}};
  // Whole milliseconds: a reader compares runs, it does not time them.
  end["seconds"] = double(std::llround(report.Seconds() * 1000)) / 1000;
  end["exit"] = stamp.exitCode;
  end["error"] = report.couldNotRun.empty() && report.scannerFailure.empty() && report.changedDataFiles.empty()
                     ? json(nullptr)
                     : json(Utf8Text(!report.couldNotRun.empty()     ? report.couldNotRun
                                     : !report.scannerFailure.empty() ? report.scannerFailure
                                                                      : "A data file was changed outside "
                                                                        "Korvanel: " +
                                                                            report.changedDataFiles.front()));
  return Line(end);
}

constexpr size_t kPieceSize = 1 << 20;

}  // namespace

// Two hundred thousand findings make some fifty megabytes of lines, which
// need not be held all at once.
std::function<bool(std::string&)> FindingsJsonPieces(const RunReport& report, const RecordStamp& stamp,
                                                     size_t pieceSize) {
  return [&report, stamp, pieceSize, next = size_t(0), ended = false](std::string& lines) mutable {
    if (ended) return false;
    for (; next < report.findings.size() && lines.size() < pieceSize; ++next)
      lines += FindingLine(report, stamp, report.findings[next]);
    if (next == report.findings.size() && lines.size() < pieceSize) {
      lines += EndLine(report, stamp);
      ended = true;
    }
    return true;
  };
}

std::string FindingsJsonLines(const RunReport& report, const RecordStamp& stamp) {
  std::string lines;
  const auto source = FindingsJsonPieces(report, stamp, std::string::npos);
  (void)source(lines);
  return lines;
}

bool AppendFindingsJson(App& app) {
  const RecordStamp stamp{app.host.Now(), MachineName(), AccountName(), app.exitCode};
  return AppendLines(app.dataRoot + "Data\\Log\\findings.jsonl", FindingsJsonPieces(app.report, stamp, kPieceSize));
}

}  // namespace kv
