#include "app/wiring.h"

#include "app/mForm1.h"
#include "context/app.h"
#include "customfolders/folder_scan.h"
#include "antivirus/s_avir.h"
#include "settingsui/settings_pages.h"
#include "settingsui/vDct.h"
#include "update/update_check.h"
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
      .setStatus = [](App& app, const std::string& text) { app.Form1().SetStatus(text); },
      .showUpdateIndicator =
          [](App& app, bool show) {
            mForm1& f = app.Form1();
            f.ShowUpdateIndicator(show);
            if (f.options && f.options->cUpdates.hwnd())
              f.options->cUpdates.Caption(UpdatesButtonCaption(app));
          },
  };
  return wiring;
}

}  // namespace kv
