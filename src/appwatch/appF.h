// The AppWatch page: the titled top-level windows of the desktop, hidden
// ones included, one line per process and title, with the class and process
// of the selected one, and bringing it to the front or asking it to close.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/panel.h"

namespace kv {

class App;

class AppWatchPage : public PageContent {
 public:
  // How long Close waits for a window to take its close request; a window
  // that does not answer in time (hung, or asking its own question) is left
  // to take it later.
  static constexpr UINT kCloseWaitMs = 500;

  AppWatchPage(App& app, Panel& panel, bool plain);

  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  // Adds a line "pid: title" for every titled top-level window not listed
  // yet; returns the number of lines added.
  int EnumerateWindows();

  // --- procedures -----------------------------------------------------------
  void ref_Click();             // Refresh
  void lstOpenWindows_Click();  // a line was selected
  void act_Click();             // Activate Window
  void cl_Click();              // Close Window

  std::vector<std::string> Lines() const;
  // Selects the line with exactly this text and runs the selection.
  bool SelectLine(const std::string& line);

  HWND lstOpenWindows = nullptr;
  HWND txtTitle = nullptr;
  HWND lblTitle = nullptr;  // names the title field
  HWND lblClassName = nullptr;
  HWND lblProcessID = nullptr;
  HWND lblCount = nullptr;
  cButton act, cl, ref;

 private:
  // The window the actions work on: the title in txtTitle with the class
  // the label shows; null when there is none.
  HWND TargetWindow() const;
  bool Listed(const std::string& line) const;

  App& app_;
  controls::Font font_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
