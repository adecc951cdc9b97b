// The registry watch against the real registry of the private Wine prefix:
// values are made in the watched keys and removed again by each test.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "core/text.h"
#include "platform/RegClass.h"
#include "platform/ini.h"
#include "regwatch/snapshot.h"
#include "regwatch/registry_fixture.h"
#include "support/pump.h"
#include "shutdown/shortcuts.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include <shlobj.h>
#include <taskschd.h>
#include "platform/scheduled_tasks.h"

using namespace kv;
using namespace kv::test;

namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kExeOpen = "Software\\Classes\\exefile\\shell\\open\\command";
constexpr const char* kScratch = "Software\\KorvanelTest";

class RegwatchTest : public RegistryTest {
 protected:
  void Accept() {
    app.registryAcceptMode = true;
    setReg(app);
  }
  std::string Snapshot() const { return folder.Read("Data\\Registry.dat"); }
};

bool Listed(const RegistryPass& pass, const std::string& line) {
  return std::find(pass.list.begin(), pass.list.end(), line) != pass.list.end();
}

bool ListedWith(const RegistryPass& pass, const std::string& part) {
  return std::any_of(pass.list.begin(), pass.list.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// The node with this key; a node without a key when there is none.
const RegTreeNode& Node(const RegistryPass& pass, const std::string& key) {
  static const RegTreeNode none;
  for (const RegTreeNode& n : pass.tree)
    if (n.key == key) return n;
  return none;
}

// The snapshot without its entry lines: what remains of the created file.
std::string WithoutEntries(const std::string& text) {
  std::string out;
  for (const std::string& line : Split(text, '\n'))
    if (line.find('=') == std::string::npos && !line.empty()) out += line + "\n";
  return out;
}

const std::vector<std::string> kNothingFound = {"New and Modified Registry Entry Warnings",
                                                "*No new or modified Registry Entries*"};

}  // namespace

// Whether the snapshot file existed when a message posted before a pass was
// handled, that is in the middle of the pass: the program may end there.
std::string gWatchedFile;
int gSeenDuringPass = -1;

LRESULT CALLBACK MidPassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) gSeenDuringPass = FileExists(gWatchedFile) ? 1 : 0;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(RegwatchTest, FirstStartCreatesTheSnapshotAndStoresEveryEntry) {
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvFirst", "C:\\first.exe");
  SetText(HKEY_CURRENT_USER, kRun, "KvFirst", "C:\\user.exe");
  WNDCLASSA cls{};
  cls.lpfnWndProc = MidPassProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "KvMidPass";
  RegisterClassA(&cls);
  HWND probe = CreateWindowExA(0, "KvMidPass", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               cls.hInstance, nullptr);
  gWatchedFile = app.registryFile;
  PostMessageA(probe, WM_APP, 0, 0);
  EnsureRegistrySnapshot(app);
  // A first snapshot is written whole, and nothing else runs (no message is
  // handled, no window closed) until it is.
  EXPECT_EQ(gSeenDuringPass, -1);
  EXPECT_TRUE(folder.Exists("Data\\Registry.dat"));
  test::PumpUntil([] { return gSeenDuringPass != -1; }, 2000);
  EXPECT_EQ(gSeenDuringPass, 1);
  DestroyWindow(probe);
  const std::string text = Snapshot();
  EXPECT_EQ(WithoutEntries(text), EmptySnapshotText(true));
  EXPECT_NE(text.find("[LM/R]\r\nKvFirst= (C:\\first.exe)\r\n\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[CU/R]\r\nKvFirst= (C:\\user.exe)\r\n\r\n"), std::string::npos) << text;
  EXPECT_FALSE(app.registryAcceptMode);

  RegistryPass pass = setReg(app);
  EXPECT_EQ(pass.list, kNothingFound);
  EXPECT_FALSE(pass.findings);
  EXPECT_EQ(Node(pass, "#1 (C:\\first.exe)").text, "KvFirst (C:\\first.exe)");

  // An existing file, even an empty one, is kept as it is.
  ASSERT_TRUE(app.seals.Replace(app.registryFile, ""));
  EnsureRegistrySnapshot(app);
  EXPECT_EQ(Snapshot(), "");
}

