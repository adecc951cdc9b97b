// The packages as a user gets them: the version resources of the programs,
// the portable zips unpacked and started, and the per-user installer run
// silently, upgraded over an older release and uninstalled.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/editions.h"
#include "e2e/program_run.h"
#include "platform/files.h"
#include "support/app_fixture.h"

using namespace kv;
using namespace kv::test;

namespace {

const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvanel";

std::string ShellFolder(int csidl) {
  char buf[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, buf);
  return std::string(buf) + "\\";
}

std::string VersionString(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT size = 0;
  const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size))
    return {};
  return std::string(value, size ? size - 1 : 0);
}

// The program's version resource against the edition's own numbers.
void ExpectVersionOf(const std::string& exe, const Edition& edition) {
  SCOPED_TRACE(exe);
  std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, DWORD(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  for (auto [ms, ls] : {std::pair{fixed->dwFileVersionMS, fixed->dwFileVersionLS},
                        std::pair{fixed->dwProductVersionMS, fixed->dwProductVersionLS}}) {
    EXPECT_EQ(int(HIWORD(ms)), edition.major);
    EXPECT_EQ(int(LOWORD(ms)), edition.minor);
    EXPECT_EQ(int(HIWORD(ls)), edition.revision);
  }
  EXPECT_EQ(VersionString(info, "ProductVersion"), edition.VersionText());
  EXPECT_EQ(VersionString(info, "FileVersion"), edition.fileVersion);
  EXPECT_EQ(VersionString(info, "OriginalFilename"), edition.ownFileName);
  EXPECT_EQ(VersionString(info, "CompanyName"), "Brackwater");
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Entries(const std::string& folder) {
  auto names = ListDirectory(folder).value_or(std::vector<std::string>{});
  std::sort(names.begin(), names.end());
  return names;
}

// Runs the command line and waits for every process it starts: the
// uninstaller hands over to a copy of itself and ends at once.
DWORD RunToEnd(const std::string& commandLine) {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  std::string cmd = commandLine;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    ADD_FAILURE() << "could not start " << commandLine;
    CloseHandle(job);
    return DWORD(-1);
  }
  AssignProcessToJobObject(job, pi.hProcess);
  ResumeThread(pi.hThread);
  WaitForSingleObject(pi.hProcess, 60000);
  const bool ended = WaitUntil(
      [&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION account{};
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &account,
                                  sizeof account, nullptr);
        return account.ActiveProcesses == 0;
      },
      60000);
  EXPECT_TRUE(ended) << commandLine;
  DWORD code = DWORD(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(job);
  return code;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string UninstallValue(const char* name) {
  char buf[1024] = "";
  DWORD size = sizeof buf;
  if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
      ERROR_SUCCESS)
    return {};
  return buf;
}

bool UninstallEntryExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

std::string CurrentSetup() {
  return std::string(KV_PACKAGE_DIR) + "\\Korvanel-" + FullEdition().VersionText() + "-setup.exe";
}

}  // namespace

TEST(Versions, EachProgramCarriesItsEditionsVersion) {
  ExpectVersionOf(std::string(KV_BIN_DIR) + "\\Korvanel.exe", FullEdition());
  ExpectVersionOf(std::string(KV_BIN_DIR) + "\\KorvanelLow.exe", LowEdition());
}

TEST(PortableZip, EachEditionUnpacksToAFolderThatRunsAndKeepsItsDataThere) {
  for (const Edition* edition : {&FullEdition(), &LowEdition()}) {
    const std::string program = std::string(edition->ownFileName, strlen(edition->ownFileName) - 4);
    SCOPED_TRACE(program);
    // Unpacked by ctest's portable fixture, one folder per zip.
    const std::string dir = std::string(KV_UNPACKED_DIR) + "\\" + program + "-" +
                            edition->VersionText() + "-portable\\" + program + "\\";
    ASSERT_TRUE(Exists(dir + edition->ownFileName));
    EXPECT_TRUE(Exists(dir + "Help\\index.html"));
    EXPECT_NE(ReadWholeFile(dir + "README.txt").value_or("").find("Data"), std::string::npos);
    std::filesystem::remove_all(dir + "Data");
    {
      ProgramRun run(dir + edition->ownFileName, "");
      EXPECT_TRUE(run.Answer(kFirstRunQuestion, IDNO));
    }
    EXPECT_TRUE(Exists(dir + "Data\\Korvanel.dat"));
  }
}

