// Names the code page cannot spell, planted where the real program looks:
// each is checked, handed to the scanner and accepted as the file it is,
// never as the look-alike the 8-bit calls would make of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/program_run.h"
#include "platform/ini.h"
#include "support/app_fixture.h"

using namespace kv::test;

namespace {

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Long(const std::wstring& path) {
  return path.size() >= MAX_PATH ? L"\\\\?\\" + path : path;
}

void PutWide(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << Utf8(path);
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

// The scanner's arguments, each "1 path" when it opened as a file.
std::string WaitForArguments(const ProgramFolder& folder, size_t starts) {
  std::string args;
  WaitUntil(
      [&] {
        args = folder.Read("scanner-args.txt");
        size_t n = 0;
        for (size_t at = args.find("--\r\n"); at != std::string::npos; at = args.find("--\r\n", at + 1)) ++n;
        return n >= starts;
      },
      20000);
  return args;
}

void UseFakeScanner(const ProgramFolder& folder, const std::string& settingsValue) {
  const std::string scanner = folder.path("fakescanner.exe");
  ASSERT_TRUE(CopyFileA((std::string(KV_BIN_DIR) + "\\fakescanner.exe").c_str(), scanner.c_str(), FALSE));
  const std::string settings = folder.path("Data\\Korvanel.dat");
  ASSERT_TRUE(kv::IniWrite(settings, "settings", settingsValue, "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "settings2", "1,0,0,0,0,0", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus", scanner + "|/scan", "Korvanel"));
  ASSERT_TRUE(kv::IniWrite(settings, "antivirus2", "1,0,0", "Korvanel"));  // files in quotes
}

const std::string kLongName = "kvwide" + std::string(240, 'L') + ".dll";

struct PlantedSystemFiles {
  const std::wstring dir = Wide(SystemFolder());
  const std::wstring lookAlike = dir + L"\uFF4Bernel32.dll";
  const std::wstring climbing = dir + L"zz\uFF3C..\uFF3C..\uFF3C..\uFF3Ckvpub\uFF3Cxcopy.exe";
  const std::wstring quoted = dir + L"\uFF58\uFF02 \uFF0FINJECTED \uFF02.dll";
  const std::wstring deep = dir + Wide(kLongName);
  const std::wstring twin = dir + L"kvwide_twin.dll";
  const std::string outside = "C:\\kvpub\\xcopy.exe";
  std::vector<std::wstring> All() const { return {lookAlike, climbing, quoted, deep, twin}; }
  PlantedSystemFiles() {
    CreateDirectoryA("C:\\kvpub", nullptr);
    PutWide(Wide(outside), "not the system's xcopy");
  }
  void Plant() const {
    for (const auto& p : {lookAlike, climbing, quoted}) PutWide(p, "planted");
    PutWide(deep, "the same bytes");
    PutWide(twin, "the same bytes");
  }
  ~PlantedSystemFiles() {
    for (const auto& p : All()) DeleteFileW(Long(p).c_str());
    DeleteFileA(outside.c_str());
    RemoveDirectoryA("C:\\kvpub");
  }
};

}  // namespace

TEST(LookAlikeNamesE2E, SystemFilesAreCheckedScannedAndAcceptedUnderTheirOwnNames) {
  PlantedSystemFiles files;
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  // All six categories, "Auto-Scan Failed Files" and "Auto-Logging".
  UseFakeScanner(folder, "1,1,1,1,1,1,1,1");
  const std::string before = folder.Read("Data\\Integrity.dat");
  ASSERT_NE(EntryOf(before, "kernel32.dll"), "");
  ASSERT_NE(EntryOf(before, "xcopy.exe"), "");
  files.Plant();
  {
    ProgramRun run(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(run.WaitForExit(120000)) << "the run must end once its findings are handled";
  }

  // Every planted file reached the scanner as one argument that opens it.
  const std::string args = WaitForArguments(folder, 1);
  for (const auto& p : files.All())
    EXPECT_NE(args.find("1 " + Utf8(p) + "\r\n"), std::string::npos) << Utf8(p) << "\n" << args;
  // Nothing but the switch failed to open: no name split into arguments.
  EXPECT_EQ(args.rfind("0 /scan\r\n", 0), 0u) << args;
  EXPECT_EQ(args.find("\n0 "), std::string::npos) << args;

  const auto logs = folder.Logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_NE(logs[0].find(SystemFolder() + "<U+FF4B>ernel32.dll,"), std::string::npos) << logs[0];
  const std::string climbing = "zz<U+FF3C>..<U+FF3C>..<U+FF3C>..<U+FF3C>kvpub<U+FF3C>xcopy.exe";
  EXPECT_NE(logs[0].find(SystemFolder() + climbing), std::string::npos) << logs[0];

  // Accepted under their own names; the files they look like keep theirs.
  const std::string after = folder.Read("Data\\Integrity.dat");
  EXPECT_EQ(EntryOf(after, "kernel32.dll"), EntryOf(before, "kernel32.dll"));
  EXPECT_EQ(EntryOf(after, "xcopy.exe"), EntryOf(before, "xcopy.exe"));
  EXPECT_NE(EntryOf(after, "<U+FF4B>ernel32.dll"), "");
  EXPECT_NE(EntryOf(after, climbing), "");
  EXPECT_NE(EntryOf(after, "<U+FF58><U+FF02> <U+FF0F>INJECTED <U+FF02>.dll"), "");
  // The file past 260 characters was read: its checksum is its twin's.
  EXPECT_NE(EntryOf(after, "kvwide_twin.dll"), "");
  EXPECT_EQ(EntryOf(after, kLongName), EntryOf(after, "kvwide_twin.dll"));
}

namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

struct PlantedElsewhere {
  const std::wstring decoyProgram = L"C:\\kvpend\\notepad.exe";
  const std::wstring program = L"C:\\kvpend\\\uFF4Eotepad.exe";
  const std::wstring decoyPending = L"C:\\kvpend\\kernel32.dll";
  const std::wstring pending = L"C:\\kvpend\\\uFF4Bernel32.dll";
  PlantedElsewhere() {
    CreateDirectoryA("C:\\kvpend", nullptr);
    for (const auto& p : {decoyProgram, program, decoyPending, pending}) PutWide(p, "x");
    SetRun(decoyProgram);
  }
  static void SetRun(const std::wstring& data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExW(key, L"KvWideE2E", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  void QueueRename() const {
    const std::wstring value = L"\\??\\" + pending + L'\0' + L'\0' + L'\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
      return;
    RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(value.data()), DWORD(value.size() * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~PlantedElsewhere() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "KvWideE2E");
      RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "PendingFileRenameOperations");
      RegCloseKey(key);
    }
    for (const auto& p : {decoyProgram, program, decoyPending, pending}) DeleteFileW(p.c_str());
    RemoveDirectoryA("C:\\kvpend");
  }
};

}  // namespace

TEST(LookAlikeNamesE2E, RunValuesAndPendingRenamesAreReportedAndScannedUnderTheirOwnNames) {
  PlantedElsewhere planted;
  ProgramFolder folder;
  ASSERT_TRUE(BuildBaselineInteractively(folder));
  // The snapshot taken afresh by a run that nobody closes while it is made.
  ASSERT_TRUE(DeleteFileA(folder.path("Data\\Registry.dat").c_str()));
  {
    ProgramRun snapshot(folder, "Korvanel.exe", "/r");
    ASSERT_TRUE(snapshot.WaitForExit(120000));
  }
  ASSERT_NE(folder.Read("Data\\Registry.dat").find("KvWideE2E= (C:\\kvpend\\notepad.exe)"),
            std::string::npos);
  UseFakeScanner(folder, "0,0,0,0,0,0,0,1");  // Auto-Logging
  // The value now names the look-alike of the program it named before.
  PlantedElsewhere::SetRun(planted.program);
  planted.QueueRename();
  {
    ProgramRun run(folder, "Korvanel.exe", "/a");
    ASSERT_TRUE(run.WaitForExit(180000)) << "a scheduled scan must end by itself";
  }
  const std::string args = WaitForArguments(folder, 2);
  EXPECT_NE(args.find("1 " + Utf8(planted.program) + "\r\n"), std::string::npos) << args;
  EXPECT_NE(args.find("1 " + Utf8(planted.pending) + "\r\n"), std::string::npos) << args;
  EXPECT_EQ(args.find(Utf8(planted.decoyProgram)), std::string::npos) << args;
  EXPECT_EQ(args.find(Utf8(planted.decoyPending)), std::string::npos) << args;

  std::string logs;
  for (const std::string& log : folder.Logs()) logs += log;
  EXPECT_NE(logs.find("Registry Action - Scan and Update Multiple Entries,C:\\kvpend\\<U+FF4E>otepad.exe\r\n"),
            std::string::npos) << logs;
  EXPECT_NE(logs.find("(being renamed or deleted from the Registry),C:\\kvpend\\<U+FF4B>ernel32.dll\r\n"),
            std::string::npos) << logs;
  EXPECT_NE(folder.Read("Data\\Registry.dat").find("KvWideE2E= (C:\\kvpend\\<U+FF4E>otepad.exe)"),
            std::string::npos);
}
