#include "logs/LogList.h"

#include <commctrl.h>

#include <map>

#include "core/busy_flag.h"
#include "context/app.h"
#include "controls/art.h"
#include "controls/control_table.h"
#include "controls/panel.h"
#include "core/log_file.h"
#include "core/text.h"
#include "logs/repF.h"
#include "logs/reports_ids.h"
#include "platform/files.h"
#include "platform/pump.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;
using namespace reports_ids;

namespace {

constexpr char kClassName[] = "KorvanelLogList";
constexpr char kNotOpened[] = "Error - This report does not exist and could not be opened.";
// The Delete key is served once the tree has finished with the key press:
// the rebuild removes the very item the tree is handling.
constexpr UINT kDeleteKeyMessage = WM_APP + 1;


}  // namespace

LogList::LogList(App& app, HWND parent, bool plain, ReportPage& report, Frame frame)
    : app_(app), report_(report), frame_(std::move(frame)), plain_(plain) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  ground_ = controls::SolidBrush(plain ? GetSysColor(COLOR_BTNFACE) : ToColorRef(art::palette::kCard));
  if (!Create(controls::WindowClass{kClassName}, WS_EX_CONTROLPARENT, "Logs",
              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1, 1, parent))
    return;
  constexpr const char* kButton = cButton::kClassName;
  // Created in tab order; the loading notice waits hidden.
  static const controls::ControlRow<LogList> kRows[] = {
      {&LogList::Label27, {0, "STATIC", "Tip: Use the Delete key to delete log entries, or log groupings directly from the list", controls::kLabelStyle}},
      {&LogList::TreeView2, {.id = kTreeView2, .cls = WC_TREEVIEWA, .text = "Logs", .style = WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, .exStyle = WS_EX_CLIENTEDGE}},
      {&LogList::cReports, {kCReports, kButton, "Load Logs"}},
      {&LogList::cViewReport, {kCViewReport, kButton, "View Log"}},
      {&LogList::cButton3, {kCButton3, kButton, "Delete All Logs"}},
      {&LogList::Label26, {0, "STATIC", "L o a d i n g  R e p o r t  . . .  P l e a s e  W a i t", SS_NOPREFIX}},
  };
  MakeControls(kRows, plain);
  cViewReport.Enabled(false);
  cReports.Click = [this] { cReports_Click(); };
  cViewReport.Click = [this] { cViewReport_Click(); };
  cButton3.Click = [this] { cButton3_Click(); };
  Layout();
}

LogList::~LogList() { Destroy(); }

void LogList::Move(const RECT& r) {
  if (!hwnd_) return;
  MoveControl(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top);
  Layout();
}

