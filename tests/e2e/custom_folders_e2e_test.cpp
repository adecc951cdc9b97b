// Custom folders at logon: a folder that has no baseline yet gets one
// without a question, and with "Auto-Scan Failed Files" its files are
// scanned, logged and accepted, so the next logon check is clean.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/editions.h"
#include "context/app.h"
#include "core/baseline.h"
#include "e2e/program_run.h"
#include "integrity/checksum/file_checksum.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "support/scripted_host.h"

using namespace kv::test;

namespace {

size_t Lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST(CustomFoldersE2E, LogonRunBuildsAMissingFolderBaselineAndAcceptsItsFiles) {
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  const std::string scanner = folder.path("fakescanner.exe");
  ASSERT_TRUE(CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  // No system categories, so only the folders are checked; "Auto-Scan
  // Failed Files" and "Auto-Logging" on.
  ASSERT_TRUE(kv::IniWrite(settings, "settings", "0,0,0,0,0,0,1,1", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));

  // Slot 1 has its baseline and is unchanged; slot 2 has none yet.
  folder.MakeFolder("known");
  folder.MakeFolder("fresh");
  folder.Write("known\\a.dll", "known library");
  folder.Write("fresh\\b.exe", "new program");
  folder.Write("fresh\\c.dll", "new library");
  folder.Write("fresh\\readme.txt", "not watched");
  const std::string known = folder.path("known\\"), fresh = folder.path("fresh\\");
  ScriptedHost host;
  kv::App app(host, kv::ThisEdition(), folder.dir());
  folder.Write("Data\\1.dat", "//x\r\n[DLL]\r\na.dll=" + kv::FileChecksum(app, known + "a.dll") +
                                  "*E\r\nNULL*E\r\n[EXE]\r\nNULL*E\r\n");
  for (auto [slot, path] : {std::pair{"1", known}, std::pair{"2", fresh}}) {
    ASSERT_TRUE(kv::IniWrite(settings, "path", path, slot));
    ASSERT_TRUE(kv::IniWrite(settings, "args", "1,0,0,0,1,0,1", slot));
  }

  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(run.WaitForExit(120000)) << "a question or a finding kept the run open";
  }
  std::string record;
  WaitUntil([&] { return Lines(record = folder.Read("scanner-record.txt")) >= 1; }, 20000);
  EXPECT_EQ(record.find("a.dll"), std::string::npos) << "the unchanged folder passed";
  EXPECT_NE(record.find(fresh + "b.exe"), std::string::npos) << record;
  EXPECT_NE(record.find(fresh + "c.dll"), std::string::npos) << record;
  const kv::Baseline built = kv::Baseline::FromText(folder.Read("Data\\2.dat"));
  EXPECT_EQ(built.LookupEntry("b.exe", "EXE"), kv::FileChecksum(app, fresh + "b.exe"));
  EXPECT_EQ(built.LookupEntry("c.dll", "DLL"), kv::FileChecksum(app, fresh + "c.dll"));
  EXPECT_EQ(folder.Read("Data\\2.dat").find("readme"), std::string::npos);

  {
    ProgramRun clean(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(clean.WaitForExit(120000)) << "the accepted folder must pass the next check";
  }
  EXPECT_EQ(Lines(folder.Read("scanner-record.txt")), 1u) << "nothing was handed to the scanner again";
}