TEST_F(RegwatchTest, NewModifiedAndUnchangedEntries) {
  EnsureRegistrySnapshot(app);
  SetText(HKEY_LOCAL_MACHINE, kRun, "Tool", "C:\\t.exe");
  SetText(HKEY_LOCAL_MACHINE, kRun, "a=b", "C:\\ab.exe");
  RegistryPass pass = setReg(app);
  EXPECT_TRUE(Listed(pass, "HKEY_LOCAL_MACHINE|Loaded in Run\\Tool (C:\\t.exe) New Entry!"));
  EXPECT_TRUE(Listed(pass, "HKEY_LOCAL_MACHINE|Loaded in Run\\a-b (C:\\ab.exe) New Entry!"));
  EXPECT_TRUE(pass.findings);
  EXPECT_EQ(Node(pass, "#1 (C:\\t.exe)").text, "Tool (C:\\t.exe)");
  EXPECT_EQ(Node(pass, "#1 (C:\\t.exe)").parentKey, "!LLIR");
  EXPECT_EQ(Node(pass, "#1 (C:\\ab.exe)").valueName, "a=b");
  // A pass that only compares stores nothing.
  EXPECT_EQ(Snapshot().find("Tool="), std::string::npos);

  Accept();
  EXPECT_NE(Snapshot().find("\r\nTool= (C:\\t.exe)\r\n"), std::string::npos);
  EXPECT_NE(Snapshot().find("\r\na-b= (C:\\ab.exe)\r\n"), std::string::npos);
  EXPECT_EQ(setReg(app).list, kNothingFound);

  SetText(HKEY_LOCAL_MACHINE, kRun, "Tool", "C:\\t.exe /x");
  pass = setReg(app);
  EXPECT_EQ(pass.list[1], "HKEY_LOCAL_MACHINE|Loaded in Run\\Tool (C:\\t.exe /x) Entry Modified!");
  EXPECT_EQ(pass.warnings[0].valueName, "Tool");

  // Blanks around the stored value are no change.
  IniWrite(app.registryFile, "Tool", "    (C:\\t.exe /x)   ", "LM/R");
  EXPECT_EQ(setReg(app).list, kNothingFound);
}

TEST_F(RegwatchTest, OpenCommandsAndTheSameTextUnderTwoRoots) {
  EnsureRegistrySnapshot(app);
  SetText(HKEY_LOCAL_MACHINE, kExeOpen, "", "\"%1\" %*");
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvSame", "C:\\same.exe");
  SetText(HKEY_CURRENT_USER, kRun, "KvSame2", "C:\\same.exe");
  RegistryPass pass = setReg(app);
  EXPECT_FALSE(ListedWith(pass, "%1"));
  EXPECT_EQ(Node(pass, "#6 (\"%1\" %*)").key, "");
  EXPECT_TRUE(Listed(pass, "HKEY_LOCAL_MACHINE|Loaded in Run\\KvSame (C:\\same.exe) New Entry!"));
  EXPECT_TRUE(Listed(pass, "HKEY_CURRENT_USER|Loaded in Run\\KvSame2 (C:\\same.exe) New Entry!"));
  EXPECT_EQ(Node(pass, "#1 (C:\\same.exe)").parentKey, "!LLIR");
  Accept();
  EXPECT_EQ(Snapshot().find("%1"), std::string::npos);

  // Any other command is a new entry named by its own text, in the machine's
  // classes and in the classes root that shows them.
  SetText(HKEY_LOCAL_MACHINE, kExeOpen, "", "C:\\evil.exe \"%1\"");
  pass = setReg(app);
  EXPECT_TRUE(Listed(pass,
                     "HKEY_LOCAL_MACHINE|Loaded in command\\ (C:\\evil.exe \"%1\") "
                     "(C:\\evil.exe \"%1\") New Entry!"));
  EXPECT_TRUE(Listed(pass,
                     "HKEY_CLASSES_ROOT|Loaded in command\\ (C:\\evil.exe \"%1\") "
                     "(C:\\evil.exe \"%1\") New Entry!"));
  EXPECT_EQ(Node(pass, "#6 (C:\\evil.exe \"%1\")").text, " (C:\\evil.exe \"%1\")");
}

