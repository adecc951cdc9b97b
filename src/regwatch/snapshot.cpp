#include "regwatch/snapshot.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "context/app.h"
#include "context/seals.h"
#include "context/settings.h"
#include "core/profile.h"
#include "core/text.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include "platform/shell_links.h"
#include "platform/scheduled_tasks.h"

namespace kv {

namespace {

int CompareSnapshotEntry(App& app, const std::string& section, const SnapshotEntry& entry) {
  if (app.registryAcceptMode) {
    WriteEntry(app, app.registryFile, entry.key, entry.value, section);
    return 0;
  }
  const std::string stored = ReadEntry(app.registryFile, entry.key, section);
  return CompareStoredValue(stored, entry.value);
}

}  // namespace

int CompareEntry(App& app, std::string& name, const std::string& valueText, int lmIndex,
                 int cuIndex, int crIndex, bool wow32) {
  const std::string section = SnapshotSection(lmIndex, cuIndex, crIndex, wow32);
  const SnapshotEntry entry = SnapshotEntryOf(name, valueText);
  name = entry.shownKey;
  return CompareSnapshotEntry(app, section, entry);
}

bool AcceptEntries(App& app, const std::vector<RegWarning>& warnings) {
  const auto& places = RegistryPassPlaces();
  const bool exists = FileExists(app.registryFile);
  std::string text;
  if (exists) {
    auto read = ReadWholeFile(app.registryFile);
    if (!read) return false;
    text = std::move(*read);
  }
  ProfileDocument doc(text, exists);
  for (const RegWarning& w : warnings) {
    if (w.place < 0 || size_t(w.place) >= places.size()) continue;
    if (!doc.Set(places[size_t(w.place)].section, w.entry.key, w.entry.value)) return false;
  }
  // One write: a kill part way leaves either none or all of them accepted.
  return app.seals.Replace(app.registryFile, doc.Text());
}

namespace {

HKEY RootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return nullptr;
}

}  // namespace

namespace {

// Added places read expandable strings (services' paths) as the strings
// they are, closing parenthesis and all.
std::string AddedDataText(RegClass& reg, const std::string& name) {
  DWORD type = 0;
  std::string data;
  if (!reg.ReadValue(name, type, data)) return {};
  return DataText(type == REG_EXPAND_SZ ? kRegSz : type, data);
}

// The values a place reads from one open key: every value, or just the
// named ones ("Debugger", "Parameters\\ServiceDll") in their given order.
void ReadKeyValues(HKEY root, const std::string& path, REGSAM view, const char* only,
                   const std::string& namePrefix, std::vector<RegValueRead>& values) {
  RegClass reg;
  if (!only) {
    if (!reg.OpenRegistry(root, path, view)) return;
    for (const std::string& name : reg.GetAllValues())
      values.push_back({namePrefix + name, AddedDataText(reg, name)});
    return;
  }
  for (const std::string& wanted : Split(only, '|')) {
    const auto slash = wanted.rfind('\\');
    const std::string sub = slash == std::string::npos ? "" : "\\" + wanted.substr(0, slash);
    const std::string name = wanted.substr(slash == std::string::npos ? 0 : slash + 1);
    if (!reg.OpenRegistry(root, path + sub, view) || !reg.HasValue(name)) continue;
    values.push_back({namePrefix + wanted, AddedDataText(reg, name)});
  }
}

// One entry per file of a Startup folder, named by the file: a shortcut's
// data is what it starts, any other file's its own path.
void ReadStartupFolder(int csidl, std::vector<RegValueRead>& values) {
  const std::string folder = Trim(ShellFolderPath(csidl));
  if (folder.empty()) return;
  const auto names = ListDirectory(folder);
  if (!names) return;
  for (const std::string& name : *names) {
    const std::string path = folder + "\\" + name;
    // The shell's own notes on the folder start nothing.
    if (EqualsNoCase(name, "desktop.ini") || DirectoryExists(path)) continue;
    std::string data = path;
    if (EqualsNoCase(Right(name, 4), ".lnk"))
      if (const auto link = ReadShellLink(path)) data = CommandText(link->path, link->arguments);
    values.push_back({name, std::move(data)});
  }
}

}  // namespace

