#include "regwatch/regF.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "controls/control_table.h"
#include "controls/control_text.h"
#include "context/app.h"
#include "context/settings.h"
#include "core/scanner.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/signature.h"
#include "regwatch/actions.h"
#include "regwatch/pending_reboot.h"
#include "regwatch/regF_ids.h"
#include "regwatch/snapshot.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;
using namespace regf_ids;

namespace {

constexpr char kScanOne[] = "Scan File for Viruses";
constexpr char kScanAll[] = "Scan all Files for Viruses";

using controls::ListLine;

// Long warning lines scroll sideways instead of being cut.
void FitListWidth(HWND list) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const std::string line = ListLine(list, i);
    SIZE s{};
    GetTextExtentPoint32A(dc, line.c_str(), int(line.size()), &s);
    widest = std::max(widest, int(s.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, WPARAM(widest + 8), 0);
}

}  // namespace

// --- the tree's parent ---------------------------------------------------------

TreeHost::~TreeHost() { Destroy(); }

bool TreeHost::Create(HWND parent, int treeId, const char* name) {
  if (!Window::Create(controls::WindowClass{"KorvanelTreeHost"}, WS_EX_CONTROLPARENT, name,
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1, 1, parent))
    return false;
  tree_ = controls::MakeChild(hwnd_, WC_TREEVIEWA, treeId, name,
                              WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS);
  return tree_ != nullptr;
}

void TreeHost::OnSize(int width, int height) { MoveControl(tree_, 0, 0, width, height); }

LRESULT TreeHost::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && lp) {
    const NMHDR& n = *reinterpret_cast<const NMHDR*>(lp);
    if (n.hwndFrom == tree_ && Notify) {
      const auto event = Notify;
      event(n);
    }
    return 0;
  }
  return Default(msg, wp, lp);
}

// --- the page ---------------------------------------------------------------------

RegWatchPage::RegWatchPage(Panel& panel, App& app, bool plain) : panel_(panel), app_(app) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  using controls::kLabelStyle, controls::kListStyle;
  constexpr const char* kButton = cButton::kClassName;
  constexpr DWORD kList = kListStyle | WS_HSCROLL;
  // Created in tab order; each list's label comes just before it, which is
  // where screen readers take its name from. The pending renames' list
  // waits hidden, and Label19 holds the actions' working data, never shown.
  // The button shows one "&" of the program's "Scan && Update Warnings".
  static const controls::ControlRow<RegWatchPage> kRows[] = {
      {&RegWatchPage::lblTree, {0, "STATIC", "Auto-start entries:", kLabelStyle}},
      {&RegWatchPage::List6, {.id = kList6, .cls = "LISTBOX", .text = "Files changed on the next reboot", .style = kList & ~WS_VISIBLE, .exStyle = WS_EX_CLIENTEDGE}},
      {&RegWatchPage::lblList, {0, "STATIC", "New and modified entries:", kLabelStyle}},
      {&RegWatchPage::List5, {.id = kList5, .cls = "LISTBOX", .text = "New and modified entries", .style = kList, .exStyle = WS_EX_CLIENTEDGE}},
      {&RegWatchPage::lblSelected, {0, "STATIC", "Selected entry:", kLabelStyle}},
      {&RegWatchPage::Text4, {.id = kText4, .cls = "EDIT", .style = controls::kEditStyle | ES_READONLY, .exStyle = WS_EX_CLIENTEDGE}},
      {&RegWatchPage::lblSigner, {0, "STATIC", "", kLabelStyle}},
      {&RegWatchPage::Label19, {kLabel19, "STATIC", "", SS_NOPREFIX}},
      {&RegWatchPage::Command1, {kCommand1, kButton, "Refresh"}},
      {&RegWatchPage::Command11, {kCommand11, kButton, kScanOne}},
      {&RegWatchPage::Command3, {kCommand3, kButton, "Delete Key"}},
      {&RegWatchPage::cScnUpd, {kCScnUpd, kButton, "Scan & Update Warnings"}},
      {&RegWatchPage::cMod, {kCMod, kButton, "Check for modifications/deletions on reboot"}},
      {&RegWatchPage::chkHideMicrosoft, {kHideMicrosoft, check::kClassName, "Hide entries signed by Microsoft"}},
  };
  HWND parent = panel.hwnd();
  controls::MakeControls(*this, parent, kRows, plain);
  treeHost.Create(parent, kTreeView1, "Auto-start entries");
  // The tree follows its label.
  SetWindowPos(treeHost.hwnd(), lblTree, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TreeView1 = treeHost.tree();
  treeHost.Notify = [this](const NMHDR& n) { OnTreeNotify(n); };
  SendMessageA(List5, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kWarningsDesignLine));
  Command1.Click = [this] { Command1_Click(); };
  Command11.Click = [this] { Command11_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  cScnUpd.Click = [this] { cScnUpd_Click(); };
  cMod.Click = [this] { cMod_Click(); };
  chkHideMicrosoft.Click = [this] { chkHideMicrosoft_Click(); };

  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  if (tooltip_) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(List5);
    tool.lpszText = const_cast<char*>("");
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
  }

  panel.Command = [this](int id, int code, HWND) {
    if (id == kList5 && code == LBN_SELCHANGE) List5_Click();
    if (id == kList6 && code == LBN_SELCHANGE) List6_Click();
  };
}

