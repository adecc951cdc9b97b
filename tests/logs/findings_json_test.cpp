// What a run leaves for the monitoring tools: its events and its lines in
// findings.jsonl, which other programs parse and follow as the file grows.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "logs/event_report.h"
#include "logs/findings_json.h"
#include "platform/files.h"
#include "support/program_folder.h"

using namespace kv;
using nlohmann::json;

namespace {

RunReport SampleReport() {
  RunReport r;
  r.Start(RunKind::Scheduled, {});
  r.filesChecked = 1234;
  // A name the code page cannot spell is kept escaped inside the program.
  r.findings.push_back({FindingKind::New, "C:\\Windows\\system32\\<U+4E2D>\"q\".dll", {}, "sha256", {}, "ab12"});
  r.findings.push_back({FindingKind::Changed, "C:\\Windows\\system32\\b.exe", {}, "crc32", "0011", "2233",
                        FindingAction::Accepted});
  r.findings.push_back({FindingKind::RegistryModified, "HKEY_LOCAL_MACHINE\\Software\\Run", "Tool", {}, {},
                        "C:\\t.exe", FindingAction::Kept});
  r.findings.push_back({FindingKind::Pending, "C:\\x.tmp", {}, {}, {}, {}, FindingAction::Scanned});
  return r;
}

std::vector<json> Parse(const std::string& lines) {
  std::vector<json> out;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
  return out;
}

}  // namespace

TEST(FindingsJson, EachFindingAndTheRunEndIsOneParsableLineWithItsFields) {
  const RecordStamp stamp{{2007, 1, 5, 8, 17, 49, -330}, "PC-7", "anna", 1};
  const std::string text = FindingsJsonLines(SampleReport(), stamp);
  const auto lines = Parse(text);
  ASSERT_EQ(lines.size(), 5u) << text;
  for (const json& j : lines) {
    EXPECT_EQ(j["time"], "2007-01-05T08:17:49-05:30");
    EXPECT_EQ(j["host"], "PC-7");
    EXPECT_EQ(j["user"], "anna");
    EXPECT_EQ(j["run"], "scheduled");
  }
  EXPECT_EQ(lines[0]["kind"], "new");
  EXPECT_EQ(lines[0]["path"], "C:\\Windows\\system32\\\xE4\xB8\xAD\"q\".dll") << "UTF-8, the escape undone";
  EXPECT_EQ(lines[0]["algorithm"], "sha256");
  EXPECT_TRUE(lines[0]["old"].is_null());
  EXPECT_EQ(lines[0]["new"], "ab12");
  EXPECT_EQ(lines[0]["action"], "kept");
  EXPECT_EQ(lines[1]["kind"], "changed");
  EXPECT_EQ(lines[1]["old"], "0011");
  EXPECT_EQ(lines[1]["action"], "accepted");
  EXPECT_EQ(lines[2]["kind"], "registry-modified");
  EXPECT_EQ(lines[2]["place"], "HKEY_LOCAL_MACHINE\\Software\\Run");
  EXPECT_EQ(lines[2]["name"], "Tool");
  EXPECT_FALSE(lines[2].contains("path"));
  EXPECT_EQ(lines[2]["new"], "C:\\t.exe");
  EXPECT_EQ(lines[3]["kind"], "pending");
  EXPECT_EQ(lines[3]["action"], "scanned");
  EXPECT_EQ(lines[4]["kind"], "run-end");
  EXPECT_EQ(lines[4]["counts"], json::parse(R"({"new":1,"changed":1,"unreadable":0,"missing":0,
      "registry-new":0,"registry-modified":1,"pending":1,"checked":1234})"));
  EXPECT_TRUE(lines[4]["seconds"].is_number());
  EXPECT_EQ(lines[4]["exit"], 1);
  EXPECT_TRUE(lines[4]["error"].is_null());
  EXPECT_EQ(IsoTime({2026, 12, 31, 23, 59, 0, 60}), "2026-12-31T23:59:00+01:00");

  // Made a piece at a time, as a long run writes them, they are the same lines.
  RunReport many = SampleReport();
  for (int i = 0; i < 40; ++i) many.findings.push_back(many.findings[size_t(i % 4)]);
  std::string pieces, piece;
  int count = 0;
  for (auto next = FindingsJsonPieces(many, stamp, 300); next(piece); piece.clear(), ++count) {
    ASSERT_EQ(piece.back(), '\n') << "whole lines only";
    pieces += piece;
  }
  EXPECT_GT(count, 10);
  auto whole = Parse(FindingsJsonLines(many, stamp)), split = Parse(pieces);
  ASSERT_EQ(split.size(), 45u);
  whole.back().erase("seconds");
  split.back().erase("seconds");
  EXPECT_EQ(split, whole);

  // The same lines through the program's own append, for the script that
  // reads them with another JSON parser.
  const std::string sample = KV_JSONL_SAMPLE;
  DeleteFileA(sample.c_str());
  ASSERT_TRUE(AppendLines(sample, text));
}

