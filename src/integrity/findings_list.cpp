#include "integrity/findings_list.h"

#include <algorithm>
#include <cstring>

#include "context/app.h"
#include "core/text.h"
#include "platform/date_text.h"
#include "platform/file_stamp.h"
#include "platform/files.h"
#include "platform/signature.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

struct ColumnLook {
  const char* title;
  int width96;
  int format;
};
constexpr ColumnLook kColumnLook[kColumns] = {
    {"Name", 150, LVCFMT_LEFT},         {"Folder", 190, LVCFMT_LEFT},
    {"Change", 80, LVCFMT_LEFT},        {"Size", 80, LVCFMT_RIGHT},
    {"Date modified", 130, LVCFMT_LEFT}, {"Publisher", 150, LVCFMT_LEFT},
};

// "1,234,567"
std::string Grouped(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// As the file manager writes sizes: whole kilobytes, rounded up.
std::string SizeText(uint64_t bytes) {
  if (bytes < 1024) return Grouped(bytes) + " bytes";
  return Grouped((bytes + 1023) / 1024) + " KB";
}

std::string DateText(uint64_t writeTime) {
  FILETIME utc{DWORD(writeTime), DWORD(writeTime >> 32)}, local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return {};
  const LocalTime t{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  return ShortDateText(t) + " " + TimeText(t);
}

bool LessNoCase(std::string_view a, std::string_view b) {
  const auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
    return static_cast<unsigned char>(up(x)) < static_cast<unsigned char>(up(y));
  });
}

bool Readable(const FileVerdict& v) {
  return v.kind != VerdictKind::Missing && v.kind != VerdictKind::Unreadable;
}

}  // namespace

// --- texts ------------------------------------------------------------------------

const char* ChangeWord(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::New: return "New";
    case VerdictKind::Changed: return "Changed";
    case VerdictKind::Unreadable: return "Unreadable";
    case VerdictKind::Missing: return "Missing";
    default: return "";
  }
}

std::string MarkOfChangeWord(std::string_view word) {
  if (word == "New") return " *NEW*";
  if (word == "Unreadable") return " *UNREADABLE*";
  if (word == "Missing") return " *MISSING*";
  return {};
}

std::string FindingLine(const FileVerdict& verdict) {
  return std::string(verdict.path()) + MarkOfChangeWord(ChangeWord(verdict.kind));
}

// The folder without its closing "\", but for a drive's root, which keeps it.
std::string FolderOf(std::string_view path) {
  std::string folder(path.substr(0, path.size() - NameInFolder(path).size()));
  if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':' &&
      folder[folder.size() - 2] != '\\')
    folder.pop_back();
  return folder;
}

std::string PathOf(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

// --- the control ----------------------------------------------------------------------

FindingsList::FindingsList(App& app, Source source) : app_(app), source_(std::move(source)) {}

HWND FindingsList::Create(HWND parent, int id, UINT_PTR timerId) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  parent_ = parent;
  timerId_ = timerId;
  // The window text is the list's name for screen readers.
  list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "Files that failed the check",
                          WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS,
                          0, 0, 1, 1, parent, HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  for (int c = 0; c < kColumns; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumnLook[c].format;
    column.cx = kColumnLook[c].width96;
    column.pszText = const_cast<char*>(kColumnLook[c].title);
    column.iSubItem = c;
    SendMessageA(list_, LVM_INSERTCOLUMNA, WPARAM(c), LPARAM(&column));
  }
  return list_;
}

void FindingsList::SetColumnWidths(UINT dpi) {
  for (int c = 0; c < kColumns; ++c) ListView_SetColumnWidth(list_, c, MulDiv(kColumnLook[c].width96, int(dpi), 96));
}

