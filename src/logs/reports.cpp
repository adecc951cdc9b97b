#include "logs/reports.h"

namespace kv {

Reports InstallReports(App& app, Panel& setFq, Panel& repF, bool plain, LogList::Frame frame,
                       const OptionsAround& around) {
  auto report = std::make_unique<ReportPage>(app, repF, plain);
  ReportPage* page = report.get();
  const auto showOptions = frame.showOptions;
  auto options = std::make_unique<LogListPage>(app, setFq, plain, *page, std::move(frame));
  LogList* list = &options->list;
  page->close = showOptions;
  page->deleteShownLog = [list] { list->DeleteShownLog(); };
  repF.SetContent(std::move(report));
  if (around)
    setFq.SetContent(around(std::move(options)));
  else
    setFq.SetContent(std::move(options));
  return Reports{list, page};
}

}  // namespace kv