// Wine links the desktop to the home folder of the account running the
// tests; the installer and the uninstaller get a desktop of their own in the
// prefix instead.
class PrivateDesktop {
 public:
  PrivateDesktop() {
    RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_READ | KEY_WRITE, &key_);
    DWORD size = sizeof saved_;
    hadOne_ = RegQueryValueExA(key_, "Desktop", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
    CreateDirectoryA(mine_.c_str(), nullptr);
    RegSetValueExA(key_, "Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(mine_.c_str()),
                   DWORD(mine_.size() + 1));
  }
  ~PrivateDesktop() {
    if (hadOne_)
      RegSetValueExA(key_, "Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(saved_),
                     DWORD(strlen(saved_) + 1));
    else
      RegDeleteValueA(key_, "Desktop");
    RegCloseKey(key_);
    RemoveDirectoryA(mine_.c_str());
  }

 private:
  static constexpr const char* kShellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  const std::string mine_ = ShellFolder(CSIDL_LOCAL_APPDATA) + "Korvanel test desktop";
  HKEY key_ = nullptr;
  char saved_[MAX_PATH * 2] = "";
  bool hadOne_ = false;
};

class Installer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { desktopSwap = new PrivateDesktop; }
  static void TearDownTestSuite() { delete desktopSwap; }
  void SetUp() override {
    ASSERT_NE(desktop.find("Korvanel test desktop"), std::string::npos) << desktop;
    RemoveEverything();
  }
  void TearDown() override { RemoveEverything(); }

  // Leaves the user's account as before any installation, whatever a failed
  // test left behind.
  void RemoveEverything() {
    const std::string registered = UninstallValue("InstallLocation");
    if (!registered.empty() && Exists(registered + "\\Uninstall.exe"))
      RunToEnd(Quoted(registered + "\\Uninstall.exe") + " /S /REMOVEDATA");
    RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    std::error_code ec;
    for (const std::string& dir : {defaultDir, otherDir})
      std::filesystem::remove_all(std::filesystem::path(dir), ec);
    for (const std::string& link : shortcuts) DeleteFileA(link.c_str());
  }

  static inline PrivateDesktop* desktopSwap = nullptr;
  const std::string localData = ShellFolder(CSIDL_LOCAL_APPDATA);
  const std::string defaultDir = localData + "Programs\\Korvanel\\";
  const std::string otherDir = localData + "Korvanel Elsewhere\\";
  const std::string startMenu = ShellFolder(CSIDL_PROGRAMS);
  const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  const std::string startup = ShellFolder(CSIDL_STARTUP);
  const std::string lowLink = startMenu + "Korvanel Low-Resource Edition.lnk";
  // Those of the installer and those the program makes itself.
  const std::vector<std::string> shortcuts = {
      startMenu + "Korvanel.lnk", lowLink, desktop + "Korvanel.lnk",
      startup + "Korvanel.lnk", desktop + "SecureShutDown.lnk"};
};