void FindingsList::Sync() {
  const size_t count = source_().size();
  if (int(count) == rows_) return;
  if (int(count) < rows_) {
    Reset();
    return;
  }
  // Rows found while sorted come last, in checking order.
  if (sortColumn_ >= 0)
    for (size_t i = size_t(rows_); i < count; ++i) order_.push_back(uint32_t(i));
  rows_ = int(count);
  SendMessageA(list_, LVM_SETITEMCOUNT, WPARAM(rows_), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void FindingsList::Reset() {
  order_.clear();
  order_.shrink_to_fit();
  sortColumn_ = -1;
  descending_ = false;
  facts_.clear();
  publishers_.clear();
  publisherQueue_.clear();
  if (parent_) KillTimer(parent_, timerId_);
  rows_ = int(source_().size());
  SendMessageA(list_, LVM_SETITEMCOUNT, WPARAM(rows_), 0);
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ShowSortMark();
  InvalidateRect(list_, nullptr, TRUE);
}

int FindingsList::Rows() const { return rows_; }

size_t FindingsList::FindingAt(int row) const { return order_.empty() ? size_t(row) : order_[size_t(row)]; }

const FileVerdict* FindingsList::FindingOfRow(int row) const {
  const auto& findings = source_();
  if (row < 0 || row >= rows_) return nullptr;
  const size_t i = FindingAt(row);
  return i < findings.size() ? &findings[i] : nullptr;
}

// Taken when the row is first shown rather than when the verdict was made:
// a run with a hundred thousand findings would otherwise ask the file system
// once more for each and keep the answers, for rows nobody may look at. The
// row then shows the file as it is now, as its folder and properties do.
const FindingsList::Facts& FindingsList::FactsOf(size_t finding) {
  const auto found = facts_.find(finding);
  if (found != facts_.end()) return found->second;
  Facts facts;
  const FileVerdict& v = source_()[finding];
  if (v.kind != VerdictKind::Missing) {
    if (const auto stamp = StampOf(std::string(v.path()))) facts = {true, stamp->size, stamp->writeTime};
  }
  return facts_.emplace(finding, facts).first->second;
}

std::string FindingsList::PublisherOf(size_t finding, bool queue) {
  if (!Readable(source_()[finding])) return {};
  if (const auto found = publishers_.find(finding); found != publishers_.end()) return found->second;
  if (queue && std::find(publisherQueue_.begin(), publisherQueue_.end(), finding) == publisherQueue_.end()) {
    publisherQueue_.push_back(finding);
    SetTimer(parent_, timerId_, 1, nullptr);
  }
  return {};
}

// One signature a tick, and only of a row still on screen: a catalog look-up
// can take tens of milliseconds, and the list answers between them.
void FindingsList::OnTimer() {
  const int top = ListView_GetTopIndex(list_);
  const int last = top + ListView_GetCountPerPage(list_);
  while (!publisherQueue_.empty()) {
    const size_t finding = publisherQueue_.front();
    publisherQueue_.erase(publisherQueue_.begin());
    int row = -1;
    for (int r = std::max(top, 0); r <= last && r < rows_; ++r)
      if (FindingAt(r) == finding) row = r;
    if (row < 0 || finding >= source_().size()) continue;
    const FileSignature signature = VerifyFileSignature(std::string(source_()[finding].path()));
    std::string text;
    switch (signature.state) {
      case SignatureState::Signed: text = signature.publisher; break;
      case SignatureState::NotSigned: text = "Not signed"; break;
      case SignatureState::NotValid: text = "Signature not valid"; break;
      case SignatureState::FileNotFound: break;
    }
    publishers_[finding] = text;
    ListView_RedrawItems(list_, row, row);
    break;
  }
  if (publisherQueue_.empty()) KillTimer(parent_, timerId_);
}

std::string FindingsList::CellText(int row, int column) {
  const FileVerdict* v = FindingOfRow(row);
  if (!v) return {};
  const size_t finding = FindingAt(row);
  switch (column) {
    case kColName: return NameInFolder(v->path());
    case kColFolder: return FolderOf(v->path());
    case kColChange: return ChangeWord(v->kind);
    case kColSize: {
      const Facts& f = FactsOf(finding);
      return f.there ? SizeText(f.size) : std::string();
    }
    case kColModified: {
      const Facts& f = FactsOf(finding);
      return f.there ? DateText(f.writeTime) : std::string();
    }
    case kColPublisher: return PublisherOf(finding, true);
    default: return {};
  }
}

std::string FindingsList::Cell(int row, int column) const {
  std::string text(32768, '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = int(text.size());
  const LRESULT n = SendMessageA(list_, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
  text.resize(size_t(std::max<LRESULT>(n, 0)));
  return text;
}

std::vector<std::string> FindingsList::Lines() const {
  std::vector<std::string> lines;
  const int n = int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
  lines.reserve(size_t(std::max(n, 0)));
  for (int row = 0; row < n; ++row)
    lines.push_back(PathOf(Cell(row, kColFolder), Cell(row, kColName)) + MarkOfChangeWord(Cell(row, kColChange)));
  return lines;
}

// --- sorting -----------------------------------------------------------------------------

void FindingsList::SortBy(int column) {
  if (column < 0 || column >= kColumns) return;
  const auto& findings = source_();
  descending_ = column == sortColumn_ && !descending_;
  sortColumn_ = column;
  const int selected = Selected();
  const size_t selectedFinding = selected >= 0 ? FindingAt(selected) : size_t(-1);
  std::vector<uint32_t> order(static_cast<size_t>(rows_));
  for (size_t i = 0; i < order.size(); ++i) order[i] = uint32_t(i);
  // Keys of every row are needed: sizes and dates are taken for all now.
  if (column == kColSize || column == kColModified)
    for (uint32_t i : order) FactsOf(i);
  const auto before = [&](uint32_t a, uint32_t b) -> bool {
    const FileVerdict& x = findings[a];
    const FileVerdict& y = findings[b];
    switch (column) {
      case kColName: return LessNoCase(NameInFolder(x.path()), NameInFolder(y.path()));
      case kColFolder: return LessNoCase(FolderOf(x.path()), FolderOf(y.path()));
      case kColChange: return std::string_view(ChangeWord(x.kind)) < ChangeWord(y.kind);
      case kColSize: return facts_.at(a).size < facts_.at(b).size;
      case kColModified: return facts_.at(a).writeTime < facts_.at(b).writeTime;
      default: {
        // Publishers only known for rows that were on screen; the others last.
        const auto px = publishers_.find(a), py = publishers_.find(b);
        if ((px == publishers_.end()) != (py == publishers_.end())) return py == publishers_.end();
        return px != publishers_.end() && LessNoCase(px->second, py->second);
      }
    }
  };
  if (descending_)
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return before(b, a); });
  else
    std::stable_sort(order.begin(), order.end(), before);
  order_ = std::move(order);
  ShowSortMark();
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (selectedFinding != size_t(-1)) {
    const auto at = std::find(order_.begin(), order_.end(), uint32_t(selectedFinding));
    if (at != order_.end()) Select(int(at - order_.begin()));
  }
  InvalidateRect(list_, nullptr, TRUE);
}

void FindingsList::ShowSortMark() {
  HWND header = ListView_GetHeader(list_);
  for (int c = 0; c < kColumns; ++c) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, WPARAM(c), LPARAM(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (c == sortColumn_) item.fmt |= descending_ ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageA(header, HDM_SETITEMA, WPARAM(c), LPARAM(&item));
  }
}

// --- selection, menu and commands ------------------------------------------------------

void FindingsList::Select(int row) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  if (row < 0 || row >= rows_) return;
  ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, row, FALSE);
}

