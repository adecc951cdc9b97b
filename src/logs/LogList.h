// The log list of the Options page: the logs of Data\Log\ grouped by date,
// with loading, viewing and deleting. A window of its own, so the Options
// page can place it beside its other controls.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/window.h"

namespace kv {

class App;
class ReportPage;

class LogList : public controls::Window {
 public:
  // What the list needs of the main window.
  struct Frame {
    std::function<void()> norms2;       // the page reset
    std::function<void()> showOptions;  // norms2, then the Options page
    std::function<void()> showReport;   // the report page, after norms2
  };

  LogList(App& app, HWND parent, bool plain, ReportPage& report, Frame frame);
  ~LogList() override;

  void Move(const RECT& r);
  void Visible(bool show);

  // --- procedures -----------------------------------------------------------
  void cReports_Click();     // Load Logs: rebuild the tree from the folder
  void cViewReport_Click();  // View Log: the selected log on the report page
  void TreeView2_KeyDown(WPARAM key);  // Delete: the selected log or date
  void cButton3_Click();     // Delete All Logs
  // Delete this Report: the log selected in the tree, which is the one shown.
  void DeleteShownLog();

  // A date group with the time texts of its logs, as the tree shows them.
  struct Group {
    std::string date;
    std::vector<std::string> times;
  };
  std::vector<Group> Groups() const;
  // Selects the group or entry with this text (the first one found).
  bool Select(const std::string& date, const std::string& time = {});

  HWND TreeView2 = nullptr;
  HWND Label27 = nullptr;  // the Delete key tip
  HWND Label26 = nullptr;  // the loading notice
  cButton cReports, cViewReport, cButton3;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnEraseBackground(HDC dc) override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  void OnDpiChanged() override { Layout(); }
  void Layout();
  LRESULT OnTreeNotify(const NMHDR& n);
  void LoadLogs();
  void ClearTree();
  // The log file behind a tree entry; empty for a date group or no item.
  std::string LogPathOf(HTREEITEM item) const;
  std::string ItemText(HTREEITEM item) const;
  HTREEITEM Selected() const;
  std::string LogFolder() const;

  App& app_;
  ReportPage& report_;
  Frame frame_;
  bool plain_;
  // The file names of the entries, found again through each entry's lParam
  // (index + 1; 0 marks a date group).
  std::vector<std::string> names_;
  // Showing a report pumps messages, and the delete questions are boxes:
  // a second action arriving then is refused instead of changing the tree
  // under the first.
  bool busy_ = false;
  controls::Brush ground_;
  controls::Font font_, noticeFont_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
