#include "core/regwatch_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/profile.h"
#include "core/sha256.h"
#include "core/text.h"

using namespace kv;

namespace {

const PassPlace& PlaceOf(RegRoot root, int index, bool wow32 = false) {
  for (const PassPlace& p : RegistryPassPlaces())
    if (p.place->root == root && p.place->index == index && p.wow32 == wow32) return p;
  throw std::logic_error("no such place");
}

}  // namespace

TEST(RegwatchTexts, SnapshotFileAndSections) {
  std::string expected;
  for (const char* name :
       {"LM/R", "LM/RO", "LM/ROX", "LM/RS", "LM/RSO", "LM/SE", "LM/SC", "LM/SB", "LM/SH", "LM/SP",
        "CU/R", "CU/RO", "CR/SE", "CR/SC", "CR/SB", "CR/SH", "CR/SP"})
    expected += std::string("[") + name + "]\r\n\r\n";
  EXPECT_EQ(EmptySnapshotText(), expected);

  EXPECT_EQ(SnapshotSection(1, 0, 0), "LM/R");
  EXPECT_EQ(SnapshotSection(10, 0, 0), "LM/SP");
  EXPECT_EQ(SnapshotSection(3, 0, 0, true), "LM32/ROX");
  EXPECT_EQ(SnapshotSection(0, 2, 0), "CU/RO");
  EXPECT_EQ(SnapshotSection(0, 0, 5), "CR/SP");
  EXPECT_EQ(SnapshotSection(0, 0, 0), "");
  EXPECT_EQ(SnapshotSection(1, 1, 0), "");
  EXPECT_EQ(SnapshotSection(11, 0, 0), "LM/WL");
  EXPECT_EQ(SnapshotSection(14, 0, 0, true), "LM32/IF");
  EXPECT_EQ(SnapshotSection(15, 0, 0, true), "");  // the services are in no 32-bit view
  EXPECT_EQ(SnapshotSection(0, 5, 0), "CU/WN");
  EXPECT_EQ(SnapshotSection(0, 1, 0, true), "");

  // Every place of a pass has its own section and category node key.
  std::set<std::string> sections, nodeKeys;
  for (const PassPlace& p : RegistryPassPlaces()) {
    EXPECT_TRUE(sections.insert(p.section).second) << p.section;
    EXPECT_TRUE(nodeKeys.insert(p.nodeKey).second) << p.nodeKey;
  }
  EXPECT_EQ(RegistryPassPlaces().size(), 27u + 10 + 7 + 5);

  // The created file: the first 34 lines as they always were, the added
  // places' sections after them; an older file gains exactly those.
  const std::string created = EmptySnapshotText(true);
  EXPECT_EQ(created.substr(0, expected.size()), expected);
  EXPECT_TRUE(MissingAddedSections(created).empty());
  const std::vector<std::string> missing = MissingAddedSections(expected);
  EXPECT_EQ(missing.front(), "LM/WL");
  EXPECT_EQ(missing.back(), "CU/SU");
  EXPECT_EQ(WithSections(expected, missing), created);
  EXPECT_EQ(WithSections("[LM/R]\r\nA= (a)", {"LM/WL"}), "[LM/R]\r\nA= (a)\r\n[LM/WL]\r\n\r\n");
  EXPECT_EQ(MissingAddedSections(" [lm/wl] \r\n").front(), "LM/PR");
}

