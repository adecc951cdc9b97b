#include "core/regwatch_rules.h"

#include <algorithm>
#include <set>

#include "core/profile.h"
#include "core/sha256.h"
#include "core/text.h"

namespace kv {

std::string EmptySnapshotText(bool withAdded) {
  std::string text;
  for (const WatchedPlace& p : kWatchedPlaces) {
    text += '[';
    text += p.section;
    text += "]\r\n\r\n";
  }
  return withAdded ? WithSections(text, MissingAddedSections(text)) : text;
}

std::vector<std::string> MissingAddedSections(std::string_view snapshotText) {
  std::vector<std::string> missing;
  for (const PassPlace& p : RegistryPassPlaces())
    if (p.added && !ProfileHasSection(snapshotText, p.section)) missing.push_back(p.section);
  return missing;
}

std::string WithSections(std::string snapshotText, const std::vector<std::string>& sections) {
  if (sections.empty()) return snapshotText;
  if (!snapshotText.empty() && snapshotText.back() != '\n' && snapshotText.back() != '\r')
    snapshotText += "\r\n";
  for (const std::string& section : sections) snapshotText += "[" + section + "]\r\n\r\n";
  return snapshotText;
}

namespace {

PassPlace MakePassPlace(const WatchedPlace& p, bool wow32, bool added = false) {
  PassPlace pp{&p, wow32, added, {}, {}, {}, p.nodeKey, p.section};
  switch (p.root) {
    case RegRoot::LocalMachine:
      // Free of "(" and "\": the warning lines are parsed back by both.
      pp.rootText = wow32 ? "HKEY_LOCAL_MACHINE 32-bit" : "HKEY_LOCAL_MACHINE";
      pp.rootKey = wow32 ? "LOCAL32" : "LOCAL";
      break;
    case RegRoot::CurrentUser:
      pp.rootText = "HKEY_CURRENT_USER";
      pp.rootKey = "USER";
      break;
    case RegRoot::ClassesRoot:
      pp.rootText = "HKEY_CLASSES_ROOT";
      pp.rootKey = "ROOT";
      break;
  }
  pp.rootLabel = pp.rootText + "|Loaded in ";
  if (wow32) {
    // "!LLIR" -> "!WLIR", "LM/R" -> "LM32/R": apart from every native name.
    pp.nodeKey = "!W" + pp.nodeKey.substr(2);
    pp.section = "LM32" + pp.section.substr(2);
  }
  return pp;
}

}  // namespace

const std::vector<PassPlace>& RegistryPassPlaces() {
  static const std::vector<PassPlace> places = [] {
    std::vector<PassPlace> v;
    for (const WatchedPlace& p : kWatchedPlaces)
      if (p.root == RegRoot::LocalMachine) v.push_back(MakePassPlace(p, false));
    for (const WatchedPlace& p : kWatchedPlaces)
      if (p.root == RegRoot::LocalMachine) v.push_back(MakePassPlace(p, true));
    for (const WatchedPlace& p : kWatchedPlaces)
      if (p.root != RegRoot::LocalMachine) v.push_back(MakePassPlace(p, false));
    // The added places after every earlier one: warnings and selections keep
    // the place numbers they had.
    for (const WatchedPlace& p : kAddedPlaces)
      if (p.root == RegRoot::LocalMachine) v.push_back(MakePassPlace(p, false, true));
    for (const WatchedPlace& p : kAddedPlaces)
      if (p.root == RegRoot::LocalMachine && p.bothViews) v.push_back(MakePassPlace(p, true, true));
    for (const WatchedPlace& p : kAddedPlaces)
      if (p.root != RegRoot::LocalMachine) v.push_back(MakePassPlace(p, false, true));
    return v;
  }();
  return places;
}

std::string SnapshotSection(int lmIndex, int cuIndex, int crIndex, bool wow32) {
  const int given = (lmIndex != 0) + (cuIndex != 0) + (crIndex != 0);
  if (given != 1) return {};
  const RegRoot root = lmIndex   ? RegRoot::LocalMachine
                       : cuIndex ? RegRoot::CurrentUser
                                 : RegRoot::ClassesRoot;
  const int index = lmIndex + cuIndex + crIndex;
  if (wow32 && root != RegRoot::LocalMachine) return {};
  for (const PassPlace& p : RegistryPassPlaces())
    if (p.place->root == root && p.place->index == index && p.wow32 == wow32) return p.section;
  return {};
}

std::string BinaryText(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char b : bytes) {
    if (b < 10) {
      out += '0';
      out += digits[b];
    } else if (b < 16) {
      out += digits[b];
    } else {
      out += digits[b >> 4];
      out += digits[b & 15];
    }
    out += ' ';
  }
  return out;
}

std::string DataText(unsigned long type, std::string_view data) {
  // An empty value reports size 0: nothing to leave out.
  const std::string_view shown = data.substr(0, data.empty() ? 0 : data.size() - 1);
  if (type == kRegSz) return std::string(shown);
  if (type == kRegBinary) return BinaryText(shown);
  std::string out(data);
  if (out.size() < 256) out.resize(256, ' ');
  return out;
}

