// The settings file (Data\Korvanel.dat): its default content, the request
// words of ReadSetting and how a scanner value is split.
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace kv {

// Default settings file, every line ended by CR LF. `withUpdateKeys` false
// (low-resource edition) leaves out autocheckupdates= and lastcheckedupdates=.
std::string DefaultSettingsText(bool withUpdateKeys);

// Key read by a ReadSetting request word ("GETSETT", "ADV", ...), the word
// compared without letter case; empty for a word the edition does not know.
std::string SettingKeyFor(std::string_view word, bool withUpdateKeys);

// ReadSetting on the settings file's text: the first "key=" anywhere in the
// file, in any letter case, up to the end of its line (CR LF or LF alone). A value of fewer than two
// characters reads as empty, so an av2 of "|" alone means no second scanner.
std::string ReadSettingFromText(std::string_view fileText, std::string_view word,
                                bool withUpdateKeys);

// A scanner value "program|arguments".
struct ScannerSetting {
  bool hasBar = false;   // without "|" the program is left as it was
  std::string program;   // text before the first "|", as stored
  std::string args;      // text after it, trimmed (the whole value, trimmed, without "|")
  std::string rawArgs;   // text after it untrimmed, as the report rescan passes it
};
ScannerSetting SplitScannerSetting(std::string_view value);

// A list of flags "1,0,1,...": the categories DLL, DRV, SYS and 386, OCX,
// EXE and COM, PIF and SCR as values 1 to 6 (settings, settings2, a custom
// folder's args and args2), and what value 7 stands for in that list
// ("Auto-Scan Failed Files", or "check this folder"). A value counts when it
// is "1" with blanks trimmed; missing values are off.
struct CategoryList {
  std::array<bool, 6> category{};
  bool seventh = false;
};
CategoryList ParseCategoryList(std::string_view list);

}  // namespace kv