// A collecting agent knows the file by its identity and its offset: an
// append keeps both, and a line a crash cut short is ended before the next
// records, so it cannot swallow them.
TEST(FindingsJson, AppendKeepsTheFileAndItsLinesAndEndsATornLine) {
  kv::test::ProgramFolder folder;
  const std::string path = folder.path("findings.jsonl");
  folder.Write("findings.jsonl", "{\"a\":1}\n{\"torn\":");
  const auto identity = [&] {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  };
  const uint64_t before = identity();
  ASSERT_TRUE(AppendLines(path, "{\"b\":2}\n"));
  ASSERT_TRUE(AppendLines(path, "{\"c\":3}\n"));
  EXPECT_EQ(folder.Read("findings.jsonl"), "{\"a\":1}\n{\"torn\":\n{\"b\":2}\n{\"c\":3}\n");
  EXPECT_EQ(identity(), before);

  // A long record goes down in pieces, each after the one before.
  folder.Write("findings.jsonl", folder.Read("findings.jsonl") + "{\"torn\":");
  int piece = 0;
  ASSERT_TRUE(AppendLines(path, [&](std::string& lines) {
    if (piece == 3) return false;
    lines = "{\"d\":" + std::to_string(piece++) + "}\n";
    return true;
  }));
  EXPECT_EQ(folder.Read("findings.jsonl"),
            "{\"a\":1}\n{\"torn\":\n{\"b\":2}\n{\"c\":3}\n{\"torn\":\n{\"d\":0}\n{\"d\":1}\n{\"d\":2}\n");
}

TEST(RunEvents, OneEventPerKindFoundOrOneForACleanRun) {
  RunReport clean;
  clean.Start(RunKind::Manual, {});
  clean.filesChecked = 7;
  const auto quiet = RunEvents(clean);
  ASSERT_EQ(quiet.size(), 1u);
  EXPECT_EQ(quiet[0].type, EventType::Information);
  EXPECT_EQ(quiet[0].text, "Check clean: nothing new or changed (manual run).\r\nFiles checked: 7.");

  RunReport r = SampleReport();
  for (int i = 0; i < 60; ++i) r.findings.push_back({FindingKind::New, "C:\\n" + std::to_string(i)});
  r.changedDataFiles = {"Registry.dat"};
  r.scannerFailure = "The scanner ended with exit code 3.";
  const auto events = RunEvents(r);
  std::vector<unsigned long> ids;
  for (const RunEvent& e : events) ids.push_back(e.id);
  EXPECT_EQ(ids, (std::vector<unsigned long>{kEventDataFileChanged, kEventScannerFailure, kEventFiles,
                                             kEventRegistry, kEventPending}));
  EXPECT_EQ(events[0].type, EventType::Error);
  EXPECT_EQ(events[0].text, "A data file was changed outside Korvanel and was not used (scheduled run).\r\n"
                            "Registry.dat");
  EXPECT_EQ(events[2].type, EventType::Warning);
  // Fifty places are named, the rest counted.
  const std::string& files = events[2].text;
  EXPECT_EQ(files.rfind("Files new, changed, unreadable or missing (scheduled run).\r\n"
                        "New: 61, changed: 1, unreadable: 0, missing: 0.\r\n", 0), 0u);
  EXPECT_NE(files.find("\r\nC:\\n47\r\n"), std::string::npos);
  EXPECT_EQ(files.find("C:\\n48"), std::string::npos);
  const std::string more = "\r\nC:\\n47\r\n... and 12 more.";
  EXPECT_EQ(files.substr(files.size() - more.size()), more);
  EXPECT_EQ(events[3].text, "Registry entries new or modified (scheduled run).\r\nNew: 0, modified: 1.\r\n"
                            "HKEY_LOCAL_MACHINE\\Software\\Run | Tool");
}
