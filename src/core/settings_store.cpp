#include "core/settings_store.h"

#include <array>

#include "core/text.h"

namespace kv {

std::string DefaultSettingsText(bool withUpdateKeys) {
  std::string out;
  const auto line = [&out](std::string_view s) {
    out += s;
    out += CRLF;
  };
  line("[Korvanel]");
  line("settings=0,0,0,0,0,0,0,0");
  line("advanced=65536,500,0");
  line("antivirus=");
  line("av2=");
  line("antivirus2=1,0,0");
  line("algo=crc32");
  if (withUpdateKeys) {
    line("autocheckupdates=True");
    line("lastcheckedupdates=");
  }
  line("");
  for (int slot = 1; slot <= 20; ++slot) {
    line("[" + Dec(slot) + "]");
    line("path=NULL");
    line("args=0,0,0,0,0,0,0");
    line("args2=0,0,0,0,0,0,0");
    line("");
  }
  return out;
}

std::string SettingKeyFor(std::string_view word, bool withUpdateKeys) {
  struct Request {
    std::string_view word, key;
    bool updateKey;
  };
  static constexpr std::array<Request, 10> kRequests{{
      {"GETSETT", "settings", false},
      {"GETSETT2", "settings2", false},
      {"ADV", "advanced", false},
      {"ANTIVIRUS", "antivirus", false},
      {"AV2", "av2", false},
      {"ANTIVIRUS2", "antivirus2", false},
      {"ALGO", "algo", false},
      {"AUTO", "autocheckupdates", true},
      {"LASTCHECK", "lastcheckedupdates", true},
      {"HIDEMS", "hidemicrosoftsigned", false},
  }};
  for (const auto& r : kRequests)
    if (EqualsNoCase(word, r.word)) return (r.updateKey && !withUpdateKeys) ? "" : std::string(r.key);
  return {};
}

std::string ReadSettingFromText(std::string_view fileText, std::string_view word,
                                bool withUpdateKeys) {
  const auto key = SettingKeyFor(word, withUpdateKeys);
  if (key.empty()) return {};
  // A file saved by an editor may end its lines with LF alone; the value
  // still ends at the line end, never at a CR LF further down the file.
  auto value = TextBetween(fileText, 1, key + "=", "\n");
  if (!value.empty() && value.back() == '\r') value.pop_back();
  if (value.size() < 2) value.clear();
  return value;
}

ScannerSetting SplitScannerSetting(std::string_view value) {
  ScannerSetting s;
  const auto bar = value.find('|');
  s.hasBar = bar != std::string_view::npos;
  if (!s.hasBar) {
    s.args = Trim(value);
    s.rawArgs = std::string(value);
    return s;
  }
  s.program = std::string(value.substr(0, bar));
  s.rawArgs = std::string(value.substr(bar + 1));
  s.args = Trim(s.rawArgs);
  return s;
}

CategoryList ParseCategoryList(std::string_view list) {
  CategoryList out;
  const auto values = Split(list, ',');
  for (size_t i = 0; i < values.size() && i < 7; ++i) {
    if (Trim(values[i]) != "1") continue;
    if (i < 6)
      out.category[i] = true;
    else
      out.seventh = true;
  }
  return out;
}

}  // namespace kv