TEST_F(RegwatchTest, LongAndEmptyValuesAndEveryValueAfterThem) {
  EnsureRegistrySnapshot(app);
  const std::string longData = "C:\\" + std::string(300, 'x') + ".exe";
  const std::string longName = "KvName" + std::string(250, 'n');
  SetText(HKEY_CURRENT_USER, kRun, "KvLong", longData);
  SetText(HKEY_CURRENT_USER, kRun, longName, "C:\\n.exe");
  Set(HKEY_CURRENT_USER, kRun, "KvEmptySz", "", REG_SZ);
  Set(HKEY_CURRENT_USER, kRun, "KvEmptyBin", "", REG_BINARY);
  SetText(HKEY_CURRENT_USER, kRun, "KvAfter", "C:\\after.exe");
  RegistryPass pass = setReg(app);
  const std::string at = "HKEY_CURRENT_USER|Loaded in Run\\";
  EXPECT_TRUE(Listed(pass, at + "KvLong (" + longData + ") New Entry!"));
  EXPECT_TRUE(Listed(pass, at + longName + " (C:\\n.exe) New Entry!"));
  EXPECT_TRUE(Listed(pass, at + "KvEmptySz () New Entry!"));
  EXPECT_TRUE(Listed(pass, at + "KvEmptyBin () New Entry!"));
  EXPECT_TRUE(Listed(pass, at + "KvAfter (C:\\after.exe) New Entry!"));

  // Stored, the long value is unchanged; a change anywhere in it, or after
  // a line break, is reported once.
  SetText(HKEY_CURRENT_USER, kRun, "KvLines", "C:\\lines.exe\r\nC:\\one.exe");
  Accept();
  EXPECT_EQ(setReg(app).list, kNothingFound);
  for (const auto& [name, data] :
       {std::pair<std::string, std::string>{"KvLong", "D" + longData.substr(1)},
        {"KvLong", longData.substr(0, 280) + "y" + longData.substr(281)},
        {"KvLines", "C:\\lines.exe\r\nC:\\two.exe"}}) {
    SetText(HKEY_CURRENT_USER, kRun, name, data);
    pass = setReg(app);
    ASSERT_EQ(pass.list.size(), 2u) << data;
    EXPECT_EQ(pass.list[1], at + name + " (" + data + ") Entry Modified!");
    Accept();
    EXPECT_EQ(setReg(app).list, kNothingFound) << data;
  }
}

TEST_F(RegwatchTest, NamesTheFileCannotKeepAreReportedAndAcceptedOnce) {
  EnsureRegistrySnapshot(app);
  const std::vector<std::string> names = {"[KvBracket]", "Kv\r\nBreak", "KvSpace", " KvSpace",
                                          "KvSpace ", "#KvHash"};
  for (const std::string& name : names) SetText(HKEY_CURRENT_USER, kRun, name, "C:\\kv.exe");
  RegistryPass pass = setReg(app);
  for (const std::string& name : names)
    EXPECT_TRUE(Listed(pass, "HKEY_CURRENT_USER|Loaded in Run\\" + name + " (C:\\kv.exe) New Entry!"))
        << name;
  Accept();
  EXPECT_EQ(setReg(app).list, kNothingFound);
  // Each is its own entry: changing one reports just that one.
  SetText(HKEY_CURRENT_USER, kRun, " KvSpace", "C:\\other.exe");
  pass = setReg(app);
  ASSERT_EQ(pass.list.size(), 2u);
  EXPECT_EQ(pass.list[1], "HKEY_CURRENT_USER|Loaded in Run\\ KvSpace (C:\\other.exe) Entry Modified!");
  // The file stays one the reader takes line by line: no stray section.
  EXPECT_EQ(WithoutEntries(Snapshot()), EmptySnapshotText(true));
}