TEST(RegwatchTexts, DataAndValueTexts) {
  using namespace std::string_literals;
  EXPECT_EQ(DataText(kRegSz, "C:\\t.exe\0"s), "C:\\t.exe");
  EXPECT_EQ(DataText(kRegSz, ""), "");  // size 0
  EXPECT_EQ(DataText(kRegBinary, ""), "");
  EXPECT_EQ(DataText(kRegBinary, "\x05\x0a\x4f\x00\xff"s), "05 A 4F 00 ");  // last byte left out
  EXPECT_EQ(BinaryText("\x00\x09\x10\xab"s), "00 09 10 AB ");

  // A DWORD 1: its bytes, then the spaces of the 256-character buffer.
  const std::string dword = DataText(4, "\x01\x00\x00\x00"s);
  ASSERT_EQ(dword.size(), 256u);
  EXPECT_EQ(dword.substr(0, 5), "\x01\x00\x00\x00 "s);
  EXPECT_EQ(ValueText(dword), " (\x01");
  const std::string longOther = DataText(2, std::string(300, 'x'));
  EXPECT_EQ(longOther.size(), 300u);  // read whole, not cut to the buffer

  EXPECT_EQ(ValueText("C:\\t.exe"), " (C:\\t.exe)");
  EXPECT_EQ(ValueText(""), " ()");
  EXPECT_EQ(ValueText("a\0b"s), " (a");

  EXPECT_TRUE(IsStandardOpenCommand("\"%1\" %*"));
  EXPECT_FALSE(IsStandardOpenCommand("\"%1\" %* "));
  EXPECT_FALSE(IsStandardOpenCommand("\"%1\""));

  EXPECT_EQ(SnapshotKey("a=b", " (x)"), "a-b");
  EXPECT_EQ(SnapshotKey("", " (c=d)"), " (c-d)");

  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::LocalMachine, 1), "Tool", " (C:\\t.exe)", 1),
            "HKEY_LOCAL_MACHINE|Loaded in Run\\Tool (C:\\t.exe) New Entry!");
  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::CurrentUser, 2), "Tool", " (C:\\t.exe /x)", 2),
            "HKEY_CURRENT_USER|Loaded in RunOnce\\Tool (C:\\t.exe /x) Entry Modified!");
  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::ClassesRoot, 1), " (x)", " (x)", 1),
            "HKEY_CLASSES_ROOT|Loaded in command\\ (x) (x) New Entry!");
  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::LocalMachine, 1, true), "T", " (t)", 1),
            "HKEY_LOCAL_MACHINE 32-bit|Loaded in Run\\T (t) New Entry!");
  // Added places are told apart by their category, not their key's name.
  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::CurrentUser, 4), "T", " (t)", 1),
            "HKEY_CURRENT_USER|Loaded in Policies Run\\T (t) New Entry!");
  EXPECT_EQ(WarningLine(PlaceOf(RegRoot::LocalMachine, 14, true), "a.exe\\Debugger", " (d)", 2),
            "HKEY_LOCAL_MACHINE 32-bit|Loaded in Debugger\\a.exe\\Debugger (d) Entry Modified!");
}

TEST(RegwatchTexts, ComparisonAgainstWhatTheSnapshotGivesBack) {
  EXPECT_EQ(CompareStored("", " (C:\\t.exe)"), 1);
  EXPECT_EQ(CompareStored("(C:\\t.exe)", " (C:\\t.exe)"), 0);
  EXPECT_EQ(CompareStored("(C:\\t.exe)", " (C:\\t.exe /x)"), 2);
  EXPECT_EQ(CompareStored("  (C:\\t.exe)  ", " (C:\\t.exe)"), 0);
  EXPECT_EQ(CompareStored("(c:\\t.exe)", " (C:\\t.exe)"), 2);  // letter case counts
}

