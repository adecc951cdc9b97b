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

TEST_F(RegwatchTest, FirstStartCreatesTheSnapshotAndStoresEveryEntry) {
  SetText(HKEY_LOCAL_MACHINE, kRun, "KvFirst", "C:\\first.exe");
  SetText(HKEY_CURRENT_USER, kRun, "KvFirst", "C:\\user.exe");
  EnsureRegistrySnapshot(app);
  const std::string text = Snapshot();
  EXPECT_EQ(WithoutEntries(text), EmptySnapshotText());
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
  EXPECT_EQ(WithoutEntries(Snapshot()), EmptySnapshotText());
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
