// The reports viewer in the main window: the log list on the Options page
// and the report page, wired to each other.
#pragma once
#include "controls/panel.h"
#include "logs/LogList.h"
#include "logs/repF.h"

namespace kv {

// The Options page's content while it holds only the log list.
class LogListPage : public PageContent {
 public:
  LogListPage(App& app, Panel& setFq, bool plain, ReportPage& report, LogList::Frame frame)
      : list(app, setFq.hwnd(), plain, report, std::move(frame)) {}
  void norms() override {
    list.cReports.downStatus(1);
    list.cViewReport.downStatus(1);
    list.cButton3.downStatus(1);
  }
  void Layout(const RECT& area, UINT) override { list.Move(area); }
  LogList list;
};

struct Reports {
  LogList* logList = nullptr;
  ReportPage* report = nullptr;
};

// The Options page's content made around the log list's page (the page
// then holds the list among its other controls).
using OptionsAround = std::function<std::unique_ptr<PageContent>(std::unique_ptr<PageContent> logs)>;

// Fills setFq with the log list (inside `around`'s page when given) and
// repF with the report page.
Reports InstallReports(App& app, Panel& setFq, Panel& repF, bool plain, LogList::Frame frame,
                       const OptionsAround& around = {});

}  // namespace kv