void LogList::Visible(bool show) {
  if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void LogList::Layout() {
  if (!hwnd_) return;
  const UINT dpi = Dpi();
  if (fontDpi_ != dpi || !font_) {
    fontDpi_ = dpi;
    font_ = ui::MakeFont(9, FW_NORMAL, dpi);
    noticeFont_ = ui::MakeFont(9, FW_SEMIBOLD, dpi);
    for (HWND w : {Label27, TreeView2}) SetControlFont(w, font_.get());
    SetControlFont(Label26, noticeFont_.get());
  }
  RECT c{};
  GetClientRect(hwnd_, &c);
  const int line = controls::LineHeight(font_.get());
  const int buttonW = Scale(150, dpi), buttonH = Scale(32, dpi), gap = Scale(16, dpi);
  const int treeW = std::max(Scale(120, dpi), std::min<int>(c.right - buttonW - gap, Scale(440, dpi)));
  const int tipH = 2 * line + Scale(4, dpi);
  const int treeTop = tipH + Scale(8, dpi);
  MoveControl(Label27, 0, 0, c.right, tipH);
  MoveControl(TreeView2, 0, treeTop, treeW, std::max<int>(line, c.bottom - treeTop));
  const int x = treeW + gap;
  int y = treeTop;
  for (cButton* b : {&cReports, &cViewReport, &cButton3}) {
    MoveControl(b->hwnd(), x, y, buttonW, buttonH);
    y += buttonH + Scale(10, dpi);
  }
  MoveControl(Label26, x, y + Scale(8, dpi), std::max<int>(buttonW, c.right - x), 3 * line + Scale(6, dpi));
}

// --- the tree ---------------------------------------------------------------

std::string LogList::LogFolder() const { return app_.dataRoot + "Data\\Log\\"; }

std::string LogList::ItemText(HTREEITEM item) const {
  if (!item) return {};
  char buf[512] = "";
  TVITEMA it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(TreeView2, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return buf;
}

std::string LogList::LogPathOf(HTREEITEM item) const {
  if (!item) return {};
  TVITEMA it{};
  it.mask = TVIF_PARAM;
  it.hItem = item;
  if (!SendMessageA(TreeView2, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return {};
  const size_t index = size_t(it.lParam);
  if (index == 0 || index > names_.size()) return {};
  return LogFolder() + names_[index - 1];
}

HTREEITEM LogList::Selected() const { return TreeView_GetSelection(TreeView2); }

void LogList::ClearTree() {
  TreeView_DeleteAllItems(TreeView2);
  names_.clear();
  cViewReport.Enabled(false);
}

std::vector<LogList::Group> LogList::Groups() const {
  std::vector<Group> out;
  for (HTREEITEM g = TreeView_GetRoot(TreeView2); g; g = TreeView_GetNextSibling(TreeView2, g)) {
    Group group{ItemText(g), {}};
    for (HTREEITEM e = TreeView_GetChild(TreeView2, g); e; e = TreeView_GetNextSibling(TreeView2, e))
      group.times.push_back(ItemText(e));
    out.push_back(std::move(group));
  }
  return out;
}

bool LogList::Select(const std::string& date, const std::string& time) {
  for (HTREEITEM g = TreeView_GetRoot(TreeView2); g; g = TreeView_GetNextSibling(TreeView2, g)) {
    if (ItemText(g) != date) continue;
    HTREEITEM target = time.empty() ? g : nullptr;
    for (HTREEITEM e = TreeView_GetChild(TreeView2, g); e && !target; e = TreeView_GetNextSibling(TreeView2, e))
      if (ItemText(e) == time) target = e;
    if (target) return TreeView_SelectItem(TreeView2, target) != FALSE;
  }
  return false;
}

void LogList::cReports_Click() {
  if (busy_) return;  // a report is being shown
  LoadLogs();
}

// Groups and entries keep the order of the folder listing. A file whose name
// has no "(time)" part is not one of the program's logs and is left out: no
// entry text could name it (Delete All Logs still removes it).
void LogList::LoadLogs() {
  const BusyFlag mark(busy_);
  ClearTree();
  const auto names = ListDirectory(LogFolder());
  std::map<std::string, HTREEITEM> groups;
  for (const std::string& name : names.value_or(std::vector<std::string>{})) {
    if (UCase(Right(name, 4)) != ".LOG") continue;
    const std::string time = LogTimeTextOf(name);
    if (time.empty()) continue;
    const std::string date = LogDateTextOf(name);
    HTREEITEM& group = groups[date];
    TVINSERTSTRUCTA in{};
    in.hInsertAfter = TVI_LAST;
    in.item.mask = TVIF_TEXT | TVIF_PARAM;
    if (!group) {
      in.hParent = TVI_ROOT;
      in.item.pszText = const_cast<char*>(date.c_str());
      in.item.lParam = 0;
      group = reinterpret_cast<HTREEITEM>(
          SendMessageA(TreeView2, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in)));
    }
    names_.push_back(name);
    in.hParent = group;
    in.item.pszText = const_cast<char*>(time.c_str());
    in.item.lParam = LPARAM(names_.size());
    SendMessageA(TreeView2, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&in));
    TreeView_Expand(TreeView2, group, TVE_EXPAND);
  }
}

void LogList::cViewReport_Click() {
  if (busy_) return;
  const BusyFlag mark(busy_);
  report_.Clear();
  HTREEITEM item = Selected();
  if (!item || ItemText(item).empty()) return;
  const std::string path = LogPathOf(item);
  if (path.empty()) return;  // a date group
  ShowWindow(Label26, SW_SHOWNA);
  UpdateWindow(Label26);
  const auto text = ReadWholeFile(path);
  if (!text) {
    app_.Ask(kNotOpened);
    if (hwnd_) ShowWindow(Label26, SW_HIDE);
    return;
  }
  report_.shownLog = path;
  report_.shownFiles = LoggedFiles(*text, [](const std::string& file) { return FileExists(file); });
  for (const std::string& line : ReportItems(*text)) {
    report_.Add(line);
    // The log of a long check holds many lines: the window stays alive.
    PumpMessages();
    if (app_.ended || !hwnd_) return;
  }
  ShowWindow(Label26, SW_HIDE);
  if (frame_.norms2) frame_.norms2();
  if (frame_.showReport) frame_.showReport();
}

void LogList::TreeView2_KeyDown(WPARAM key) {
  // Only Delete acts; the keys that move through the tree leave it as it is.
  if (key != VK_DELETE || busy_) return;
  HTREEITEM item = Selected();
  const std::string text = ItemText(item);
  if (!item || text.empty()) return;
  {
    const BusyFlag mark(busy_);
    if (!TreeView_GetParent(TreeView2, item)) {
      if (app_.Ask("Delete All Logs on this (" + text + ") Date?", MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
      // Paths first: the handles mean nothing once the tree is rebuilt.
      std::vector<std::string> paths;
      for (HTREEITEM e = TreeView_GetChild(TreeView2, item); e; e = TreeView_GetNextSibling(TreeView2, e))
        paths.push_back(LogPathOf(e));
      for (const std::string& p : paths) DeleteFileAt(p);
    } else {
      if (app_.Ask("Delete Log Entry?", MsgButtons::YesNo) != MsgAnswer::Yes) return;
      DeleteFileAt(LogPathOf(item));
    }
    if (app_.ended || !hwnd_) return;
  }
  LoadLogs();
}

void LogList::cButton3_Click() {
  if (busy_) return;
  if (app_.Ask("Are you sure you want to delete all the logs?", MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  const BusyFlag mark(busy_);
  const std::string folder = LogFolder();
  const auto names = ListDirectory(folder);
  for (const std::string& name : names.value_or(std::vector<std::string>{}))
    if (EndsWithNoCase(name, ".log")) DeleteFileAt(folder + name);
  ClearTree();
}

void LogList::DeleteShownLog() {
  if (busy_) return;
  if (!report_.shownLog.empty()) DeleteFileAt(report_.shownLog);
  report_.shownLog.clear();
  if (frame_.showOptions) frame_.showOptions();
  if (!app_.ended && hwnd_) LoadLogs();
}

// --- window -----------------------------------------------------------------

LRESULT LogList::OnTreeNotify(const NMHDR& n) {
  switch (n.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      const auto& tv = reinterpret_cast<const NMTREEVIEWA&>(n);
      cViewReport.Enabled(tv.itemNew.hItem && TreeView_GetParent(TreeView2, tv.itemNew.hItem));
      return 0;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
      cViewReport.Enabled(false);
      return 0;
    case TVN_KEYDOWN:
      if (reinterpret_cast<const NMTVKEYDOWN&>(n).wVKey == VK_DELETE)
        PostMessageA(hwnd_, kDeleteKeyMessage, VK_DELETE, 0);
      return 0;
    case NM_DBLCLK:
      // A double click on a date group only opens or closes it.
      if (HTREEITEM item = Selected(); item && TreeView_GetParent(TreeView2, item))
        cViewReport_Click();
      return 0;
    case NM_RETURN:
      if (cViewReport.Enabled()) cViewReport_Click();
      return 0;
    default:
      return 0;
  }
}

LRESULT LogList::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    const NMHDR* n = reinterpret_cast<const NMHDR*>(lp);
    if (n && n->hwndFrom == TreeView2) return OnTreeNotify(*n);
  }
  if (msg == kDeleteKeyMessage) {
    TreeView2_KeyDown(wp);
    return 0;
  }
  return Default(msg, wp, lp);
}

bool LogList::OnEraseBackground(HDC dc) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  FillRect(dc, &c, ground_.get());
  return true;
}

std::optional<controls::Window::LabelLook> LogList::OnLabelLook(HWND label) {
  COLORREF ink = plain_ ? GetSysColor(COLOR_BTNTEXT) : ToColorRef(art::palette::kInk);
  if (!plain_ && label == Label27) ink = ToColorRef(art::palette::kMuted);
  if (!plain_ && label == Label26) ink = ToColorRef(art::palette::kAccent);
  return LabelLook{ink, ground_.get()};
}

}  // namespace kv
