// Stands in for an anti-virus scanner in the end-to-end tests: appends its
// whole command line and CR LF to a record file and exits, with the code a
// "--exit=N" argument asks for (0 without one, as for clean files). The record is
// KV_SCANNER_RECORD when that is set, else scanner-record.txt beside the
// program.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string RecordPath() {
  char value[MAX_PATH] = "";
  const DWORD n = GetEnvironmentVariableA("KV_SCANNER_RECORD", value, sizeof value);
  if (n > 0 && n < sizeof value) return value;
  char exe[MAX_PATH] = "";
  const DWORD len = GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path(exe, len);
  const auto slash = path.find_last_of('\\');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
         "scanner-record.txt";
}

// N of the first "--exit=N" on the command line; 0 when there is none.
int AskedExitCode(const std::string& commandLine) {
  const auto at = commandLine.find("--exit=");
  return at == std::string::npos ? 0 : std::atoi(commandLine.c_str() + at + 7);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string line = std::string(GetCommandLineA()) + "\r\n";
  const std::string path = RecordPath();
  // Scanners are started back to back and may run at once; the file is
  // opened without sharing so that each line goes in whole.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      Sleep(10);
      continue;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(h, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == line.size() ? AskedExitCode(line) : 1;
  }
  return 2;
}
