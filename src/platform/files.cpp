#include "platform/files.h"

#include <thread>
#include <type_traits>

#include <windows.h>

#include <iterator>

#include "core/text.h"
#include "platform/wide_text.h"

namespace kv {

namespace {
std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '\\') s += '\\';
  return s;
}

bool WriteAll(HANDLE h, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30)), wrote = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}
}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool isFile = GetFileInformationByHandle(h, &info) &&
                      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  return isFile;
}

FileProbe ProbeFile(const std::string& path) {
  if (path.empty()) return FileProbe::Missing;
  const std::wstring wide = WidePath(path);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
      case ERROR_BAD_PATHNAME:
      case ERROR_INVALID_DRIVE:
        return FileProbe::Missing;
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        return FileProbe::InUse;
      default:
        break;
    }
    // A directory refuses to open as a file; it is no file of ours.
    const DWORD a = GetFileAttributesW(wide.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return FileProbe::Missing;
    return FileProbe::NoAccess;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool isFile = GetFileInformationByHandle(h, &info) &&
                      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  return isFile ? FileProbe::Readable : FileProbe::Missing;
}

bool DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD a = GetFileAttributesW(WidePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemDirectory() {
  wchar_t buf[144];
  UINT n = GetSystemDirectoryW(buf, UINT(std::size(buf)));
  if (n == 0 || n >= std::size(buf)) return {};
  return WithSlash(NarrowText(std::wstring_view(buf, n)));
}

std::string WindowsDirectory() {
  wchar_t buf[260];
  UINT n = GetWindowsDirectoryW(buf, UINT(std::size(buf)));
  // A result that did not fit leaves no terminating NUL in the buffer.
  if (n == 0 || n >= std::size(buf)) return {};
  return WithSlash(NarrowText(std::wstring_view(buf, n)));
}

std::string ExecutableDirectory() {
  std::wstring buf(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
  buf.resize(n < buf.size() ? n : 0);
  const std::string path = NarrowPath(buf);
  size_t slash = path.find_last_of("\\/");
  return WithSlash(slash == std::string::npos ? std::string() : path.substr(0, slash));
}

namespace {

// Calls add(name) for every name in the folder; false when it cannot be listed.
template <typename Add>
bool ForEachListed(const std::string& folder, Add&& add) {
  if (folder.empty()) return false;
  const std::wstring pattern = WidePath(WithSlash(folder) + "*");
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    const std::wstring_view n = fd.cFileName;
    // Each name as the system holds it: one the code page cannot spell is
    // listed escaped, never as the look-alike of another file.
    if (n != L"." && n != L"..") add(NarrowText(n));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return true;
}

template <typename List>
std::optional<List> ListWhole(const std::string& folder) {
  List names;
  if (!ForEachListed(folder, [&names](std::string name) {
        if constexpr (std::is_same_v<List, NameList>)
          names.Add(name);
        else
          names.push_back(std::move(name));
      }))
    return std::nullopt;
  return names;
}

// A folder of a hundred thousand files takes long to list, most of it
// inside the system's first call: it is listed on another thread while
// `meanwhile` keeps the caller's window answering.
template <typename List>
std::optional<List> ListMeanwhile(const std::string& folder, const std::function<void()>& meanwhile) {
  if (!meanwhile) return ListWhole<List>(folder);
  std::optional<List> names;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!done) return ListWhole<List>(folder);
  std::thread lister([&] {
    names = ListWhole<List>(folder);
    SetEvent(done);
  });
  while (WaitForSingleObject(done, 5) == WAIT_TIMEOUT) meanwhile();
  lister.join();
  CloseHandle(done);
  return names;
}

}  // namespace

std::optional<std::vector<std::string>> ListDirectory(const std::string& folder,
                                                      const std::function<void()>& meanwhile) {
  return ListMeanwhile<std::vector<std::string>>(folder, meanwhile);
}

std::optional<std::vector<std::string>> ListDirectory(const std::string& folder) {
  return ListWhole<std::vector<std::string>>(folder);
}

std::optional<NameList> ListNames(const std::string& folder, const std::function<void()>& meanwhile) {
  return ListMeanwhile<NameList>(folder, meanwhile);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  std::optional<std::string> out;
  if (GetFileSizeEx(h, &size) && size.QuadPart < (1LL << 31)) {
    std::string data(size_t(size.QuadPart), '\0');
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      if (!ReadFile(h, data.data() + done, DWORD(data.size() - done), &got, nullptr) || got == 0)
        break;
      done += got;
    }
    data.resize(done);
    out = std::move(data);
  }
  CloseHandle(h);
  return out;
}

