#include "platform/file_stamp.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace kv {

std::optional<FileStamp> StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime,
                   (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

}  // namespace kv
