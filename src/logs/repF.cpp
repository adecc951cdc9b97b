#include "logs/repF.h"

#include <algorithm>

#include "core/busy_flag.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "antivirus/scanner_run.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "logs/reports_ids.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;
using namespace reports_ids;

ReportPage::ReportPage(App& app, Panel& panel, bool plain) : app_(app), panel_(panel), plain_(plain) {
  constexpr const char* kButton = cButton::kClassName;
  // Created in tab order.
  static const controls::ControlRow<ReportPage> kRows[] = {
      {&ReportPage::Label25, {0, "STATIC", "The following files either failed an Integrity Check, or were New/Modified Registry Entries:", controls::kLabelStyle}},
      {&ReportPage::List4, {.id = kList4, .cls = "LISTBOX", .text = "Report", .style = controls::kListStyle | WS_HSCROLL, .exStyle = WS_EX_CLIENTEDGE}},
      {&ReportPage::cDelLog, {kCDelLog, kButton, "Delete this Report"}},
      {&ReportPage::cScnLog, {kCScnLog, kButton, "Scan Files For Viruses"}},
      {&ReportPage::cX, {kCX, kButton, "X"}},
  };
  controls::MakeControls(*this, panel.hwnd(), kRows, plain);
  cDelLog.Click = [this] { cDelLog_Click(); };
  cScnLog.Click = [this] { cScnLog_Click(); };
  cX.Click = [this] { cX_Click(); };
}

void ReportPage::norms() {
  for (cButton* b : {&cDelLog, &cScnLog, &cX}) b->downStatus(1);
}

void ReportPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !font_) {
    fontDpi_ = dpi;
    font_ = ui::MakeFont(9, FW_NORMAL, dpi);
    boldFont_ = ui::MakeFont(9, FW_SEMIBOLD, dpi);
    SetControlFont(Label25, boldFont_.get());
    SetControlFont(List4, font_.get());
  }
  const int width = area.right - area.left;
  const int line = controls::LineHeight(boldFont_.get());
  const int xSize = Scale(32, dpi), buttonH = Scale(32, dpi);
  // The close button sits in the page's top right corner, beside the heading.
  MoveControl(cX.hwnd(), area.right - xSize, Scale(10, dpi), xSize, Scale(28, dpi));
  const int labelH = 2 * line + Scale(4, dpi);
  MoveControl(Label25, area.left, area.top, width, labelH);
  const int listTop = area.top + labelH + Scale(6, dpi);
  const int buttonsTop = area.bottom - buttonH;
  MoveControl(List4, area.left, listTop, width, std::max(line, buttonsTop - Scale(12, dpi) - listTop));
  const int delW = Scale(160, dpi), scanW = Scale(200, dpi);
  MoveControl(cDelLog.hwnd(), area.left, buttonsTop, delW, buttonH);
  MoveControl(cScnLog.hwnd(), area.left + delW + Scale(12, dpi), buttonsTop, scanW, buttonH);
  widest_ = 0;
  for (const std::string& line : Lines()) Widen(line);
}

// The list's longest line decides how far it scrolls sideways.
void ReportPage::Widen(const std::string& item) {
  if (!font_) return;
  controls::WindowDC dc(List4);
  controls::Selection font(dc.get(), font_.get());
  SIZE size{};
  GetTextExtentPoint32A(dc.get(), item.c_str(), int(item.size()), &size);
  if (size.cx + Scale(8, fontDpi_) <= widest_) return;
  widest_ = size.cx + Scale(8, fontDpi_);
  SendMessageA(List4, LB_SETHORIZONTALEXTENT, WPARAM(widest_), 0);
}

void ReportPage::Clear() {
  shownFiles.clear();
  SendMessageA(List4, LB_RESETCONTENT, 0, 0);
  widest_ = 0;
  SendMessageA(List4, LB_SETHORIZONTALEXTENT, 0, 0);
}

void ReportPage::Add(const std::string& item) {
  SendMessageA(List4, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  Widen(item);
}

std::vector<std::string> ReportPage::Lines() const { return controls::ListLines(List4); }

void ReportPage::cDelLog_Click() {
  if (app_.Ask("Are you sure you want to delete this Report?", MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (deleteShownLog) {
    const auto event = deleteShownLog;
    event();
  }
}

void ReportPage::cX_Click() {
  if (close) {
    const auto event = close;
    event();
  }
}

// The files of the report go to the scanners again, in batches; the header
// never does. Nothing is logged and no baseline changes.
void ReportPage::cScnLog_Click() {
  if (scanning_) return;  // reading the settings pumps messages
  const BusyFlag busy(scanning_);

  ScannerConfig scanners[2];
  bool unusable = false;
  const char* words[2] = {"ANTIVIRUS", "AV2"};
  for (int i = 0; i < 2 && !unusable; ++i) {
    const std::string value = ReadSetting(app_, words[i]).value_or("");
    if (app_.ended) return;
    if (TrimView(value).empty()) continue;
    const ScannerSetting s = SplitScannerSetting(value);
    if (!s.hasBar) {
      unusable = true;  // a program path without its "|" cannot be told from its arguments
      break;
    }
    scanners[i].program = s.program;
    if (!TrimView(s.program).empty()) scanners[i].args = s.rawArgs;
  }
  if (unusable) {
    ShowScannerNotExecuted(app_, scanners[0].program);
    return;
  }
  const std::vector<std::string>& files = shownFiles;
  ScanVerdict verdict;
  const BatchedScanResult scan =
      ScanFileList(app_, ViewsOf(files), scanners[0], scanners[1], true, true, &verdict);
  if (app_.ended) return;
  if (scan.startFailed) {
    ShowScannerNotExecuted(app_, scanners[0].program);
    return;
  }
  // Success only once the scanner has said so.
  if (!verdict.clean) {
    app_.Ask(VerdictProblem(verdict), MsgButtons::Ok, {}, MsgIcon::Warning);
    return;
  }
  app_.Ask("Anti-Virus program executed successfully!");
}

}  // namespace kv
