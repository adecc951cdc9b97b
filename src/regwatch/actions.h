// What the RegWatch page does with the entries of a registry pass, apart
// from its controls, so the secure shut down can run the same accept step:
// handing an entry's program file to the scanners, deleting a Run-key
// value, and scanning every finding before accepting them all.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "antivirus/scanner_run.h"
#include "core/regwatch_rules.h"
#include "core/scanner.h"

namespace kv {

class App;

// The two scanners as the settings hold them now ("ANTIVIRUS", "AV2").
struct ScannerPair {
  ScannerConfig first, second;
};
ScannerPair ReadScanners(App& app);

// The program file behind an entry text (or value text); nullopt when it
// cannot be found.
std::optional<std::string> EntryPath(const std::string& entryText);

// Moves the findings whose file is not signed, or whose signature is not
// valid, to the top of the warning list, keeping every line's text and the
// order within each group.
void PutUnsignedFirst(RegistryPass& pass);

// Starts the first scanner, then the second when one is set, each with
// `items` at the end of its command line. True when either started. With a
// verdict, each is waited for and its end taken into the verdict.
bool StartScanners(App& app, const ScannerPair& scanners, const std::string& items,
                   ScanVerdict* verdict = nullptr);

// "Scan File for Viruses": false (after saying so) when the file behind the
// entry cannot be found.
bool ScanRegistryEntry(App& app, const std::string& entryText);

// Deletes exactly the value `valueName` of the watched place with this
// index in RegistryPassPlaces(), in the registry view it was read from.
// Only Run-type places of the machine and the user hold values that may be
// deleted; false when nothing was deleted (also when the value is gone).
bool DeleteRegistryValue(int place, const std::string& valueName);

// How an entry of an added place is removed: its value deleted after the
// question, by hand in the registry editor, or by hand where it lives
// (a Startup folder, the Task Scheduler), which is no registry value.
enum class EntryRemoval { Delete, InRegistryEditor, Elsewhere };
EntryRemoval RemovalOf(const PassPlace& place);

inline constexpr const char* kRegistryActionHeader =
    "Registry Action - Scan and Update Multiple Entries,";

inline constexpr const char* kLogNotWritten =
    "The log of these entries could not be written, so they were not accepted and stay in the "
    "list.\r\nMake room on the disk or check the Data\\Log folder, then use Scan & Update "
    "Warnings again.";

// "Scan && Update Warnings" on the warning list `lines` (its first line is
// the title; line i is warnings[i - 1]): every listed file goes to each
// scanner in one start, the hand-over is logged, and only then exactly the
// listed entries are accepted, followed by a fresh comparing pass. The
// scanners are waited for, and nothing is accepted unless each ended with
// exit code 0 (the log then says which did not, and the user is told);
// nothing either when a wanted log could not be written, nor, during a secure
// shut down or scheduled scan, when no scanner started (the findings are
// then logged in any case) or for an entry whose file was not found. Lines
// get ") " appended as the list shows them. Nothing happens, and nullopt
// comes back, when only the title is listed; otherwise the fresh pass.
std::optional<RegistryPass> ScanAndUpdateWarnings(App& app, std::vector<std::string>& lines,
                                                  const std::vector<RegWarning>& warnings);

}  // namespace kv
