// The settings file Data\Korvanel.dat: creating it, reading values by their
// request words, writing entries (which also routes baseline writes into
// the in-memory baselines), and applying it to the running program.
#pragma once
#include <optional>
#include <string>

namespace kv {

class App;

inline constexpr const char* kSettingsUnreadable = "Could not load Setting file (May be in use)";
// A Save whose write did not reach the settings file; the edits stay on screen.
inline constexpr const char* kSettingsNotSaved =
    "The settings could not be saved: the setting file may be in use or read-only. "
    "Your changes are still shown; try saving again.";

// Writes the default file when the settings file cannot be opened for
// reading. False when it had to be written and could not be.
bool EnsureSettingsFile(App& app);

// The main-section value for a request word ("GETSETT", "ADV", ...); empty
// when there is none; nullopt when the settings file cannot be read.
std::optional<std::string> ReadSetting(App& app, const std::string& word);

// A scanner value "program|arguments" into a program field and an arguments
// field; without "|" the program field keeps what it held.
void TakeScannerSetting(const std::string& value, std::string& program, std::string& args);

std::string ReadEntry(const std::string& file, const std::string& key, const std::string& section);

// Writes key=value into section. Baseline files other than during a first
// full scan are changed in memory only (the baseline chosen by
// currentFolderPath); the registry snapshot and settings file on disk.
bool WriteEntry(App& app, const std::string& file, const std::string& key,
                const std::string& value, const std::string& section);

// Applies the settings file to the settings values and page boxes.
void loadSettings(App& app);

// Puts a folder (ending in "\") into the first empty custom-folder slot of
// the settings file with its `args` and `args2` values. The slot taken; or
// the slot that already holds the folder, with `already`; or slot 0 when
// all twenty are taken or the file could not be written.
struct AddedFolder {
  int slot = 0;
  bool already = false;
};
AddedFolder AddCustomFolder(App& app, const std::string& folder, const std::string& args,
                            const std::string& args2);

}  // namespace kv