TEST_F(Installer, InstallsSilentlyRunsFromItsFolderAndUninstallsKeepingOnlyData) {
  ASSERT_TRUE(Exists(CurrentSetup())) << CurrentSetup();
  ASSERT_EQ(RunToEnd(Quoted(CurrentSetup()) + " /S"), 0u);

  EXPECT_TRUE(Exists(defaultDir + "Help\\index.html"));
  EXPECT_FALSE(Exists(defaultDir + "KorvanelLow.exe"));
  ExpectVersionOf(defaultDir + "Korvanel.exe", FullEdition());
  EXPECT_TRUE(Exists(startMenu + "Korvanel.lnk"));
  EXPECT_TRUE(Exists(desktop + "Korvanel.lnk"));
  EXPECT_EQ(UninstallValue("DisplayName"), "Korvanel");
  EXPECT_EQ(UninstallValue("DisplayVersion"), FullEdition().VersionText());
  EXPECT_EQ(UninstallValue("Publisher"), "Brackwater");
  EXPECT_EQ(UninstallValue("InstallLocation") + "\\", defaultDir);
  EXPECT_EQ(UninstallValue("UninstallString"), Quoted(defaultDir + "Uninstall.exe"));

  {
    ProgramRun run(defaultDir + "Korvanel.exe", "");
    EXPECT_TRUE(run.Answer(kFirstRunQuestion, IDNO));
  }
  EXPECT_TRUE(Exists(defaultDir + "Data\\Korvanel.dat"));

  // The program's own shortcuts, as its settings would have made them.
  for (const std::string& link :
       {startup + "Korvanel.lnk", desktop + "SecureShutDown.lnk", defaultDir + "SecureShutDown.lnk"})
    WriteWholeFile(link, "shortcut");
  RunToEnd(Quoted(defaultDir + "Uninstall.exe") + " /S");

  EXPECT_EQ(Entries(defaultDir), std::vector<std::string>{"Data"});
  EXPECT_TRUE(Exists(defaultDir + "Data\\Korvanel.dat"));
  for (const std::string& link : shortcuts) EXPECT_FALSE(Exists(link)) << link;
  EXPECT_FALSE(UninstallEntryExists());
}

TEST_F(Installer, UpgradeKeepsFolderPartsAndDataAndUninstallCanRemoveAll) {
  ASSERT_EQ(RunToEnd(Quoted(KV_OLD_SETUP) + " /S /LOWRESOURCE /D=" +
                     otherDir.substr(0, otherDir.size() - 1)),
            0u);
  ASSERT_EQ(UninstallValue("DisplayVersion"), KV_OLD_VERSION);
  ASSERT_TRUE(Exists(lowLink));
  // The older release's programs and the data they made.
  WriteWholeFile(otherDir + "Korvanel.exe", "older program");
  WriteWholeFile(otherDir + "KorvanelLow.exe", "older program");
  CreateDirectoryA((otherDir + "Data").c_str(), nullptr);
  CreateDirectoryA((otherDir + "Data\\Log").c_str(), nullptr);
  WriteWholeFile(otherDir + "Data\\Korvanel.dat", "settings");
  WriteWholeFile(otherDir + "Data\\Log\\01-05-2007(8_17_49AM).log", "log");

  ASSERT_EQ(RunToEnd(Quoted(CurrentSetup()) + " /S"), 0u);

  EXPECT_EQ(UninstallValue("DisplayVersion"), FullEdition().VersionText());
  EXPECT_EQ(UninstallValue("InstallLocation") + "\\", otherDir);
  EXPECT_FALSE(Exists(defaultDir));
  ExpectVersionOf(otherDir + "Korvanel.exe", FullEdition());
  ExpectVersionOf(otherDir + "KorvanelLow.exe", LowEdition());
  EXPECT_EQ(ReadWholeFile(otherDir + "Data\\Korvanel.dat"), "settings");
  EXPECT_EQ(ReadWholeFile(otherDir + "Data\\Log\\01-05-2007(8_17_49AM).log"), "log");

  RunToEnd(Quoted(otherDir + "Uninstall.exe") + " /S /REMOVEDATA");
  EXPECT_FALSE(Exists(otherDir));
  EXPECT_FALSE(Exists(lowLink));
  EXPECT_FALSE(UninstallEntryExists());
}