int FindingsList::Selected() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

void FindingsList::ShowMenu(int x, int y) {
  const FileVerdict* v = FindingOfRow(Selected());
  if (!v) return;
  if (x == -1 && y == -1) {
    RECT r{};
    ListView_GetItemRect(list_, Selected(), &r, LVIR_LABEL);
    POINT at{r.left, r.bottom};
    ClientToScreen(list_, &at);
    x = at.x;
    y = at.y;
  }
  const bool there = v->kind != VerdictKind::Missing;
  const std::vector<MenuItem> items = {{"&Open containing folder", kCmdOpenFolder, true},
                                       {"P&roperties", kCmdProperties, there},
                                       {"&Scan this file", kCmdScanFile, Readable(*v)},
                                       {},
                                       {"&Copy path\tCtrl+C", kCmdCopyPath, true}};
  if (const int chosen = app_.host.ChooseFromMenu(parent_, items, x, y))
    Run(FindingCommand(chosen));
}

void FindingsList::Run(FindingCommand command) {
  const FileVerdict* v = FindingOfRow(Selected());
  if (!v) return;
  // The findings may be replaced while an action waits: it works on a copy.
  const FileVerdict file = *v;
  switch (command) {
    case kCmdOpenFolder: {
      const std::string windows = WindowsDirectory();
      if (!windows.empty())
        app_.host.StartProcess("\"" + windows + "explorer.exe\" /select,\"" + std::string(file.path()) + "\"",
                               kShowNormal);
      break;
    }
    case kCmdProperties:
      if (file.kind != VerdictKind::Missing) app_.host.ShowFileProperties(std::string(file.path()), parent_);
      break;
    case kCmdScanFile:
      if (Readable(file) && ScanFile) ScanFile(file);
      break;
    case kCmdCopyPath: app_.host.CopyText(std::string(file.path()), parent_); break;
  }
}

// --- notifications --------------------------------------------------------------------------

bool FindingsList::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != list_) return false;
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto& info = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header));
      if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        const std::string text = CellText(info.item.iItem, info.item.iSubItem);
        const size_t n = std::min(text.size(), size_t(info.item.cchTextMax - 1));
        memcpy(info.item.pszText, text.data(), n);
        info.item.pszText[n] = '\0';
      }
      return true;
    }
    case LVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
      if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        const std::wstring text = WideText(CellText(info.item.iItem, info.item.iSubItem));
        const size_t n = std::min(text.size(), size_t(info.item.cchTextMax - 1));
        wmemcpy(info.item.pszText, text.data(), n);
        info.item.pszText[n] = L'\0';
      }
      return true;
    }
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: {
      // Typing a name's first letters goes to the next row whose name starts so.
      const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
      std::string prefix;
      if (header.code == LVN_ODFINDITEMW) {
        const auto& wide = reinterpret_cast<const NMLVFINDITEMW&>(header);
        if (wide.lvfi.psz) prefix = NarrowText(wide.lvfi.psz);
      } else if (find.lvfi.psz) {
        prefix = find.lvfi.psz;
      }
      result = -1;
      if (prefix.empty() || rows_ == 0) return true;
      for (int k = 0; k < rows_; ++k) {
        const int row = (std::max(find.iStart, 0) + k) % rows_;
        const std::string name = NameInFolder(FindingOfRow(row)->path());
        if (name.size() >= prefix.size() && EqualsNoCase(name.substr(0, prefix.size()), prefix)) {
          result = row;
          break;
        }
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      SortBy(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return true;
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      if (key.wVKey == 'C' && (GetKeyState(VK_CONTROL) & 0x8000)) Run(kCmdCopyPath);
      return true;
    }
  }
  return false;
}

}  // namespace kv