TEST_F(RegwatchTest, ThirtyTwoBitViewIsReadAndStoredApart) {
  // A snapshot from before the 32-bit view was read keeps its meaning.
  std::string old = EmptySnapshotText();
  old.replace(old.find("[LM/R]\r\n") + 8, 0, "KvOld= (C:\\old.exe)\r\n");
  folder.Write("Data\\Registry.dat", old);
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvOld", "C:\\old.exe");
  EnsureRegistrySnapshot(app);
  EXPECT_FALSE(ListedWith(setReg(app), "KvOld"));

  SetText(HKEY_LOCAL_MACHINE, kRun, "KvTool32", "C:\\t32.exe", KEY_WOW64_32KEY);
  RegistryPass pass = setReg(app);
  EXPECT_TRUE(
      Listed(pass, "HKEY_LOCAL_MACHINE 32-bit|Loaded in Run\\KvTool32 (C:\\t32.exe) New Entry!"));
  EXPECT_FALSE(ListedWith(pass, "HKEY_LOCAL_MACHINE|Loaded in Run\\KvTool32"));
  EXPECT_EQ(Node(pass, "#1 (C:\\t32.exe)").parentKey, "!WLIR");
  Accept();
  const std::string text = Snapshot();
  EXPECT_NE(text.find("[LM32/R]\r\nKvTool32= (C:\\t32.exe)\r\n"), std::string::npos) << text;
  EXPECT_EQ(IniRead(app.registryFile, "KvTool32", "LM/R"), "");
  EXPECT_EQ(setReg(app).list, kNothingFound);
}

TEST(RegClassTest, ValueTextsEnumerationAndExactDeletes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const auto set = [key](const char* name, DWORD type, const std::string& data) {
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   DWORD(data.size()));
  };
  using namespace std::string_literals;
  set("", REG_SZ, "C:\\default.exe\0"s);
  set("Sz", REG_SZ, "C:\\t.exe\0"s);
  set("EmptySz", REG_SZ, "");
  set("Bin", REG_BINARY, "\x05\x0a\x4f\x00"s);
  set("EmptyBin", REG_BINARY, "");
  set("Dword", REG_DWORD, "\x01\x00\x00\x00"s);
  set("Tool", REG_SZ, "a\0"s);
  set("Tool (x86)", REG_SZ, "b\0"s);
  set("a=b", REG_SZ, "c\0"s);
  set("a-b", REG_SZ, "d\0"s);
  HKEY sub = nullptr;
  RegCreateKeyExA(key, "Sub1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
  RegCloseKey(sub);
  RegCloseKey(key);

  {
    RegClass reg;
    EXPECT_FALSE(reg.OpenRegistry(nullptr, kScratch));
    EXPECT_FALSE(reg.OpenRegistry(HKEY_CURRENT_USER, "Software\\KorvanelTest\\Missing"));
    EXPECT_TRUE(reg.GetAllValues().empty());
    ASSERT_TRUE(reg.OpenRegistry(HKEY_CURRENT_USER, kScratch));
    auto names = reg.GetAllValues();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "Bin", "Dword", "EmptyBin", "EmptySz", "Sz",
                                               "Tool", "Tool (x86)", "a-b", "a=b"}));
    EXPECT_EQ(reg.GetAllSubDirectories(), std::vector<std::string>{"Sub1"});
    EXPECT_EQ(reg.GetValue(""), "C:\\default.exe");
    EXPECT_EQ(reg.GetValue("Sz"), "C:\\t.exe");
    EXPECT_EQ(reg.GetValue("EmptySz"), "");
    EXPECT_EQ(reg.GetValue("Bin"), "05 A 4F ");
    EXPECT_EQ(reg.GetValue("EmptyBin"), "");
    EXPECT_EQ(ValueText(reg.GetValue("Dword")), " (\x01");
    EXPECT_EQ(reg.GetValue("Missing"), "");

    EXPECT_TRUE(reg.DeleteKey("Tool (x86)"));
    EXPECT_TRUE(reg.DeleteKey("a=b"));
    EXPECT_FALSE(reg.DeleteKey("a=b"));
    EXPECT_TRUE(reg.HasValue("Tool"));
    EXPECT_TRUE(reg.HasValue("a-b"));
    EXPECT_FALSE(reg.HasValue("Tool (x86)"));
    EXPECT_TRUE(reg.CloseRegistry());
    EXPECT_FALSE(reg.CloseRegistry());
    EXPECT_FALSE(reg.DeleteKey("Tool"));
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
}

