// The shortcuts that start the unattended runs: "Korvanel.lnk" in the
// Startup folder ("/r" at logon; its presence is the auto-load setting) and
// "SecureShutDown.lnk" ("/s").
#pragma once
#include <string>

namespace kv {

class App;

// The Startup folder (platform/shell_folders.h): all users', else the Programs
// folder + "\StartUp".
std::string StartupFolderPath();
// The program's own executable: the program folder, the module's name, ".exe".
std::string ProgramFile(const App& app);
std::string AutoLoadShortcutPath();
bool AutoLoadShortcutExists();

bool CreateShellLink(const std::string& link, const std::string& target,
                     const std::string& workingFolder, const std::string& arguments,
                     const std::string& iconFile, int iconIndex, int showCommand);
bool CreateScriptedShortcut(const std::string& link, const std::string& description,
                            const std::string& target, const std::string& arguments,
                            int windowStyle);
void CreateSecureShutDownShortcut(App& app);

// The auto-load rule of the settings page's Save and of the wizard's Save.
void ApplyAutoLoadFromSettingsPage(App& app, bool autoLoad);
void ApplyAutoLoadFromWizard(App& app, bool autoLoad);

}  // namespace kv