RegWatchPage::~RegWatchPage() {
  if (tooltip_) DestroyWindow(tooltip_);
}

void RegWatchPage::Opening() {
  const auto hide = ReadSetting(app_, "HIDEMS");
  chkHideMicrosoft.Value(hide && EqualsNoCase(Trim(*hide), "True"));
  cScnUpd.Enabled(false);
  EnableEntryButtons(false);
}

void RegWatchPage::norms() {
  for (cButton* b : {&Command1, &Command11, &Command3, &cScnUpd, &cMod}) b->downStatus(1);
  chkHideMicrosoft.downStatus(1);
}

void RegWatchPage::EnableEntryButtons(bool enabled) {
  Command3.Enabled(enabled);
  Command11.Enabled(enabled);
}

void RegWatchPage::Layout(const RECT& area, UINT dpi) {
  const HFONT font = panel_.BodyFont();
  for (HWND w : {lblTree, TreeView1, List6, lblList, List5, lblSelected, Text4, lblSigner}) SetControlFont(w, font);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const int gap = Scale(12, dpi), labelH = controls::LineHeight(font) + Scale(4, dpi);
  const int fieldH = controls::LineHeight(font) + Scale(10, dpi), buttonH = Scale(32, dpi);
  const int listsH = height - labelH - Scale(4, dpi) - gap - fieldH - 2 * gap - 2 * buttonH;
  const int treeW = (width - gap) * 9 / 20, listX = area.left + treeW + gap;
  int y = area.top;
  MoveControl(lblTree, area.left, y, treeW, labelH);
  MoveControl(lblList, listX, y, area.right - listX, labelH);
  y += labelH + Scale(4, dpi);
  MoveControl(treeHost.hwnd(), area.left, y, treeW, listsH);
  MoveControl(List6, area.left, y, treeW, listsH);
  FitListWidth(List6);
  MoveControl(List5, listX, y, area.right - listX, listsH);
  FitListWidth(List5);
  y += listsH + gap;
  const int labelW = Scale(100, dpi);
  MoveControl(lblSelected, area.left, y + (fieldH - labelH) / 2, labelW, labelH);
  const int signerW = std::min(Scale(280, dpi), width / 3);
  MoveControl(Text4, area.left + labelW, y, width - labelW - signerW - gap, fieldH);
  MoveControl(lblSigner, area.right - signerW, y + (fieldH - labelH) / 2, signerW, labelH);
  y += fieldH + gap;
  // The buttons share the row in these proportions, never wider than it.
  const std::pair<cButton*, int> row[] = {{&Command1, 100}, {&Command11, 180}, {&Command3, 120},
                                          {&cScnUpd, 200}};
  const int spacing = Scale(10, dpi), wanted = Scale(600, dpi);
  const int room = std::min(wanted, width - 3 * spacing);
  int x = area.left;
  for (const auto& [button, w96] : row) {
    const int w = MulDiv(Scale(w96, dpi), room, wanted);
    MoveControl(button->hwnd(), x, y, w, buttonH);
    x += w + spacing;
  }
  y += buttonH + gap;
  const int modW = std::min(Scale(340, dpi), width);
  MoveControl(cMod.hwnd(), area.left, y, modW, buttonH);
  MoveControl(chkHideMicrosoft.hwnd(), area.left + modW + spacing, y + (buttonH - Scale(20, dpi)) / 2,
        std::max(width - modW - spacing, 1), Scale(20, dpi));
}

// --- the pass on the page -------------------------------------------------------