TEST(RegClassTest, EnumeratesPastSixtyFiveThousandValues) {
  HKEY key = nullptr;
  const char* path = "Software\\KorvanelTest\\Many";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD count = 65536 + 3;
  for (DWORD i = 0; i < count; ++i)
    RegSetValueExA(key, ("v" + std::to_string(i)).c_str(), 0, REG_BINARY, nullptr, 0);
  RegCloseKey(key);
  RegClass reg;
  ASSERT_TRUE(reg.OpenRegistry(HKEY_CURRENT_USER, path));
  EXPECT_EQ(reg.GetAllValues().size(), size_t(count));
  reg.CloseRegistry();
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
}

namespace {

constexpr const char* kIfeo = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options";
constexpr const char* kServices = "SYSTEM\\CurrentControlSet\\Services";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

}  // namespace

TEST_F(RegwatchTest, SnapshotFromBeforeTheAddedPlacesReadsUnchanged) {
  // Entries in the added places that were there before the upgrade.
  NewKey(HKEY_LOCAL_MACHINE, std::string(kServices) + "\\KvOldSvc");
  SetText(HKEY_LOCAL_MACHINE, (std::string(kServices) + "\\KvOldSvc"), "ImagePath",
          "C:\\kv\\oldsvc.exe");
  NewKey(HKEY_LOCAL_MACHINE, std::string(kIfeo) + "\\kvold.exe");
  SetText(HKEY_LOCAL_MACHINE, (std::string(kIfeo) + "\\kvold.exe"), "Debugger",
          "C:\\kv\\olddbg.exe");
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvOld", "C:\\old.exe");

  // The snapshot as the program wrote it before: the seventeen sections and
  // their entries, the 32-bit view's sections after them.
  EnsureRegistrySnapshot(app);
  std::string old;
  bool added = false;
  for (const std::string& line : Split(Snapshot(), '\n')) {
    if (!line.empty() && line[0] == '[')
      added = std::find_if(RegistryPassPlaces().begin(), RegistryPassPlaces().end(),
                                                            [&](const PassPlace& p) {
                                                              return p.added && line == "[" + p.section + "]\r";
                                                            }) != RegistryPassPlaces().end();
    if (!added && !line.empty()) old += line + "\n";
  }
  ASSERT_NE(old.find("KvOld= (C:\\old.exe)\r\n"), std::string::npos);
  ASSERT_EQ(old.find("KvOldSvc"), std::string::npos);
  // Written and sealed by the program as it was then.
  ASSERT_TRUE(app.seals.Replace(app.registryFile, old));
  EnsureRegistrySnapshot(app);
  EXPECT_EQ(Snapshot(), old);

  RegistryPass pass = setReg(app);
  EXPECT_FALSE(ListedWith(pass, "KvOld"));
  EXPECT_FALSE(ListedWith(pass, "Loaded in Service\\"));
  const std::string upgraded = Snapshot();
  ASSERT_GT(upgraded.size(), old.size());
  EXPECT_EQ(upgraded.substr(0, old.size()), old);
  EXPECT_NE(upgraded.find("[LM/SV]\r\n"), std::string::npos) << upgraded;
  EXPECT_NE(upgraded.find("KvOldSvc\\ImagePath= (C:\\kv\\oldsvc.exe)\r\n"), std::string::npos);
  EXPECT_NE(upgraded.find("[LM/IF]\r\nkvold.exe\\Debugger= (C:\\kv\\olddbg.exe)\r\n"),
            std::string::npos);
  EXPECT_TRUE(MissingAddedSections(upgraded).empty());

  // Taken in once: from now on the added places are compared.
  pass = setReg(app);
  EXPECT_EQ(pass.list, kNothingFound);
  EXPECT_EQ(Snapshot(), upgraded);
  SetText(HKEY_LOCAL_MACHINE, (std::string(kIfeo) + "\\kvold.exe"), "Debugger",
          "C:\\kv\\evil.exe");
  pass = setReg(app);
  EXPECT_EQ(pass.list, (std::vector<std::string>{
                           kWarningsTitle, "HKEY_LOCAL_MACHINE|Loaded in Debugger\\kvold.exe\\Debugger "
                                           "(C:\\kv\\evil.exe) Entry Modified!"}));
}