TEST(RegwatchTexts, EveryEntryIsKeptWholeAndApart) {
  // Each entry stored under its key in one section, as an accept does.
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"Tool", " (C:\\t.exe)"},
      {" Tool", " (C:\\t2.exe)"},
      {"Tool ", " (C:\\t3.exe)"},
      {"[Tool]", " (C:\\t4.exe)"},
      {"#Tool", " (C:\\t5.exe)"},
      {"To\r\nol", " (C:\\t6.exe)"},
      {"   ", " (C:\\t7.exe)"},
      {"Long", ValueText("C:\\" + std::string(300, 'x') + ".exe")},
      {"Lines", " (C:\\t.exe\r\nC:\\evil.exe)"},
      {"Cut", " (C:\\t.exe  "},
      {"", " (C:\\open.exe \"%1\")"},
      {"", " (C:\\open.exe\nX)"},
      {" (C:\\open.exe\nX)", " (C:\\named.exe)"},
  };
  std::string file = EmptySnapshotText();
  std::set<std::string> keys;
  for (const auto& [name, vt] : entries) {
    const SnapshotEntry e = SnapshotEntryOf(name, vt);
    EXPECT_TRUE(keys.insert(LCase(e.key)).second) << name;
    EXPECT_TRUE(ProfileNamesUsable("CU/R", e.key)) << name;
    file = ProfileSet(file, true, "CU/R", e.key, e.value);
  }
  for (const auto& [name, vt] : entries) {
    const std::string stored = ProfileGet(file, "CU/R", SnapshotEntryOf(name, vt).key);
    EXPECT_EQ(CompareStored(stored, vt), 0) << name;
    // A change anywhere, past what the reader returns or after a line break
    // included, is seen.
    EXPECT_EQ(CompareStored(stored, vt + "x"), 2) << name;
  }
  // Entries that always stored well keep the form older snapshots have.
  EXPECT_EQ(SnapshotEntryOf("Tool", " (C:\\t.exe)").key, "Tool");
  EXPECT_EQ(SnapshotEntryOf("a=b", " (x)").key, "a-b");
  EXPECT_EQ(SnapshotEntryOf("", " (c=d)").key, " (c-d)");
  EXPECT_EQ(SnapshotValue(" (C:\\t.exe)"), " (C:\\t.exe)");
  EXPECT_EQ(SnapshotEntryOf("[Tool]", " (x)").shownKey, "[Tool]");
  // What an older snapshot kept of a long value is not taken for all of it.
  const std::string& longText = entries[7].second;
  EXPECT_EQ(CompareStored(longText.substr(1, kProfileValueMax), longText), 2);
}