std::vector<RegValueRead> ReadPlaceValues(const PassPlace& place) {
  std::vector<RegValueRead> values;
  const WatchedPlace& w = *place.place;
  const REGSAM view = w.root != RegRoot::LocalMachine ? 0
                      : place.wow32                   ? KEY_WOW64_32KEY
                                                      : KEY_WOW64_64KEY;
  HKEY root = RootHandle(w.root);
  switch (w.kind) {
    case PlaceKind::Values:
      if (!place.added) {
        RegClass reg;
        if (!reg.OpenRegistry(root, w.keyPath, view)) return values;
        for (std::string& name : reg.GetAllValues()) {
          std::string data = reg.GetValue(name);
          values.push_back({std::move(name), std::move(data)});
        }
        reg.CloseRegistry();
      } else {
        ReadKeyValues(root, w.keyPath, view, w.only, "", values);
      }
      break;
    case PlaceKind::SubkeyValues: {
      RegClass reg;
      if (!reg.OpenRegistry(root, w.keyPath, view)) return values;
      for (const std::string& sub : reg.GetAllSubDirectories())
        ReadKeyValues(root, std::string(w.keyPath) + "\\" + sub, view, w.only, sub + "\\", values);
      break;
    }
    case PlaceKind::StartupFolder:
      ReadStartupFolder(w.root == RegRoot::LocalMachine ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP,
                        values);
      break;
    case PlaceKind::ScheduledTasks:
      if (const auto tasks = ListScheduledTasks())
        for (const ScheduledTask& task : *tasks)
          values.push_back({task.path.rfind('\\', 0) == 0 ? task.path.substr(1) : task.path, task.actions});
      break;
  }
  return values;
}

namespace {

// Stores entries in one write of the snapshot file, its added places'
// sections put in when missing; a missing file starts as a created one.
void StoreEntries(App& app, const std::vector<std::pair<std::string, SnapshotEntry>>& entries) {
  std::string text = EmptySnapshotText(true);
  if (FileExists(app.registryFile)) {
    auto read = ReadWholeFile(app.registryFile);
    if (!read) return;  // a file that cannot be read is not written over
    text = std::move(*read);
  }
  ProfileDocument doc(WithSections(text, MissingAddedSections(text)));
  for (const auto& [section, entry] : entries) doc.Set(section, entry.key, entry.value);
  app.seals.Replace(app.registryFile, doc.Text());
}

}  // namespace

RegistryPass setReg(App& app) {
  // What a pass stores reaches the file in one write at its end. The pass
  // lets every window's messages through, so the program may be ended part
  // way: the file is then as it was before, never a snapshot half taken
  // whose missing half would come back as new entries.
  const bool accepting = app.registryAcceptMode;
  // A snapshot from before an added place was watched lacks its section:
  // that place's entries are taken in without a warning.
  // The snapshot is read once: a pass compares hundreds of entries, and
  // nothing writes the file before the pass ends.
  std::vector<std::string> takeIn;
  ProfileDocument kept;
  if (!accepting)
    if (auto text = ReadWholeFile(app.registryFile)) {
      takeIn = MissingAddedSections(*text);
      kept = ProfileDocument(*text);
    }
  const auto taking = [&takeIn](const std::string& section) {
    return std::find(takeIn.begin(), takeIn.end(), section) != takeIn.end();
  };
  std::vector<std::pair<std::string, SnapshotEntry>> stored;

  RegistryPassSource source;
  source.readValues = ReadPlaceValues;
  source.compare = [&](const SnapshotEntry& entry, const PassPlace& p) {
    if (accepting || taking(p.section)) {
      stored.emplace_back(p.section, entry);
      return 0;
    }
    return CompareStoredValue(kept.Get(p.section, entry.key), entry.value);
  };
  RegistryPass pass = BuildRegistryPass(source);
  app.registryAcceptMode = false;
  if (accepting || !takeIn.empty()) StoreEntries(app, stored);
  return pass;
}

void EnsureRegistrySnapshot(App& app) {
  // A snapshot the user chose to rebuild is taken anew, as a missing one is.
  if (FileExists(app.registryFile) && GuardDataFile(app, app.registryFile) != SealGuard::Rebuild) return;
  if (app.ended || FileExists(app.registryFile)) return;
  // The file is made by the pass, whole, when it ends.
  app.registryAcceptMode = true;
  setReg(app);
}

}  // namespace kv