TEST_F(RegwatchTest, AddedPlacesReportEachNewEntryOnce) {
  EnsureRegistrySnapshot(app);
  EXPECT_TRUE(MissingAddedSections(Snapshot()).empty());
  EXPECT_EQ(setReg(app).list, kNothingFound);

  const std::string svc = std::string(kServices) + "\\KvSvc";
  NewKey(HKEY_LOCAL_MACHINE, svc);
  NewKey(HKEY_LOCAL_MACHINE, svc + "\\Parameters");
  SetText(HKEY_LOCAL_MACHINE, svc, "ImagePath", "C:\\kv\\svc.exe -k kv");
  Set(HKEY_LOCAL_MACHINE, svc + "\\Parameters", "ServiceDll",
      std::string("%SystemRoot%\\kvsvc.dll") + '\0', REG_EXPAND_SZ);
  SetText(HKEY_LOCAL_MACHINE, svc, "DisplayName", "not watched");
  const std::string ifeo = std::string(kIfeo) + "\\kvapp.exe";
  NewKey(HKEY_LOCAL_MACHINE, ifeo);
  SetText(HKEY_LOCAL_MACHINE, ifeo, "Debugger", "C:\\kv\\dbg.exe");
  SetText(HKEY_CURRENT_USER, kWinlogon, "Shell", "C:\\kv\\shell.exe");
  SetText(HKEY_CURRENT_USER, kWinlogon, "NotWatched", "C:\\kv\\no.exe");
  SetText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
          "KvPol", "C:\\kv\\pol.exe");
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load",
          "C:\\kv\\load.exe");
  SetText(HKEY_CURRENT_USER, "Software\\Microsoft\\Command Processor", "AutoRun", "C:\\kv\\ar.cmd");
  const std::string stub = "Software\\Microsoft\\Active Setup\\Installed Components\\{Kv}";
  NewKey(HKEY_LOCAL_MACHINE, stub);
  SetText(HKEY_LOCAL_MACHINE, stub, "StubPath", "C:\\kv\\stub.exe /s");
  const std::string rox = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\\0001";
  NewKey(HKEY_LOCAL_MACHINE, rox);
  SetText(HKEY_LOCAL_MACHINE, rox, "KvStep", "C:\\kv\\step.exe");

  RegistryPass pass = setReg(app);
  const std::vector<std::string> expected = {
      kWarningsTitle,
      "HKEY_LOCAL_MACHINE|Loaded in Policies Run\\KvPol (C:\\kv\\pol.exe) New Entry!",
      "HKEY_LOCAL_MACHINE|Loaded in Debugger\\kvapp.exe\\Debugger (C:\\kv\\dbg.exe) New Entry!",
      "HKEY_LOCAL_MACHINE|Loaded in Service\\KvSvc\\ImagePath (C:\\kv\\svc.exe -k kv) New Entry!",
      "HKEY_LOCAL_MACHINE|Loaded in Service\\KvSvc\\Parameters\\ServiceDll (%SystemRoot%\\kvsvc.dll) "
      "New Entry!",
      "HKEY_LOCAL_MACHINE|Loaded in RunOnceEx subkeys\\0001\\KvStep (C:\\kv\\step.exe) New Entry!",
      "HKEY_LOCAL_MACHINE|Loaded in Active Setup\\{Kv}\\StubPath (C:\\kv\\stub.exe /s) New Entry!",
      "HKEY_CURRENT_USER|Loaded in Winlogon\\Shell (C:\\kv\\shell.exe) New Entry!",
      "HKEY_CURRENT_USER|Loaded in Windows\\Load (C:\\kv\\load.exe) New Entry!",
      "HKEY_CURRENT_USER|Loaded in Command Processor\\AutoRun (C:\\kv\\ar.cmd) New Entry!",
  };
  EXPECT_EQ(pass.list, expected);
  EXPECT_EQ(Node(pass, "#14 (C:\\kv\\dbg.exe)").parentKey, "!LLIIF");
  Accept();
  EXPECT_EQ(setReg(app).list, kNothingFound);

  // A Winlogon shell changed on the machine is one modified entry.
  const auto shell = [] {
    RegClass reg;
    reg.OpenRegistry(HKEY_LOCAL_MACHINE, kWinlogon, KEY_WOW64_64KEY);
    return reg.GetValue("Shell");
  }();
  SetText(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", "C:\\kv\\evilshell.exe");
  pass = setReg(app);
  EXPECT_EQ(pass.list.size(), 2u);
  EXPECT_EQ(pass.list.back(), std::string("HKEY_LOCAL_MACHINE|Loaded in Winlogon\\Shell (C:\\kv\\evilshell.exe) ") +
                                  (shell.empty() ? "New Entry!" : "Entry Modified!"));
}