PiecesRead ReadFileInPieces(const std::string& path, const std::function<void(std::string_view piece)>& take) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return PiecesRead::NotOpened;
  std::string piece(size_t(1) << 20, '\0');
  PiecesRead result = PiecesRead::Whole;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, piece.data(), DWORD(piece.size()), &got, nullptr)) {
      result = PiecesRead::CutShort;
      break;
    }
    if (got == 0) break;
    take(std::string_view(piece.data(), got));
  }
  CloseHandle(h);
  return result;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, bytes);
  CloseHandle(h);
  return ok;
}

PendingFile::PendingFile(const std::string& path) : target_(WidePath(path)), temp_(WidePath(path + ".new")) {
  // Windows refuses to move over a read-only file; Wine does not, so the
  // rule is kept here for both.
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
  HANDLE h =
      CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  handle_ = h;
  ok_ = true;
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Discard() {
  if (!handle_) return;
  CloseHandle(handle_);
  handle_ = nullptr;
  DeleteFileW(temp_.c_str());
}

bool PendingFile::Write(std::string_view bytes) {
  ok_ = ok_ && WriteAll(handle_, bytes);
  return ok_;
}

bool PendingFile::Place() {
  if (!ok_ || !FlushFileBuffers(handle_)) {
    Discard();
    return false;
  }
  ok_ = false;
  CloseHandle(handle_);
  handle_ = nullptr;
  if (MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(temp_.c_str());
  return false;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  PendingFile file(path);
  return file.Write(bytes) && file.Place();
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, bytes);
  CloseHandle(h);
  return ok;
}

bool AppendLines(const std::string& path, const std::string& lines) {
  bool given = false;
  return AppendLines(path, [&](std::string& piece) {
    if (given) return false;
    piece = lines;
    return given = true;
  });
}

bool AppendLines(const std::string& path, const std::function<bool(std::string& lines)>& next) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) {
    LARGE_INTEGER last{};
    last.QuadPart = size.QuadPart - 1;
    char c = '\n';
    DWORD got = 0;
    if (SetFilePointerEx(h, last, nullptr, FILE_BEGIN) && ReadFile(h, &c, 1, &got, nullptr) && got == 1 &&
        c != '\n')
      bytes = "\n";
  }
  bool ok = true;
  for (std::string piece; ok && next(piece); piece.clear()) {
    bytes += piece;
    ok = WriteAll(h, bytes);
    bytes.clear();
  }
  ok = ok && WriteAll(h, bytes) && FlushFileBuffers(h);
  CloseHandle(h);
  return ok;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), FALSE);
}

bool DeleteFileAt(const std::string& path) { return DeleteFileW(WidePath(path).c_str()); }

bool CreateFolder(const std::string& path) {
  return CreateDirectoryW(WidePath(path).c_str(), nullptr);
}

std::string ShortPathOf(const std::string& path) {
  if (path.empty()) return {};
  const std::wstring wide = WidePath(path);
  std::wstring buf(1024, L' ');
  DWORD n = GetShortPathNameW(wide.c_str(), buf.data(), DWORD(buf.size()));
  if (n >= buf.size()) {
    buf.assign(size_t(n) + 1, L' ');
    n = GetShortPathNameW(wide.c_str(), buf.data(), DWORD(buf.size()));
  }
  if (n == 0 || n >= buf.size()) return {};
  return Trim(NarrowPath(std::wstring_view(buf.data(), n)));
}

}  // namespace kv