void RegWatchPage::ShowPass(const RegistryPass& pass) {
  pass_ = pass;
  PutUnsignedFirst(pass_);
  filling_ = true;
  SendMessageA(List5, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : pass_.list)
    SendMessageA(List5, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  FitListWidth(List5);

  FillTree();

  cScnUpd.Enabled(pass_.findings);
  if (!pass_.findings) EnableEntryButtons(false);
}

void RegWatchPage::FillTree() {
  filling_ = true;
  SendMessageA(TreeView1, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(TreeView1);
  std::map<std::string, HTREEITEM> items;
  std::vector<HTREEITEM> withEntries;
  const bool hideMicrosoft = chkHideMicrosoft.Value() != 0;
  for (size_t i = 0; i < pass_.tree.size(); ++i) {
    const RegTreeNode& node = pass_.tree[i];
    if (hideMicrosoft && node.entry) {
      const auto path = EntryPath(node.valueText);
      if (path && SignedByMicrosoft(VerifyFileSignature(*path))) continue;
    }
    TVINSERTSTRUCTA ins{};
    const auto parent = items.find(node.parentKey);
    ins.hParent = node.parentKey.empty() || parent == items.end() ? TVI_ROOT : parent->second;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(node.text.c_str());
    ins.item.lParam = LPARAM(i);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(TreeView1, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    items[node.key] = item;
    if (node.entry && ins.hParent != TVI_ROOT) withEntries.push_back(ins.hParent);
  }
  // Open down to every place that holds entries, so they are seen at once.
  for (HTREEITEM category : withEntries) {
    TreeView_Expand(TreeView1, TreeView_GetParent(TreeView1, category), TVE_EXPAND);
    TreeView_Expand(TreeView1, category, TVE_EXPAND);
  }
  SendMessageA(TreeView1, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(TreeView1, nullptr, TRUE);
  filling_ = false;
}

void RegWatchPage::chkHideMicrosoft_Click() {
  WriteEntry(app_, app_.settingsFile, "hidemicrosoftsigned",
             chkHideMicrosoft.Value() ? "True" : "False", "Korvanel");
  // The same pass shown again: hiding is a view, not a new comparison.
  if (!busy_) FillTree();
}

std::vector<std::string> RegWatchPage::ListLines() const {
  std::vector<std::string> lines;
  const int count = int(SendMessageA(List5, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) lines.push_back(ListLine(List5, i));
  return lines;
}

std::vector<std::string> RegWatchPage::List6Lines() const { return controls::ListLines(List6); }

bool RegWatchPage::PendingView() const {
  return (GetWindowLongPtrA(List6, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string RegWatchPage::Text4Text() const { return ui::TextOf(Text4); }
std::string RegWatchPage::Label19Text() const { return ui::TextOf(Label19); }
std::string RegWatchPage::SignerText() const { return ui::TextOf(lblSigner); }

void RegWatchPage::ShowSigner(const std::string& entryText) {
  const auto path = EntryPath(entryText);
  const FileSignature signature = path ? VerifyFileSignature(*path) : FileSignature{};
  SetWindowTextA(lblSigner, SignatureText(signature).c_str());
}

std::string RegWatchPage::NodeText(HTREEITEM node) const {
  char buf[1024] = "";
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  if (!node || !SendMessageA(TreeView1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return buf;
}

HTREEITEM RegWatchPage::FindNode(const std::string& text, const std::string& parentText) const {
  std::vector<HTREEITEM> todo;
  for (HTREEITEM r = TreeView_GetRoot(TreeView1); r; r = TreeView_GetNextSibling(TreeView1, r))
    todo.push_back(r);
  while (!todo.empty()) {
    HTREEITEM n = todo.back();
    todo.pop_back();
    if (NodeText(n) == text &&
        (parentText.empty() || NodeText(TreeView_GetParent(TreeView1, n)) == parentText))
      return n;
    for (HTREEITEM c = TreeView_GetChild(TreeView1, n); c; c = TreeView_GetNextSibling(TreeView1, c))
      todo.push_back(c);
  }
  return nullptr;
}

// --- selection ------------------------------------------------------------------------

void RegWatchPage::OnTreeNotify(const NMHDR& n) {
  if (filling_) return;
  switch (n.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      TreeView1_NodeClick(reinterpret_cast<const NMTREEVIEWA&>(n).itemNew.hItem);
      break;
    case NM_CLICK: {
      // A click on the node already selected chooses it again.
      TVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(TreeView1, &hit.pt);
      if (TreeView_HitTest(TreeView1, &hit) && (hit.flags & TVHT_ONITEM))
        TreeView1_NodeClick(hit.hItem);
      break;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
      TreeView1_Expanded();
      break;
    default:
      break;
  }
}

void RegWatchPage::TreeView1_Expanded() { EnableEntryButtons(false); }

void RegWatchPage::TreeView1_NodeClick(HTREEITEM node) {
  if (!node) return;
  HTREEITEM parent = TreeView_GetParent(TreeView1, node);
  const std::string category = NodeText(parent);
  if (!parent || category.rfind("HKEY", 0) == 0) {
    EnableEntryButtons(false);
    return;
  }
  EnableEntryButtons(true);
  const std::string text = NodeText(node);
  SetWindowTextA(Label19, text.c_str());
  SetWindowTextA(Text4, text.c_str());
  selectedPlace = NodeText(TreeView_GetParent(TreeView1, parent)) + "|" + category;
  TVITEMA item{};
  item.mask = TVIF_PARAM;
  item.hItem = node;
  chosen_ = {};
  if (SendMessageA(TreeView1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) &&
      size_t(item.lParam) < pass_.tree.size()) {
    const RegTreeNode& n = pass_.tree[size_t(item.lParam)];
    chosen_ = {n.place, n.valueName, n.valueText};
  }
  ShowSigner(chosen_.place >= 0 ? chosen_.valueText : text);
}

void RegWatchPage::List5_Click() {
  const int selected = int(SendMessageA(List5, LB_GETCURSEL, 0, 0));
  const int count = int(SendMessageA(List5, LB_GETCOUNT, 0, 0));
  if ((count > 1 && ListLine(List5, 1) == kNoWarnings) || selected <= 0) {
    EnableEntryButtons(false);
    return;
  }
  EnableEntryButtons(true);
  std::string line = ListLine(List5, selected);
  const std::string withSlash = line.empty() || line.back() != '\\' ? line + "\\" : line;
  selectedPlace = withSlash.substr(0, withSlash.find('\\'));
  if (Right(line, 2) != ") ") {
    line += ") ";
    SendMessageA(List5, LB_DELETESTRING, WPARAM(selected), 0);
    SendMessageA(List5, LB_INSERTSTRING, WPARAM(selected), reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(List5, LB_SETCURSEL, WPARAM(selected), 0);
  }
  const std::string entry = TextBetween(line, long(selectedPlace.size()), "\\", ") ") + ")";
  SetWindowTextA(Text4, entry.c_str());
  SetWindowTextA(Label19, entry.c_str());
  SetListTip(line);
  chosen_ = {};
  if (size_t(selected) <= pass_.warnings.size()) {
    const RegWarning& w = pass_.warnings[size_t(selected) - 1];
    chosen_ = {w.place, w.valueName, w.valueText};
  }
  ShowSigner(chosen_.place >= 0 ? chosen_.valueText : entry);
}

void RegWatchPage::SetListTip(const std::string& text) {
  tip_ = text;
  if (!tooltip_) return;
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = panel_.hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(List5);
  tool.lpszText = const_cast<char*>(tip_.c_str());
  SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- actions ----------------------------------------------------------------------------

namespace {
// An action pumps messages (the pass, the settings reads, message boxes);
// a second click meanwhile is not a second action.
struct Busy {
  explicit Busy(bool& flag) : flag_(flag), taken_(!flag) { flag_ = true; }
  ~Busy() {
    if (taken_) flag_ = false;
  }
  bool taken() const { return taken_; }
  bool& flag_;
  bool taken_;
};
}  // namespace

void RegWatchPage::Command1_Click() {
  Busy busy(busy_);
  if (!busy.taken()) return;
  Command11.Caption(kScanOne);
  ShowWindow(List6, SW_HIDE);
  ShowWindow(treeHost.hwnd(), SW_SHOWNA);
  lblTreeText(false);
  const RegistryPass pass = setReg(app_);
  if (!app_.ended) ShowPass(pass);
}

void RegWatchPage::Command11_Click() {
  if (Command11.Caption() == kScanAll) {
    cScnUpd_Click();
    return;
  }
  Busy busy(busy_);
  if (!busy.taken()) return;
  // The value text where the entry is known: its name may hold a "(".
  ScanRegistryEntry(app_, chosen_.place >= 0 ? chosen_.valueText : Label19Text());
}

void RegWatchPage::Command3_Click() {
  {
    Busy busy(busy_);
    if (!busy.taken()) return;
    const auto bar = selectedPlace.find('|');
    const std::string root = selectedPlace.substr(0, bar);
    const std::string category = bar == std::string::npos ? "" : selectedPlace.substr(bar + 1);
    // The real value name: the shown text cannot tell "Tool (x86)" from a
    // value Tool, nor "a=b" from "a-b".
    std::string name = chosen_.valueName;
    if (chosen_.place < 0) {
      const std::string label = Label19Text();
      name = Trim(label.substr(0, label.find('(')));
    }
    const auto& places = RegistryPassPlaces();
    const PassPlace* from =
        chosen_.place >= 0 && size_t(chosen_.place) < places.size() ? &places[size_t(chosen_.place)] : nullptr;
    // An added place's entry is named by its own key, never by a path made
    // from its category, and is deleted only where deleting is safe.
    const EntryRemoval removal = from && from->added ? RemovalOf(*from) : EntryRemoval::Delete;
    if ((!category.empty() && category[0] == 'S') || removal == EntryRemoval::InRegistryEditor) {
      if (app_.Ask("This key will not be deleted.\r\nYou must change the value manually. Would you "
                   "like to open the Registry for Editing now?",
                   MsgButtons::YesNo, "Caution") == MsgAnswer::Yes)
        app_.host.StartProcess(QuotedProgram(WindowsDirectory() + "regedit.exe"), kShowMinimized);
      return;
    }
    if (removal == EntryRemoval::Elsewhere) {
      app_.Ask(from->place->kind == PlaceKind::StartupFolder
                   ? "This entry will not be deleted.\r\nIt is a file in a Startup folder: remove it there."
                   : "This entry will not be deleted.\r\nIt is a scheduled task: remove it in the Task Scheduler.",
               MsgButtons::Ok, "Caution");
      return;
    }
    const auto in = FindNoCase(category, "in ");
    const std::string keyPath =
        from && from->added ? std::string(from->place->keyPath)
                            : "Software\\Microsoft\\Windows\\CurrentVersion\\" +
                                  (in == std::string::npos ? category : category.substr(in + 3));
    if (app_.Ask("WARNING!\r\nYou are about to Delete the key: " + name + "\r\nFrom: " + keyPath +
                     "\\\r\nDoing this may have unpredictable results!\r\n\r\nContinue?",
                 MsgButtons::YesNo) != MsgAnswer::Yes)
      return;
    // Only where the question said, and only the place the entry came from.
    if (from && EqualsNoCase(from->rootText, root) && EqualsNoCase(from->place->keyPath, keyPath))
      DeleteRegistryValue(chosen_.place, name);
    SetWindowTextA(Text4, "");
    SetWindowTextA(lblSigner, "");
    Command3.Enabled(false);
  }
  Command1_Click();
}

void RegWatchPage::cScnUpd_Click() {
  Busy busy(busy_);
  if (!busy.taken()) return;
  if (PendingView()) {
    // Only the listed files: the registry's findings stay for their own scan.
    std::vector<std::string> lines = List6Lines();
    if (!ScanPendingFiles(app_, lines) || app_.ended) return;
    FillList(List6, lines);
    return;
  }
  std::vector<std::string> lines = ListLines();
  const auto pass = ScanAndUpdateWarnings(app_, lines, pass_.warnings);
  if (pass && !app_.ended) ShowPass(*pass);
}

}  // namespace kv

namespace kv {

void RegWatchPage::lblTreeText(bool pending) {
  SetWindowTextA(lblTree, pending ? "Files changed on the next reboot:" : "Auto-start entries:");
}

void RegWatchPage::FillList(HWND list, const std::vector<std::string>& lines) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  FitListWidth(list);
}

void RegWatchPage::cMod_Click() {
  Busy busy(busy_);
  if (!busy.taken()) return;
  Command3.Enabled(false);
  Command11.Enabled(false);
  cScnUpd.Enabled(false);
  Command11.Caption(kScanAll);
  ShowWindow(treeHost.hwnd(), SW_HIDE);
  ShowWindow(List6, SW_SHOWNA);
  lblTreeText(true);
  const std::vector<std::string> lines = PendingViewLines(ReadPendingOperations());
  FillList(List6, lines);
  if (lines.size() < 2) {
    app_.Ask(kNothingPending);
    return;
  }
  Command11.Enabled(true);
}

void RegWatchPage::List6_Click() {
  const int selected = int(SendMessageA(List6, LB_GETCURSEL, 0, 0));
  if (selected <= 0) return;
  SetWindowTextA(Text4, ListLine(List6, selected).c_str());
}

}  // namespace kv
