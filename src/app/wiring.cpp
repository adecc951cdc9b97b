#include "app/wiring.h"

#include "app/mForm1.h"
#include "context/app.h"
#include "customfolders/folder_scan.h"
#include "shutdown/unattended.h"

namespace kv {

const Wiring& StandardWiring() {
  static const Wiring wiring{
      .mainWindow = [](App& app) -> MainWindowPort& { return app.Form1(); },
      .continueSecureShutDown = ContinueSecureShutDown,
      .setShutDownProgress = SetShutDownProgress,
      .buildFolderBaseline = BuildFolderBaseline,
  };
  return wiring;
}

}  // namespace kv
