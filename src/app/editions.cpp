#include "app/editions.h"

#include "app/wiring.h"

namespace kv {

const Edition& FullEdition() {
  static const Edition full{
      .ownFileName = "Korvanel.exe",
      .title = "Korvanel",
      .major = 2,
      .minor = 2,
      .revision = 0,
      .fileVersion = "2.02",
      .hasUpdateCheck = true,
      .hasSupportListDownload = true,
      .plainControls = false,
      .wiring = &StandardWiring(),
  };
  return full;
}

const Edition& LowEdition() {
  static const Edition low{
      .ownFileName = "KorvanelLow.exe",
      .title = "Korvanel",
      .major = 2,
      .minor = 1,
      .revision = 1,
      .fileVersion = "2.01.0001",
      .hasUpdateCheck = false,
      .hasSupportListDownload = false,
      .plainControls = true,
      .wiring = &StandardWiring(),
  };
  return low;
}

}  // namespace kv
