#include "regwatch/snapshot.h"

#include <windows.h>

#include <optional>

#include "context/app.h"
#include "context/seals.h"
#include "context/settings.h"
#include "core/profile.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "platform/pump.h"

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

std::vector<RegValueRead> ReadPlaceValues(const PassPlace& place) {
  std::vector<RegValueRead> values;
  RegClass reg;
  const REGSAM view = place.place->root != RegRoot::LocalMachine ? 0
                      : place.wow32                              ? KEY_WOW64_32KEY
                                                                 : KEY_WOW64_64KEY;
  if (!reg.OpenRegistry(RootHandle(place.place->root), place.place->keyPath, view)) return values;
  for (std::string& name : reg.GetAllValues()) {
    std::string data = reg.GetValue(name);
    values.push_back({std::move(name), std::move(data)});
  }
  reg.CloseRegistry();
  return values;
}

RegistryPass setReg(App& app) {
  // A pass that stores every entry collects them in memory and writes the
  // snapshot once at its end: one sealed write instead of one per entry.
  std::optional<ProfileDocument> storing;
  if (app.registryAcceptMode) {
    const auto text = ReadWholeFile(app.registryFile);
    if (text)
      storing.emplace(*text, true);
    else
      storing.emplace(EmptySnapshotText(), true);
  }
  RegistryPassSource source;
  source.readValues = ReadPlaceValues;
  source.compare = [&app, &storing](const SnapshotEntry& entry, const PassPlace& p) {
    if (!storing) return CompareSnapshotEntry(app, p.section, entry);
    storing->Set(p.section, entry.key, entry.value);
    return 0;
  };
  source.afterEntry = [] {
    PumpMessages();
    PumpMessages();
  };
  RegistryPass pass = BuildRegistryPass(source);
  if (storing && !app.ended) app.seals.Replace(app.registryFile, storing->Text());
  app.registryAcceptMode = false;
  return pass;
}

void EnsureRegistrySnapshot(App& app) {
  // A snapshot the user chose to rebuild is taken anew, as a missing one is.
  if (FileExists(app.registryFile) && GuardDataFile(app, app.registryFile) != SealGuard::Rebuild) return;
  if (app.ended || FileExists(app.registryFile)) return;
  // The pass starts from the empty snapshot in memory and writes the file
  // once, whole, at its end.
  app.registryAcceptMode = true;
  setReg(app);
}

}  // namespace kv
