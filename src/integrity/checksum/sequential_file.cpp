#include "integrity/checksum/sequential_file.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace kv {

SequentialFile::SequentialFile(const std::string& path) {
  // The file that was listed, by its own wide name, however deep it lies.
  const std::wstring wide = WidePath(path);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                         nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    LARGE_INTEGER size;
    if (GetFileSizeEx(h, &size)) {
      handle_ = h;
      length_ = uint64_t(size.QuadPart);
      return;
    }
    CloseHandle(h);
  }
  // Gone between the listing and now, or there and kept from us: only
  // the first may ever count as a file that is missing.
  const auto notFound = [](DWORD e) { return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND; };
  if (path.empty() || notFound(GetLastError())) {
    opened_ = FileRead::Gone;
    return;
  }
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &info)) {
    opened_ = notFound(GetLastError()) ? FileRead::Gone : FileRead::Locked;
    return;
  }
  // A sub-directory named like a watched file refuses to open as one; it
  // has always been checked as holding nothing, and that stays so.
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
  opened_ = FileRead::Locked;
  // Listed with no bytes, it keeps the empty file's text, though unread.
  if (info.nFileSizeHigh == 0 && info.nFileSizeLow == 0) length_ = 0;
}

SequentialFile::~SequentialFile() {
  if (handle_) CloseHandle(HANDLE(handle_));
}

bool SequentialFile::Read(uint8_t* buffer, size_t n) {
  if (!handle_) return false;
  // A disk file gives the whole request in one call; the loop only matters
  // for the rare short read, and ends at the end of the file.
  while (n > 0) {
    const DWORD want = DWORD(n > 0x40000000u ? 0x40000000u : n);
    DWORD got = 0;
    if (!ReadFile(HANDLE(handle_), buffer, want, &got, nullptr) || got == 0) {
      readFailed_ = true;
      return false;
    }
    buffer += got;
    n -= got;
  }
  return true;
}

}  // namespace kv
