// Program entry of both editions.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "context/app.h"
#include "app/data_root.h"
#include "app/mForm1.h"
#include "app/startup.h"
#include "logs/scan_notice.h"
#include "platform/files.h"
#include "platform/instance.h"
#include "platform/safe_search.h"
#include "platform/win32_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kv::UseSafeLibrarySearch();  // before anything else loads
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitialize(nullptr);

  kv::Win32Host host;
  const std::string programDir = kv::ExecutableDirectory();
  kv::App app(host, kv::ThisEdition(), programDir, kv::DataRootFor(programDir));
  app.SetStart(kv::ParseStartMode(kv::ArgumentText(GetCommandLineA())));
  // A scheduled scan's notice touches none of the program's data, and is
  // no instance that another start should hear of.
  std::optional<kv::ScanNotice> notice;
  if (app.Start().Kind() == kv::StartKind::Notice) {
    notice.emplace(app, app.Start().NoticeCounts());
  } else {
    app.anotherInstance = kv::TakeInstanceMarker(std::string("Local\\") + app.edition.ownFileName);
    // The main window is made when first used: a run that never shows it
    // starts without it.
    if (kv::RunStartup(app)) Form1(app).Show();
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return app.exitCode;
}
