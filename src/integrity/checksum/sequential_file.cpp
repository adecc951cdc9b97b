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
  // Only on the failure path: a locked or inaccessible file may still be
  // listed, and an empty one has nothing to read anyway.
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!path.empty() && GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &info) &&
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && info.nFileSizeHigh == 0 &&
      info.nFileSizeLow == 0)
    length_ = 0;
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
    if (!ReadFile(HANDLE(handle_), buffer, want, &got, nullptr) || got == 0) return false;
    buffer += got;
    n -= got;
  }
  return true;
}

}  // namespace kv