TEST(RegwatchTexts, Sha256) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(RegwatchPath, EntryTextToFile) {
  const std::string win = "C:\\windows\\", sys = "C:\\windows\\system32\\";
  std::set<std::string> files;
  const auto exists = [&files](const std::string& p) { return files.count(p) > 0; };
  const auto path = [&](const std::string& t) { return EntryFilePath(t, win, sys, exists); };

  EXPECT_EQ(path("Tool (C:\\Program Files\\Tool\\tool.exe -min)"),
            "C:\\Program Files\\Tool\\tool.exe");
  EXPECT_EQ(path("Tool (C:\\t.exe)"), "C:\\t.exe");
  EXPECT_EQ(path("App (\"C:\\Program Files\\App\\app.exe\" -min)"),
            "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(path("App (\"C:\\Pro.gram Files\\app.exe\" /s /x)"), "C:\\Pro.gram Files\\app.exe");
  EXPECT_EQ(path("App (C:\\Program Files (x86)\\App\\app.exe /q)"),
            "C:\\Program Files (x86)\\App\\app.exe");
  EXPECT_EQ(path("Sys (%systemroot%\\sys.exe)"), "C:\\windows\\sys.exe");
  EXPECT_EQ(path("Sys (%SystemRoot%\\System32\\sys.exe -k)"), "C:\\windows\\System32\\sys.exe");
  EXPECT_EQ(path("NoExt (C:\\tools\\runme)"), "C:\\tools\\runme.exe");
  EXPECT_EQ(path("Share (\\\\server\\share\\x.exe)"), "\\\\server\\share\\x.exe");
  // A value text cut at a NUL has no closing parenthesis.
  EXPECT_EQ(path("Exp (%SystemRoot%\\x.exe"), "C:\\windows\\x.exe");
  // Whole warning lines, with the ") " the list appends to them.
  EXPECT_EQ(path("HKEY_LOCAL_MACHINE|Loaded in Run\\Tool (C:\\t.exe) New Entry!) "), "C:\\t.exe");
  EXPECT_EQ(path("HKEY_LOCAL_MACHINE 32-bit|Loaded in Run\\T (C:\\Program Files (x86)\\t.exe -q) "
                 "Entry Modified!) "),
            "C:\\Program Files (x86)\\t.exe");
  EXPECT_EQ(path("HKEY_CURRENT_USER|Loaded in Run\\Exp (%SystemRoot%\\x.exe New Entry!) "),
            "C:\\windows\\x.exe");

  // Services and other added places: the kernel's names for the Windows
  // directory, a service's arguments, variables from the environment.
  EXPECT_EQ(path("Svc\\ImagePath (\\SystemRoot\\System32\\drivers\\kv.sys)"),
            "C:\\windows\\System32\\drivers\\kv.sys");
  EXPECT_EQ(path("Svc\\ImagePath (system32\\drivers\\kv.sys)"), "C:\\windows\\system32\\drivers\\kv.sys");
  EXPECT_EQ(path("Svc\\ImagePath (\\??\\C:\\kv\\kv.sys)"), "C:\\kv\\kv.sys");
  EXPECT_EQ(path("Svc\\ImagePath (%windir%\\system32\\svchost.exe -k netsvcs)"),
            "C:\\windows\\system32\\svchost.exe");
  const auto env = [](const std::string& name) -> std::optional<std::string> {
    if (EqualsNoCase(name, "ProgramFiles")) return "C:\\Program Files";
    return std::nullopt;
  };
  EXPECT_EQ(EntryFilePath("S (\"%ProgramFiles%\\Kv Tool\\kv.exe\" /run)", win, sys, exists, env),
            "C:\\Program Files\\Kv Tool\\kv.exe");
  EXPECT_EQ(EntryFilePath("S (C:\\%Unknown%\\kv.exe)", win, sys, exists, env), "C:\\%Unknown%\\kv.exe");

  // What a shortcut starts, as its entry holds it.
  EXPECT_EQ(CommandText("C:\\Kv Dir\\my.tool.exe", "/min \"a b\""), "\"C:\\Kv Dir\\my.tool.exe\" /min \"a b\"");
  EXPECT_EQ(CommandText("C:\\kv\\t.exe", ""), "C:\\kv\\t.exe");
  EXPECT_EQ(path(ValueText(CommandText("C:\\My.Dir\\a b.exe", "/x"))), "C:\\My.Dir\\a b.exe");

  // A bare name is looked for as it is, in the system directory first.
  EXPECT_EQ(path("X (tool)"), std::nullopt);
  files.insert(sys + "tool.exe");
  EXPECT_EQ(path("X (tool)"), std::nullopt);  // no extension is added to a candidate
  files.insert(win + "tool");
  EXPECT_EQ(path("X (tool)"), win + "tool");
  files.insert(sys + "tool");
  EXPECT_EQ(path("X (tool)"), sys + "tool");
  files.insert("C:\\windows\\system\\old.exe");
  EXPECT_EQ(path("Old (old.exe /x)"), "C:\\windows\\system\\old.exe");
}

namespace {

// A registry in memory and an empty snapshot: every entry a pass compares
// is new.
struct FakeRegistry {
  std::map<std::string, std::vector<RegValueRead>> values;  // by section
  std::set<std::string> compared;                           // section + "|" + key
  int compares = 0;

  RegistryPass Pass() {
    RegistryPassSource s;
    s.readValues = [this](const PassPlace& p) { return values[p.section]; };
    s.compare = [this](const SnapshotEntry& e, const PassPlace& p) {
      ++compares;
      compared.insert(p.section + "|" + LCase(e.key));
      return CompareStoredValue("", e.value);
    };
    return BuildRegistryPass(s);
  }
};

// The node with this key; a node without a key when there is none.
const RegTreeNode& NodeWithKey(const RegistryPass& pass, const std::string& key) {
  static const RegTreeNode none;
  for (const RegTreeNode& n : pass.tree)
    if (n.key == key) return n;
  return none;
}

}  // namespace

