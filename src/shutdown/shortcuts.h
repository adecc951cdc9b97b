// The shortcuts that start the unattended runs: "Korvanel.lnk" in the
// Startup folder ("/r" at logon; its presence is the auto-load setting) and
// "SecureShutDown.lnk" ("/s").
#pragma once
#include <string>
#include <vector>

namespace kv {

class App;

// The Startup folder (platform/shell_folders.h): all users', else the Programs
// folder + "\StartUp".
std::string StartupFolderPath();
// The program's own executable: the program folder, the module's name, ".exe".
std::string ProgramFile(const App& app);
// "Korvanel.lnk" in each Startup folder, the common one first; the first
// is where a new shortcut goes when it can.
std::vector<std::string> AutoLoadShortcutPaths();
std::string AutoLoadShortcutPath();
// Auto-load is on when any Startup folder holds the shortcut.
bool AutoLoadShortcutExists();

bool CreateShellLink(const std::string& link, const std::string& target,
                     const std::string& workingFolder, const std::string& arguments,
                     const std::string& iconFile, int iconIndex, int showCommand);
bool CreateScriptedShortcut(const std::string& link, const std::string& description,
                            const std::string& target, const std::string& arguments,
                            int windowStyle);
void CreateSecureShutDownShortcut(App& app);
// "Could not create the shortcut <link>.", with the error icon.
void ReportShortcutNotCreated(App& app, const std::string& link);

// The auto-load rule of the settings page's Save and of the wizard's Save.
// Empty when the shortcut is as the box asks; otherwise the shortcut that
// could be written nowhere, for the caller to report.
std::string ApplyAutoLoadFromSettingsPage(App& app, bool autoLoad);
std::string ApplyAutoLoadFromWizard(App& app, bool autoLoad);

}  // namespace kv
