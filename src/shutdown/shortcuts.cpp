#include "shutdown/shortcuts.h"

#include "context/app.h"

namespace kv {

// Placeholders until the shortcuts land.
std::string StartupFolderPath() { return {}; }
std::string ProgramFile(const App& app) { return app.appDir; }
std::string AutoLoadShortcutPath() { return {}; }
bool AutoLoadShortcutExists() { return false; }
bool CreateShellLink(const std::string&, const std::string&, const std::string&,
                     const std::string&, const std::string&, int, int) {
  return false;
}
bool CreateScriptedShortcut(const std::string&, const std::string&, const std::string&,
                            const std::string&, int) {
  return false;
}
void CreateSecureShutDownShortcut(App&) {}
void ApplyAutoLoadFromSettingsPage(App&, bool) {}
void ApplyAutoLoadFromWizard(App&, bool) {}

}  // namespace kv
