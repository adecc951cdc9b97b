#include "app/editions.h"

#include "app/program_windows.h"
#include "edition_version.h"  // made by the build from packaging/versions.cmake

namespace kv {

const Edition& FullEdition() {
  static const Edition full{
      .ownFileName = "Korvanel.exe",
      .title = "Korvanel",
      .major = KV_FULL_MAJOR,
      .minor = KV_FULL_MINOR,
      .revision = KV_FULL_REVISION,
      .fileVersion = KV_FULL_FILE_VERSION,
      .hasUpdateCheck = true,
      .hasSupportListDownload = true,
      .plainControls = false,
      .wizardWriteErrors = true,
      .windows = &StandardWindows(),
  };
  return full;
}

const Edition& LowEdition() {
  static const Edition low{
      .ownFileName = "KorvanelLow.exe",
      .title = "Korvanel",
      .major = KV_LOW_MAJOR,
      .minor = KV_LOW_MINOR,
      .revision = KV_LOW_REVISION,
      .fileVersion = KV_LOW_FILE_VERSION,
      .hasUpdateCheck = false,
      .hasSupportListDownload = false,
      .plainControls = true,
      .wizardWriteErrors = false,
      .windows = &StandardWindows(),
  };
  return low;
}

}  // namespace kv