// The per-machine package as a management tool deploys it: silently into
// Program Files, the event source registered, the data in ProgramData, where
// the installed program keeps it; removed silently, leaving the data.
class MachinePackage : public ::testing::Test {
 protected:
  void SetUp() override { RemoveEverything(); }
  void TearDown() override { RemoveEverything(); }
  void RemoveEverything() {
    if (Exists(programDir)) RunToEnd("msiexec /x " + Quoted(Msi()) + " /qn");
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(programDir), ec);
    std::filesystem::remove_all(std::filesystem::path(dataDir), ec);
  }
  static std::string Msi() {
    return std::string(KV_PACKAGE_DIR) + "\\Korvanel-" + FullEdition().VersionText() + ".msi";
  }
  static std::string EventMessageFile() {
    char buf[1024] = "";
    DWORD size = sizeof buf;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kEventSourceKey, "EventMessageFile", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                     RRF_NOEXPAND, nullptr, buf, &size) != ERROR_SUCCESS)
      return {};
    return buf;
  }
  static constexpr const char* kEventSourceKey =
      "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Korvanel";
  const std::string programDir = ShellFolder(CSIDL_PROGRAM_FILES) + "Korvanel\\";
  const std::string dataDir = ShellFolder(CSIDL_COMMON_APPDATA) + "Korvanel\\";
  // Windows puts a per-machine package's shortcut in the common Start menu;
  // Wine's installer puts it in the installing user's.
  const std::vector<std::string> startMenus = {ShellFolder(CSIDL_COMMON_PROGRAMS) + "Korvanel.lnk",
                                               ShellFolder(CSIDL_PROGRAMS) + "Korvanel.lnk"};
  bool InStartMenu() const { return Exists(startMenus[0]) || Exists(startMenus[1]); }
};

TEST_F(MachinePackage, InstallsSilentlyRunsWithItsDataInProgramDataAndUninstallsSilently) {
#ifndef KV_HAVE_MSI
  GTEST_SKIP() << "built without wixl";
#endif
  ASSERT_TRUE(Exists(Msi())) << Msi();
  ASSERT_EQ(RunToEnd("msiexec /i " + Quoted(Msi()) + " /qn"), 0u);

  const std::string exe = programDir + "Korvanel.exe";
  ExpectVersionOf(exe, FullEdition());
  EXPECT_TRUE(Exists(programDir + "Help\\index.html"));
  EXPECT_TRUE(InStartMenu());
  EXPECT_EQ(EventMessageFile(), exe);
  // What the event viewer does with the registered file: each event id's
  // message shows the event's text as it is.
  HMODULE messages = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(messages, nullptr);
  for (DWORD id : {1000, 2001, 2002, 2003, 3001, 3002, 3003}) {
    DWORD_PTR text[] = {reinterpret_cast<DWORD_PTR>("Check clean.")};
    char buf[256] = "";
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, messages, id, 0,
                                   buf, sizeof buf, reinterpret_cast<va_list*>(text));
    EXPECT_EQ(std::string(buf, n).substr(0, 12), "Check clean.") << id;
  }
  FreeLibrary(messages);

  {
    ProgramRun first(exe, "");
    ASSERT_TRUE(first.Answer(kFirstRunQuestion, IDYES));
    HWND main = FindProcessWindow(first.processId(), "Welcome to Korvanel", 120000);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit());
  }
  {
    ProgramRun logon(exe, "/r");
    ASSERT_TRUE(logon.WaitForExit(120000));
    EXPECT_EQ(logon.ExitCode(), 0u) << "a clean logon check";
  }
  EXPECT_TRUE(Exists(dataDir + "Data\\Integrity.dat"));
  EXPECT_FALSE(Exists(programDir + "Data"));
  const std::string jsonl = ReadWholeFile(dataDir + "Data\\Log\\findings.jsonl").value_or("");
  EXPECT_NE(jsonl.find("\"run\":\"logon\""), std::string::npos) << jsonl;

  ASSERT_EQ(RunToEnd("msiexec /x " + Quoted(Msi()) + " /qn"), 0u);
  EXPECT_FALSE(Exists(programDir));
  EXPECT_FALSE(InStartMenu());
  EXPECT_EQ(EventMessageFile(), "");
  EXPECT_TRUE(Exists(dataDir + "Data\\Integrity.dat")) << "the data is not the package's";
}