std::string ValueText(std::string_view dataText) {
  std::string out = " (";
  out += dataText;
  out += ')';
  const auto nul = out.find('\0');
  if (nul != std::string::npos) out.resize(nul);
  return out;
}

bool IsStandardOpenCommand(std::string_view dataText) { return dataText == "\"%1\" %*"; }

std::string SnapshotKey(std::string_view name, std::string_view valueText) {
  return ReplaceAll(name.empty() ? valueText : name, "=", "-");
}

namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

constexpr char kDigestMark = '#';

}  // namespace

std::string SnapshotValue(std::string_view valueText) {
  // The leading blank of " (" is the one the reader always drops.
  const std::string_view kept =
      !valueText.empty() && IsBlankChar(valueText.front()) ? valueText.substr(1) : valueText;
  const bool exact = !kept.empty() && !IsBlankChar(kept.front()) && !IsBlankChar(kept.back()) &&
                     kept.size() <= kProfileValueMax && !HasLineBreak(kept);
  if (exact) return std::string(valueText);
  std::string out = " ";
  out += kDigestMark;
  out += Sha256Hex(valueText);
  out += ' ';
  std::string head(Trim(ReplaceAll(ReplaceAll(std::string(kept), "\r", " "), "\n", " ")));
  head.resize(std::min(head.size(), kProfileValueMax - (out.size() - 1)));
  return out + head;
}

SnapshotEntry SnapshotEntryOf(std::string_view name, std::string_view valueText) {
  SnapshotEntry e{SnapshotKey(name, valueText), {}, SnapshotValue(valueText)};
  // The unnamed value is keyed by its value text, whose leading blank the
  // file has always dropped.
  const std::string_view kept = name.empty() ? std::string_view(e.shownKey).substr(1) : e.shownKey;
  const bool plain = !kept.empty() && kept.front() != kDigestMark && !IsBlankChar(kept.front()) &&
                     !IsBlankChar(kept.back()) && ProfileNamesUsable("s", kept);
  if (plain) {
    e.key = e.shownKey;
  } else {
    // Named and unnamed values are digested apart: a name may read like a
    // value text.
    e.key = kDigestMark + Sha256Hex((name.empty() ? "v:" : "n:") +
                                    std::string(name.empty() ? valueText : name));
  }
  return e;
}

int CompareStoredValue(std::string_view stored, std::string_view snapshotValue) {
  if (stored.empty()) return 1;
  // Any usable names do; the value's fate in the file is the same.
  const std::string asStored = ProfileGet(ProfileSet({}, false, "s", "k", snapshotValue), "s", "k");
  return TrimView(stored) != TrimView(asStored) ? 2 : 0;
}

int CompareStored(std::string_view stored, std::string_view valueText) {
  return CompareStoredValue(stored, SnapshotValue(valueText));
}

std::string WarningLine(const PassPlace& place, std::string_view key, std::string_view valueText,
                        int result) {
  const std::string_view path = place.place->keyPath;
  std::string line = place.rootLabel;
  if (place.added) {
    // Several added places end in the same key name ("Run", "Windows"), and
    // some are no key at all: their category tells them apart.
    const std::string_view category = place.place->category;
    line += category.substr(category.find(' ', category.find(' ') + 1) + 1);
  } else {
    line += path.substr(path.rfind('\\') + 1);
  }
  line += '\\';
  line += key;
  line += valueText;
  line += result == 1 ? " New Entry!" : " Entry Modified!";
  return line;
}

std::string CommandText(std::string_view program, std::string_view arguments) {
  std::string out(program);
  if (out.find(' ') != std::string::npos) out = '"' + out + '"';
  if (!TrimView(arguments).empty()) {
    out += ' ';
    out += arguments;
  }
  return out;
}

namespace {

// %SystemRoot% and %windir% are the Windows directory (ending in "\", the
// doubled backslash after it goes later); any other %name% is what the
// environment holds, or stays as it is.
std::string ExpandVariables(const std::string& text, const std::string& windowsDir,
                            const std::function<std::optional<std::string>(const std::string&)>& env) {
  std::string out;
  size_t pos = 0;
  for (;;) {
    const auto open = text.find('%', pos);
    const auto close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) break;
    const std::string name = text.substr(open + 1, close - open - 1);
    std::optional<std::string> value;
    if (EqualsNoCase(name, "systemroot") || EqualsNoCase(name, "windir"))
      value = windowsDir;
    else if (env && !name.empty())
      value = env(name);
    out += text.substr(pos, open - pos);
    if (value) {
      out += *value;
      pos = close + 1;
    } else {
      out += '%';
      pos = open + 1;
    }
  }
  return out + text.substr(pos);
}

}  // namespace

