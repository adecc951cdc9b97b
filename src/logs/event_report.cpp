#include "logs/event_report.h"

#include <algorithm>

#include "context/app.h"
#include "core/text.h"

namespace kv {

const char* RunName(RunKind kind) {
  switch (kind) {
    case RunKind::Logon: return "logon";
    case RunKind::ShutDown: return "shutdown";
    case RunKind::Scheduled: return "scheduled";
    case RunKind::Manual:
    case RunKind::None: break;
  }
  return "manual";
}

namespace {

std::string Heading(const char* what, const RunReport& report) {
  return std::string(what) + " (" + RunName(report.kind) + " run).";
}

// The places of the findings of the given kinds, the first kEventPathLimit
// of them, one a line, and how many more there are.
std::string Places(const RunReport& report, std::initializer_list<FindingKind> kinds) {
  std::string text;
  size_t listed = 0, all = 0;
  for (const Finding& f : report.findings) {
    if (std::find(kinds.begin(), kinds.end(), f.kind) == kinds.end()) continue;
    ++all;
    if (listed == kEventPathLimit) continue;
    ++listed;
    text.append("\r\n").append(f.path());
    if (!f.name().empty()) text.append(" | ").append(f.name());
  }
  if (all > listed) text += "\r\n... and " + Dec(long(all - listed)) + " more.";
  return text;
}

std::string CountOf(const RunReport& report, FindingKind kind) { return Dec(long(report.Count(kind))); }

}  // namespace

std::vector<RunEvent> RunEvents(const RunReport& report) {
  std::vector<RunEvent> events;
  if (!report.couldNotRun.empty())
    events.push_back({EventType::Error, kEventCouldNotRun,
                      Heading("Korvanel could not run its check", report) + "\r\n" + report.couldNotRun});
  if (!report.changedDataFiles.empty()) {
    std::string text = Heading("A data file was changed outside Korvanel and was not used", report);
    for (const std::string& name : report.changedDataFiles) text += "\r\n" + name;
    events.push_back({EventType::Error, kEventDataFileChanged, text});
  }
  if (!report.scannerFailure.empty())
    events.push_back({EventType::Error, kEventScannerFailure,
                      Heading("A scanner did not pass the findings; they were not accepted", report) +
                          "\r\n" + report.scannerFailure});
  const size_t files = report.Count(FindingKind::New) + report.Count(FindingKind::Changed) +
                       report.Count(FindingKind::Unreadable) + report.Count(FindingKind::Missing);
  if (files > 0)
    events.push_back({EventType::Warning, kEventFiles,
                      Heading("Files new, changed, unreadable or missing", report) +
                          "\r\nNew: " + CountOf(report, FindingKind::New) +
                          ", changed: " + CountOf(report, FindingKind::Changed) +
                          ", unreadable: " + CountOf(report, FindingKind::Unreadable) +
                          ", missing: " + CountOf(report, FindingKind::Missing) + "." +
                          Places(report, {FindingKind::New, FindingKind::Changed,
                                          FindingKind::Unreadable, FindingKind::Missing})});
  if (report.Count(FindingKind::RegistryNew) + report.Count(FindingKind::RegistryModified) > 0)
    events.push_back({EventType::Warning, kEventRegistry,
                      Heading("Registry entries new or modified", report) +
                          "\r\nNew: " + CountOf(report, FindingKind::RegistryNew) +
                          ", modified: " + CountOf(report, FindingKind::RegistryModified) + "." +
                          Places(report, {FindingKind::RegistryNew, FindingKind::RegistryModified})});
  if (report.Count(FindingKind::Pending) > 0)
    events.push_back({EventType::Warning, kEventPending,
                      Heading("Files queued for deletion or replacement at the next restart", report) +
                          "\r\nFiles: " + CountOf(report, FindingKind::Pending) + "." +
                          Places(report, {FindingKind::Pending})});
  if (events.empty())
    events.push_back({EventType::Information, kEventClean,
                      Heading("Check clean: nothing new or changed", report) +
                          "\r\nFiles checked: " + Dec(report.filesChecked) + "."});
  return events;
}

void ReportRunEvents(App& app) {
  for (const RunEvent& e : RunEvents(app.report)) app.host.LogEvent(e.type, e.id, e.text);
}

}  // namespace kv
