// The registry watch in text form: the watched places, how a value becomes
// the texts that are shown, stored and compared, the warning lines, the
// entry-text-to-path rule and one whole pass over the places. The registry
// and the snapshot file are reached through callbacks, so every decision
// here is testable without either.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class RegRoot { LocalMachine, CurrentUser, ClassesRoot };

// Where a place's entries come from.
enum class PlaceKind {
  Values,          // the values of the key itself
  SubkeyValues,    // the values of each subkey (one level), named "subkey\value"
  StartupFolder,   // the files of a Startup folder (keyPath is only its label)
  ScheduledTasks,  // the tasks of every folder of the Task Scheduler
};

struct WatchedPlace {
  RegRoot root;
  int index;  // the place's number within its root, from 1
  const char* keyPath;
  const char* category;
  const char* nodeKey;
  const char* section;
  PlaceKind kind = PlaceKind::Values;
  // The value names read, "|" between them, "\" leading into a subkey
  // ("ImagePath|Parameters\ServiceDll"); null reads every value.
  const char* only = nullptr;
  // Read in the machine's 32-bit view as well: the key is under Software.
  bool bothViews = true;
  // The values are the system's own (its shell, its logon program, the
  // DLLs it loads into every program): changed by hand, never deleted.
  bool byHand = false;
};