std::optional<std::string> EntryFilePath(
    std::string_view entryText, const std::string& windowsDir, const std::string& systemDir,
    const std::function<bool(const std::string&)>& fileExists,
    const std::function<std::optional<std::string>(const std::string&)>& environment) {
  // The data inside the parentheses after the name: up to the ")" that
  // closes the first "(", so that "Program Files (x86)" stays whole and the
  // " New Entry!) " of a warning line is left out. A value text cut at a NUL
  // has no closing parenthesis.
  std::string t(entryText);
  const auto open = t.find('(');
  if (open != std::string::npos) {
    size_t close = std::string::npos;
    int depth = 0;
    for (size_t i = open; i < t.size() && close == std::string::npos; ++i) {
      if (t[i] == '(')
        ++depth;
      else if (t[i] == ')' && --depth == 0)
        close = i;
    }
    if (close == std::string::npos) close = t.find(')', open + 1);
    t = close != std::string::npos ? t.substr(open + 1, close - open - 1) : t.substr(open + 1);
  }
  t = Trim(t);

  if (!t.empty() && t[0] == '"') {
    // A quoted program is the program, spaces and all; the rest are arguments.
    const auto q = t.find('"', 1);
    t = t.substr(1, q == std::string::npos ? std::string::npos : q - 1);
  } else if (t.find(' ') != std::string::npos) {
    // Spaces before the extension belong to the path, those after it start
    // the arguments.
    const auto dot = t.find('.');
    const auto space = t.find(' ', dot == std::string::npos ? 0 : dot + 1);
    if (space != std::string::npos) t.resize(space);
  }
  // Quotes never reach a scanner's command line from registry data.
  t = ReplaceAll(t, "\"", "");

  // Service paths name the Windows directory in the kernel's own ways.
  if (FindNoCase(t, "\\??\\") == 0) t = t.substr(4);
  std::string path = t;
  if (FindNoCase(path, "\\SystemRoot\\") == 0)
    path = windowsDir + path.substr(12);
  else if (FindNoCase(path, "system32\\") == 0)
    path = windowsDir + path;
  path = ExpandVariables(path, windowsDir, environment);
  const bool unc = path.rfind("\\\\", 0) == 0;
  path = ReplaceAll(path, "\\\\", "\\");
  if (unc) path = "\\" + path;
  if (path.find('.') == std::string::npos) path += ".exe";
  if (t.find('\\') != std::string::npos) return path;

  const std::string oldSystem =
      systemDir.substr(0, systemDir.size() >= 3 ? systemDir.size() - 3 : 0) + "\\";
  for (const std::string& dir : {systemDir, windowsDir, oldSystem})
    if (fileExists(dir + t)) return dir + t;
  return std::nullopt;
}

RegistryPass BuildRegistryPass(const RegistryPassSource& source) {
  RegistryPass pass;
  pass.list.push_back(kWarningsTitle);
  const auto& places = RegistryPassPlaces();
  std::set<std::string> keys;
  for (const PassPlace& p : places)
    if (keys.insert(p.rootKey).second) pass.tree.push_back({"", p.rootKey, p.rootText});

  // What the native view of each machine place holds: a key both views share
  // (or a value written to both) is listed once, under the native view.
  std::set<std::string> nativeEntries;
  const auto entryId = [](const PassPlace& p, const std::string& name, const std::string& vt) {
    return Dec(p.place->index) + '\n' + LCase(name) + '\n' + vt;
  };

  for (size_t i = 0; i < places.size(); ++i) {
    const PassPlace& p = places[i];
    pass.tree.push_back({p.rootKey, p.nodeKey, p.place->category, int(i)});
    keys.insert(p.nodeKey);
    for (const RegValueRead& v : source.readValues(p)) {
      if (IsStandardOpenCommand(v.dataText)) continue;
      const std::string vt = ValueText(v.dataText);
      if (p.place->root == RegRoot::LocalMachine) {
        const std::string id = entryId(p, v.name, vt);
        if (!p.wow32)
          nativeEntries.insert(id);
        else if (nativeEntries.count(id))
          continue;
      }
      // Node keys are unique: the same value text at the same index under
      // another root gets no second node, but is still compared.
      std::string nodeKey = "#";
      nodeKey += Dec(p.place->index);
      nodeKey += vt;
      if (keys.insert(nodeKey).second) {
        RegTreeNode node{p.nodeKey, nodeKey, v.name, int(i), true, v.name, vt};
        node.text += vt;
        pass.tree.push_back(std::move(node));
      }
      SnapshotEntry entry = SnapshotEntryOf(v.name, vt);
      const int result = source.compare(entry, p);
      if (result == 1 || result == 2) {
        RegWarning w{WarningLine(p, entry.shownKey, vt, result), int(i), v.name, vt, result,
                     std::move(entry)};
        pass.list.push_back(w.line);
        pass.warnings.push_back(std::move(w));
      }
    }
  }
  pass.findings = pass.list.size() > 1;
  if (!pass.findings) pass.list.push_back(kNoWarnings);
  return pass;
}

}  // namespace kv
