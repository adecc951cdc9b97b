// The report page: one log, its header first and then its files, with
// deleting it and handing its files to the scanners again.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/panel.h"

namespace kv {

class App;

class ReportPage : public PageContent {
 public:
  ReportPage(App& app, Panel& panel, bool plain);

  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  // --- procedures -----------------------------------------------------------
  void cDelLog_Click();  // Delete this Report
  void cScnLog_Click();  // Scan Files For Viruses
  void cX_Click();       // back to the Options page

  // What the page needs of the log list and the frame.
  std::function<void()> deleteShownLog;  // delete it, back to Options, reload
  std::function<void()> close;           // norms2, then the Options page

  void Clear();
  void Add(const std::string& item);
  std::vector<std::string> Lines() const;  // List4, item 0 the header
  std::string shownLog;  // the file List4 was read from
  // The files of the shown log, whole: List4 shows a path with spaces in
  // the pieces the log cut it into, and the scanners need the path.
  std::vector<std::string> shownFiles;

  HWND Label25 = nullptr;
  HWND List4 = nullptr;
  cButton cDelLog, cScnLog, cX;

 private:
  void Widen(const std::string& item);

  App& app_;
  Panel& panel_;
  int widest_ = 0;
  bool plain_;
  bool scanning_ = false;
  controls::Font font_, boldFont_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
