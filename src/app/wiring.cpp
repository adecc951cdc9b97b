#include "app/wiring.h"

#include "app/mForm1.h"
#include "context/app.h"
#include "customfolders/folder_scan.h"
#include "antivirus/s_avir.h"
#include "settingsui/vDct.h"
#include "shutdown/unattended.h"

namespace kv {

const Wiring& StandardWiring() {
  static const Wiring wiring{
      .mainWindow = [](App& app) -> MainWindowPort& { return app.Form1(); },
      .continueSecureShutDown = ContinueSecureShutDown,
      .setShutDownProgress = SetShutDownProgress,
      .buildFolderBaseline =
          [](App& app, const std::string& folder, const std::string& file, int slot) {
            FirstCustomFolderScan(app, folder, file, slot);
          },
      .wizardFields = [](App& app) -> WizardFieldsPort& { return app.Wizard(); },
      .scannerFieldsLoaded =
          [](App& app) {
            if (app.HasAntivirusSetup()) app.AntivirusSetup().ShowFields();
          },
  };
  return wiring;
}

}  // namespace kv