TEST(RegwatchPass, NodesLinesAndRealNames) {
  FakeRegistry reg;
  reg.values["LM/R"] = {{"Tool", "C:\\t.exe"},
                        {"Tool (x86)", "C:\\t86.exe"},
                        {"a=b", "C:\\ab.exe"},
                        {"Same", "C:\\same.exe"}};
  reg.values["CU/R"] = {{"Other", "C:\\same.exe"}};
  reg.values["CR/SE"] = {{"", "\"%1\" %*"}};
  reg.values["CR/SC"] = {{"", "C:\\evil.exe \"%1\""}};

  RegistryPass pass = reg.Pass();
  ASSERT_EQ(pass.list.size(), 7u);
  EXPECT_EQ(pass.list[0], "New and Modified Registry Entry Warnings");
  EXPECT_EQ(pass.list[1], "HKEY_LOCAL_MACHINE|Loaded in Run\\Tool (C:\\t.exe) New Entry!");
  EXPECT_EQ(pass.list[3], "HKEY_LOCAL_MACHINE|Loaded in Run\\a-b (C:\\ab.exe) New Entry!");
  EXPECT_EQ(pass.list[5], "HKEY_CURRENT_USER|Loaded in Run\\Other (C:\\same.exe) New Entry!");
  EXPECT_EQ(pass.list[6],
            "HKEY_CLASSES_ROOT|Loaded in command\\ (C:\\evil.exe \"%1\") "
            "(C:\\evil.exe \"%1\") New Entry!");
  ASSERT_EQ(pass.warnings.size(), 6u);
  EXPECT_EQ(pass.warnings[1].valueName, "Tool (x86)");
  EXPECT_EQ(pass.warnings[2].valueName, "a=b");
  EXPECT_EQ(pass.warnings[5].valueName, "");
  EXPECT_TRUE(pass.findings);
  EXPECT_EQ(reg.compares, 6);  // the standard open command is not compared

  // Roots, then each place's category as it is processed.
  EXPECT_EQ(pass.tree[0].key, "LOCAL");
  EXPECT_EQ(pass.tree[1].key, "LOCAL32");
  EXPECT_EQ(pass.tree[2].key, "USER");
  EXPECT_EQ(pass.tree[3].key, "ROOT");
  EXPECT_EQ(pass.tree[4].key, "!LLIR");
  EXPECT_EQ(NodeWithKey(pass, "#1 (C:\\t.exe)").text, "Tool (C:\\t.exe)");
  EXPECT_EQ(NodeWithKey(pass, "#1 (C:\\t.exe)").parentKey, "!LLIR");
  EXPECT_EQ(NodeWithKey(pass, "#1 (C:\\same.exe)").parentKey, "!LLIR");  // one node for both roots
  EXPECT_EQ(NodeWithKey(pass, "#1 (C:\\t86.exe)").valueName, "Tool (x86)");
  EXPECT_EQ(NodeWithKey(pass, "#1 (\"%1\" %*)").key, "");
  EXPECT_EQ(NodeWithKey(pass, "#2 (C:\\evil.exe \"%1\")").text, " (C:\\evil.exe \"%1\")");
  std::set<std::string> keys;
  for (const RegTreeNode& n : pass.tree) EXPECT_TRUE(keys.insert(n.key).second) << n.key;
}

TEST(RegwatchPass, ThirtyTwoBitViewListedApartAndSharedValuesOnce) {
  FakeRegistry reg;
  reg.values["LM/R"] = {{"Both", "C:\\both.exe"}};
  reg.values["LM32/R"] = {{"Both", "C:\\both.exe"}, {"Only32", "C:\\o32.exe"}};
  reg.values["LM32/SE"] = {{"", "\"%1\" %*"}};
  const RegistryPass pass = reg.Pass();
  ASSERT_EQ(pass.list.size(), 3u);
  EXPECT_EQ(pass.list[1], "HKEY_LOCAL_MACHINE|Loaded in Run\\Both (C:\\both.exe) New Entry!");
  EXPECT_EQ(pass.list[2],
            "HKEY_LOCAL_MACHINE 32-bit|Loaded in Run\\Only32 (C:\\o32.exe) New Entry!");
  EXPECT_EQ(NodeWithKey(pass, "#1 (C:\\o32.exe)").parentKey, "!WLIR");
  EXPECT_EQ(reg.compared.count("LM32/R|only32"), 1u);
  EXPECT_EQ(reg.compared.count("LM32/R|both"), 0u);
}
