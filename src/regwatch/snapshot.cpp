#include "regwatch/snapshot.h"

#include <windows.h>

#include "context/app.h"
#include "context/settings.h"
#include "platform/RegClass.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

int CompareEntry(App& app, std::string& name, const std::string& valueText, int lmIndex,
                 int cuIndex, int crIndex, bool wow32) {
  const std::string section = SnapshotSection(lmIndex, cuIndex, crIndex, wow32);
  name = SnapshotKey(name, valueText);
  if (app.registryAcceptMode) {
    WriteEntry(app, app.registryFile, name, valueText, section);
    return 0;
  }
  return CompareStored(ReadEntry(app.registryFile, name, section), valueText);
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
  RegistryPassSource source;
  source.readValues = ReadPlaceValues;
  source.compare = [&app](std::string& name, const std::string& valueText, const PassPlace& p) {
    const int index = p.place->index;
    switch (p.place->root) {
      case RegRoot::LocalMachine:
        return CompareEntry(app, name, valueText, index, 0, 0, p.wow32);
      case RegRoot::CurrentUser:
        return CompareEntry(app, name, valueText, 0, index, 0);
      case RegRoot::ClassesRoot:
        return CompareEntry(app, name, valueText, 0, 0, index);
    }
    return 0;
  };
  source.afterEntry = [] {
    PumpMessages();
    PumpMessages();
  };
  RegistryPass pass = BuildRegistryPass(source);
  app.registryAcceptMode = false;
  return pass;
}

void EnsureRegistrySnapshot(App& app) {
  if (FileExists(app.registryFile)) return;
  app.registryAcceptMode = true;
  ReplaceFileContents(app.registryFile, EmptySnapshotText());
  setReg(app);
}

}  // namespace kv
