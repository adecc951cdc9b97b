#include "app/wiring.h"

#include "app/mForm1.h"
#include "context/app.h"
#include "customfolders/folder_scan.h"
#include "logs/WriteLog.h"
#include "logs/run_end.h"
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
      // A main window not made yet takes both from the update check.
      .setStatus =
          [](App& app, const std::string& text) {
            if (app.HasForm1()) app.Form1().SetStatus(text);
          },
      .showUpdateIndicator =
          [](App& app, bool show) {
            if (!app.HasForm1()) return;
            mForm1& f = app.Form1();
            f.ShowUpdateIndicator(show);
            // A page not made yet takes the caption when it is made.
            if (auto* o = dynamic_cast<OptionsPage*>(f.setFq.MadeContent()))
              o->cUpdates.Caption(UpdatesButtonCaption(app));
          },
      .logMessage = [](App& app, const std::string& text) { WriteMessageLog(app, text); },
      .runEnded = FinishRun,
  };
  return wiring;
}

}  // namespace kv