TEST_F(RegwatchTest, StartupFolderFilesAreEntries) {
  EnsureRegistrySnapshot(app);
  const std::string user = ShellFolderPath(CSIDL_STARTUP), common = ShellFolderPath(CSIDL_COMMON_STARTUP);
  ASSERT_FALSE(user.empty());
  ASSERT_FALSE(common.empty());
  const std::string link = user + "\\KvTool.lnk", batch = common + "\\KvRun.bat";
  CreateFolder(user);
  CreateFolder(common);
  ASSERT_TRUE(CreateShellLink(link, "C:\\Kv Dir\\tool.exe", "C:\\", "/min", "", 0, SW_SHOWNORMAL));
  ASSERT_TRUE(WriteWholeFile(batch, "@echo off\r\n"));
  undo_.push_back([=] {
    DeleteFileAt(link);
    DeleteFileAt(batch);
  });

  RegistryPass pass = setReg(app);
  EXPECT_EQ(pass.list, (std::vector<std::string>{
                           kWarningsTitle,
                           "HKEY_LOCAL_MACHINE|Loaded in Startup folder\\KvRun.bat (" + batch + ") New Entry!",
                           "HKEY_CURRENT_USER|Loaded in Startup folder\\KvTool.lnk (\"C:\\Kv Dir\\tool.exe\" /min) "
                           "New Entry!"}));
  ASSERT_EQ(pass.warnings.size(), 2u);
  EXPECT_EQ(EntryFilePath(pass.warnings[1].valueText, "C:\\windows\\", "C:\\windows\\system32\\",
                          [](const std::string&) { return false; }),
            "C:\\Kv Dir\\tool.exe");
  Accept();
  EXPECT_EQ(setReg(app).list, kNothingFound);

  // A shortcut pointed elsewhere under the same name is a modified entry.
  ASSERT_TRUE(CreateShellLink(link, "C:\\kv\\evil.exe", "C:\\", "", "", 0, SW_SHOWNORMAL));
  pass = setReg(app);
  EXPECT_EQ(pass.list, (std::vector<std::string>{
                           kWarningsTitle,
                           "HKEY_CURRENT_USER|Loaded in Startup folder\\KvTool.lnk (C:\\kv\\evil.exe) Entry Modified!"}));
}