inline constexpr std::array<WatchedPlace, 17> kWatchedPlaces = {{
    {RegRoot::LocalMachine, 1, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Loaded in Run", "!LLIR", "LM/R"},
    {RegRoot::LocalMachine, 2, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Loaded in RunOnce", "!LLIRO", "LM/RO"},
    {RegRoot::LocalMachine, 3, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", "Loaded in RunOnceEx", "!LLIROX", "LM/ROX"},
    {RegRoot::LocalMachine, 4, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "Loaded in RunServices", "!LLIRS", "LM/RS"},
    {RegRoot::LocalMachine, 5, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce", "Loaded in RunServicesOnce", "!LLIRSO", "LM/RSO"},
    {RegRoot::LocalMachine, 6, "Software\\CLASSES\\exefile\\shell\\open\\command", "Spawned with EXE's", "!LSWE", "LM/SE"},
    {RegRoot::LocalMachine, 7, "Software\\CLASSES\\comfile\\shell\\open\\command", "Spawned with COM's", "!LSWC", "LM/SC"},
    {RegRoot::LocalMachine, 8, "Software\\CLASSES\\batfile\\shell\\open\\command", "Spawned with BAT's", "!LSWB", "LM/SB"},
    {RegRoot::LocalMachine, 9, "Software\\CLASSES\\htafile\\shell\\open\\command", "Spawned with HTA's", "!LSWH", "LM/SH"},
    {RegRoot::LocalMachine, 10, "Software\\CLASSES\\piffile\\shell\\open\\command", "Spawned with PIF's", "!LSWP", "LM/SP"},
    {RegRoot::CurrentUser, 1, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Loaded in Run", "!ULIR", "CU/R"},
    {RegRoot::CurrentUser, 2, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Loaded in RunOnce", "!ULIRO", "CU/RO"},
    {RegRoot::ClassesRoot, 1, "exefile\\shell\\open\\command", "Spawned with EXE's", "!RSWE", "CR/SE"},
    {RegRoot::ClassesRoot, 2, "comfile\\shell\\open\\command", "Spawned with COM's", "!RSWC", "CR/SC"},
    {RegRoot::ClassesRoot, 3, "batfile\\shell\\open\\command", "Spawned with BAT's", "!RSWB", "CR/SB"},
    {RegRoot::ClassesRoot, 4, "htafile\\shell\\open\\command", "Spawned with HTA's", "!RSWH", "CR/SH"},
    {RegRoot::ClassesRoot, 5, "piffile\\shell\\open\\command", "Spawned with PIF's", "!RSWP", "CR/SP"},
}};

// Places watched beyond the first seventeen. Their sections come after the
// first 34 lines of the snapshot, so a snapshot from before them reads as it
// always did; a snapshot without one of their sections takes that place's
// entries in silently on its next pass.
inline constexpr std::array<WatchedPlace, 15> kAddedPlaces = {{
    {RegRoot::LocalMachine, 11, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Loaded in Winlogon", "!LLIWL", "LM/WL", PlaceKind::Values, "Shell|Userinit|Taskman", true, true},
    {RegRoot::LocalMachine, 12, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", "Loaded in Policies Run", "!LLIPR", "LM/PR"},
    {RegRoot::LocalMachine, 13, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Loaded in AppInit_DLLs", "!LLIAI", "LM/AI", PlaceKind::Values, "AppInit_DLLs|LoadAppInit_DLLs", true, true},
    {RegRoot::LocalMachine, 14, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options", "Loaded as Debugger", "!LLIIF", "LM/IF", PlaceKind::SubkeyValues, "Debugger"},
    {RegRoot::LocalMachine, 15, "SYSTEM\\CurrentControlSet\\Services", "Loaded as Service", "!LLISV", "LM/SV", PlaceKind::SubkeyValues, "ImagePath|Parameters\\ServiceDll", false},
    {RegRoot::LocalMachine, 16, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx", "Loaded in RunOnceEx subkeys", "!LLIRXS", "LM/RXS", PlaceKind::SubkeyValues},
    {RegRoot::LocalMachine, 17, "Software\\Microsoft\\Command Processor", "Loaded in Command Processor", "!LLICP", "LM/CP", PlaceKind::Values, "AutoRun"},
    {RegRoot::LocalMachine, 18, "Software\\Microsoft\\Active Setup\\Installed Components", "Loaded in Active Setup", "!LLIAS", "LM/AS", PlaceKind::SubkeyValues, "StubPath"},
    {RegRoot::LocalMachine, 19, "Startup", "Loaded in Startup folder", "!LLISU", "LM/SU", PlaceKind::StartupFolder, nullptr, false},
    {RegRoot::LocalMachine, 20, "Tasks", "Loaded as Scheduled Task", "!LLITS", "LM/TS", PlaceKind::ScheduledTasks, nullptr, false},
    {RegRoot::CurrentUser, 3, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Loaded in Winlogon", "!ULIWL", "CU/WL", PlaceKind::Values, "Shell|Userinit|Taskman", true, true},
    {RegRoot::CurrentUser, 4, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run", "Loaded in Policies Run", "!ULIPR", "CU/PR"},
    {RegRoot::CurrentUser, 5, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Loaded in Windows", "!ULIWN", "CU/WN", PlaceKind::Values, "Load|Run"},
    {RegRoot::CurrentUser, 6, "Software\\Microsoft\\Command Processor", "Loaded in Command Processor", "!ULICP", "CU/CP", PlaceKind::Values, "AutoRun"},
    {RegRoot::CurrentUser, 7, "Startup", "Loaded in Startup folder", "!ULISU", "CU/SU", PlaceKind::StartupFolder},
}};

// The snapshot file as it is first created: every section header followed
// by an empty line, CR LF line ends. `withAdded` puts the sections of the
// added places after the first seventeen.
std::string EmptySnapshotText(bool withAdded = false);

// The sections of added places that the snapshot text lacks, and the text
// with their headers (each followed by an empty line) put at its end.
std::vector<std::string> MissingAddedSections(std::string_view snapshotText);
std::string WithSections(std::string snapshotText, const std::vector<std::string>& sections);

// One place as a pass reads it. The program is 64-bit, so the machine's
// places are read twice: in the native view and in the 32-bit view, where
// the auto-start values of 32-bit programs live. The 32-bit view has a root
// node, root label and sections of its own, so its entries never overwrite
// those of the native view in the snapshot, and a snapshot written before
// it was read keeps meaning what it meant.
struct PassPlace {
  const WatchedPlace* place;
  bool wow32;
  bool added;  // one of kAddedPlaces
  std::string rootText, rootKey, rootLabel;  // tree root node, warning-line prefix
  std::string nodeKey, section;
};

// Native machine places, their 32-bit view, the user's, the classes root's;
// then the added places in the same order.
const std::vector<PassPlace>& RegistryPassPlaces();

// Snapshot section of a place: lmIndex 1..10, cuIndex 1..2 or crIndex 1..5,
// exactly one of them non-zero; wow32 picks the machine's 32-bit view.
// Empty when the indexes select nothing.
std::string SnapshotSection(int lmIndex, int cuIndex, int crIndex, bool wow32 = false);

// Registry value types the texts distinguish.
inline constexpr unsigned long kRegSz = 1, kRegBinary = 3;

// Data bytes shown as text: each byte in upper-case hexadecimal followed by a
// space; 0 to 9 get a leading "0", A to F stay one digit.
std::string BinaryText(std::string_view bytes);

// A value's data as text, from the whole data as read. Strings and binary
// data leave out their last byte (the terminator); other types show the raw
// bytes, padded with spaces to the 256 characters the program always read
// them into, so their texts stay those of older snapshots.
std::string DataText(unsigned long type, std::string_view data);

// " (" + data text + ")", cut before the first NUL character.
std::string ValueText(std::string_view dataText);

// The command every file type opens with by default; such entries are skipped.
bool IsStandardOpenCommand(std::string_view dataText);

// The value name, or the value text for the unnamed value, with every "="
// made "-" (a key cannot hold "=").
std::string SnapshotKey(std::string_view name, std::string_view valueText);

// How an entry is kept in the snapshot. The reader gives back at most 249
// characters of one line, trimmed, and finds keys trimmed and without letter
// case, so whatever would not come back exactly is kept as "#" and a SHA-256
// digest instead: a value text that is too long, holds a line break or ends
// in blanks (the digest then followed by the start of the value, for people
// reading the file), and a name that starts with "[" or "#", holds a line
// break or has blanks around it. Every other entry keeps the plain form of
// older snapshots. A plain value text always starts with "(" once read back
// and a plain name never starts with "#", so no plain form can pass for a
// digested one.
struct SnapshotEntry {
  std::string shownKey;  // SnapshotKey: what warning lines show
  std::string key;       // the key as stored
  std::string value;     // the value as stored
};
SnapshotEntry SnapshotEntryOf(std::string_view name, std::string_view valueText);

// The value text as the snapshot stores it (see SnapshotEntry).
std::string SnapshotValue(std::string_view valueText);

// 0 unchanged, 1 new, 2 modified. `stored` is what the snapshot reader gave
// back; the live value text is compared in the form the reader gives back
// after storing it (SnapshotValue, trimmed).
int CompareStored(std::string_view stored, std::string_view valueText);
// The same for a value already in its stored form (SnapshotEntry::value).
int CompareStoredValue(std::string_view stored, std::string_view snapshotValue);

// "HKEY_...|Loaded in " + last key component + "\" + key + value text +
// " New Entry!" (result 1) or " Entry Modified!" (result 2).
std::string WarningLine(const PassPlace& place, std::string_view key, std::string_view valueText,
                        int result);

inline constexpr const char* kWarningsTitle = "New and Modified Registry Entry Warnings";
inline constexpr const char* kWarningsDesignLine = "New and Modified Registry Entry Warnings!";
inline constexpr const char* kNoWarnings = "*No new or modified Registry Entries*";

// A program and its arguments as one command text, the program quoted when
// it holds a space so that the path rule below finds where it ends.
std::string CommandText(std::string_view program, std::string_view arguments);

// The program file behind an entry text such as Tool (C:\t.exe /x) or a
// whole warning line: the text inside the parentheses that the first "("
// opens (a value name may hold one, so callers that know the value pass its
// value text instead), without arguments, quotes and doubled backslashes,
// %systemroot% (any letter case) made the Windows directory, ".exe" added
// when there is no extension. A bare file name is looked for in the system
// directory, the Windows directory and the 16-bit system directory; nullopt
// when it is in none of them. Directories end in "\". Service paths are
// understood too: "\??\" before a path, "\SystemRoot\" and a leading
// "system32\" meaning the Windows directory, and any %name% the
// environment gives a value.
std::optional<std::string> EntryFilePath(
    std::string_view entryText, const std::string& windowsDir, const std::string& systemDir,
    const std::function<bool(const std::string&)>& fileExists,
    const std::function<std::optional<std::string>(const std::string&)>& environment = {});

// One full pass as the page shows it.
struct RegTreeNode {
  std::string parentKey;  // empty for a root node
  std::string key, text;
  int place = -1;          // index into RegistryPassPlaces(); -1 for a root node
  bool entry = false;      // an entry node (not a root or category)
  std::string valueName;   // entry nodes: the value's real name
  std::string valueText;   // entry nodes
};

struct RegWarning {
  std::string line;       // as listed
  int place = -1;         // index into RegistryPassPlaces()
  std::string valueName;  // the value's real name, for deleting exactly it
  std::string valueText;
  int result = 0;         // 1 new, 2 modified
  SnapshotEntry entry;    // what accepting it stores
};

struct RegistryPass {
  std::vector<RegTreeNode> tree;    // in the order the nodes are added
  std::vector<std::string> list;    // the warning list, first line included
  std::vector<RegWarning> warnings; // warnings[i] is list[i + 1]
  bool findings = false;            // "Scan && Update Warnings" enabled
};

struct RegValueRead {
  std::string name;
  std::string dataText;
};

struct RegistryPassSource {
  // Every value of a place, in enumeration order; empty when the key cannot
  // be opened or holds none.
  std::function<std::vector<RegValueRead>(const PassPlace&)> readValues;
  // Compares (or, accepting, stores) an entry. Returns 0, 1 or 2.
  std::function<int(const SnapshotEntry&, const PassPlace&)> compare;
};

RegistryPass BuildRegistryPass(const RegistryPassSource& source);

}  // namespace kv
