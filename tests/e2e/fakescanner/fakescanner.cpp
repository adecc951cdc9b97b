// Stands in for an anti-virus scanner in the end-to-end tests: appends its
// whole command line and CR LF to a record file and exits, with the code a
// "--exit=N" argument asks for (0 without one, as for clean files). The record is
// KV_SCANNER_RECORD when that is set, else scanner-record.txt beside the
// program. Beside the record, scanner-args.txt gets each argument as the
// scanner itself sees it (UTF-8), one a line after "1 " when it opens as a
// file and "0 " when not, and "--" after each start.
#include <windows.h>
#include <shellapi.h>

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

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool Opens(std::wstring path) {
  if (path.size() >= MAX_PATH && path.rfind(L"\\\\", 0) != 0) path = L"\\\\?\\" + path;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::string ArgumentLines() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string out;
  for (int i = 1; argv && i < argc; ++i)
    out += (Opens(argv[i]) ? "1 " : "0 ") + Utf8(argv[i]) + "\r\n";
  if (argv) LocalFree(argv);
  return out + "--\r\n";
}

bool Append(const std::string& path, const std::string& line) {
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
    return ok && written == line.size();
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string line = std::string(GetCommandLineA()) + "\r\n";
  const std::string path = RecordPath();
  const auto slash = path.find_last_of('\\');
  const std::string args = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                           "scanner-args.txt";
  // The arguments first: a test that has seen the record line finds them.
  if (!Append(args, ArgumentLines())) return 1;
  return Append(path, line) ? AskedExitCode(line) : 1;
}