namespace {

// Registers (or, with empty xml, deletes) a task in the scheduler's root
// folder through its own interface; the failing step's HRESULT otherwise.
HRESULT RegisterRootTask(const std::wstring& name, const std::wstring& xml) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ITaskService* service = nullptr;
  ITaskFolder* root = nullptr;
  VARIANT none;
  VariantInit(&none);
  HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                reinterpret_cast<void**>(&service));
  BSTR rootPath = SysAllocString(L"\\"), taskName = SysAllocString(name.c_str()),
       text = SysAllocString(xml.c_str());
  if (SUCCEEDED(hr)) hr = service->Connect(none, none, none, none);
  if (SUCCEEDED(hr)) hr = service->GetFolder(rootPath, &root);
  if (SUCCEEDED(hr) && xml.empty()) {
    hr = root->DeleteTask(taskName, 0);
  } else if (SUCCEEDED(hr)) {
    IRegisteredTask* task = nullptr;
    hr = root->RegisterTask(taskName, text, TASK_CREATE_OR_UPDATE, none, none,
                            TASK_LOGON_INTERACTIVE_TOKEN, none, &task);
    if (task) task->Release();
  }
  SysFreeString(rootPath);
  SysFreeString(taskName);
  SysFreeString(text);
  if (root) root->Release();
  if (service) service->Release();
  CoUninitialize();
  return hr;
}

std::wstring TaskXml(const std::wstring& program, const std::wstring& arguments) {
  return L"<?xml version=\"1.0\"?>\r\n"
         L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
         L"  <Settings><Enabled>false</Enabled></Settings>\r\n"
         L"  <Actions Context=\"Author\"><Exec><Command>" + program + L"</Command><Arguments>" + arguments +
         L"</Arguments></Exec></Actions>\r\n"
         L"</Task>\r\n";
}

}  // namespace

TEST_F(RegwatchTest, ScheduledTasksAreEntries) {
  EnsureRegistrySnapshot(app);
  const HRESULT hr = RegisterRootTask(L"KvTask", TaskXml(L"C:\\kv\\task.exe", L"/run"));
  if (FAILED(hr))
    GTEST_SKIP() << "this Wine cannot register a task through ITaskService: 0x" << std::hex << hr;
  undo_.push_back([] { RegisterRootTask(L"KvTask", L""); });
  const auto tasks = ListScheduledTasks();
  ASSERT_TRUE(tasks.has_value());
  if (tasks->empty())
    GTEST_SKIP() << "Wine registers the task but cannot list it: its IRegisteredTaskCollection "
                    "answers get_Count, get_Item and get__NewEnum with E_NOTIMPL";

  RegistryPass pass = setReg(app);
  EXPECT_EQ(pass.list, (std::vector<std::string>{
                           kWarningsTitle,
                           "HKEY_LOCAL_MACHINE|Loaded in Scheduled Task\\KvTask (C:\\kv\\task.exe /run) New Entry!"}));
  Accept();
  EXPECT_EQ(setReg(app).list, kNothingFound);
  ASSERT_EQ(RegisterRootTask(L"KvTask", TaskXml(L"C:\\kv\\other.exe", L"")), S_OK);
  pass = setReg(app);
  EXPECT_EQ(pass.list, (std::vector<std::string>{
                           kWarningsTitle,
                           "HKEY_LOCAL_MACHINE|Loaded in Scheduled Task\\KvTask (C:\\kv\\other.exe) Entry Modified!"}));
}
