// The check window's findings as a report-style list view. The list is
// virtual: it draws each row from the findings themselves when it is shown,
// so a hundred thousand findings cost no copy and no wait. Columns: name,
// folder, change, size, date modified, publisher; a click on a column header
// sorts by it; a context menu and keys act on the selected file, every
// outside effect through the Host.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "integrity/check_run.h"

namespace kv {

class App;

// A finding as one line of text: its path and the mark of its kind (changed
// files carry none). Logs, tests and outside checks read findings this way.
std::string FindingLine(const FileVerdict& verdict);

// The change column's word for a kind, and the line's mark for that word.
const char* ChangeWord(VerdictKind kind);
std::string MarkOfChangeWord(std::string_view word);

// The folder column's text of a path and the path again from name and folder.
std::string FolderOf(std::string_view path);
std::string PathOf(const std::string& folder, const std::string& name);

enum FindingColumn { kColName, kColFolder, kColChange, kColSize, kColModified, kColPublisher, kColumns };

// The context menu's commands.
enum FindingCommand { kCmdOpenFolder = 1, kCmdProperties, kCmdScanFile, kCmdCopyPath };

class FindingsList {
 public:
  using Source = std::function<const std::vector<FileVerdict>&()>;
  FindingsList(App& app, Source source);
  FindingsList(const FindingsList&) = delete;
  FindingsList& operator=(const FindingsList&) = delete;

  // The list view, a child of `parent` with the id; `timerId` is a timer of
  // the parent's that the parent hands to OnTimer.
  HWND Create(HWND parent, int id, UINT_PTR timerId);
  HWND hwnd() const { return list_; }
  // Column widths for the parent's DPI.
  void SetColumnWidths(UINT dpi);

  // The findings grew: the list's rows follow.
  void Sync();
  // The findings were replaced: the order and what was looked up go too.
  void Reset();

  int Rows() const;
  // A cell's text as the list shows it, read back from the control.
  std::string Cell(int row, int column) const;
  // Every row as its finding's line, built from the row's cells.
  std::vector<std::string> Lines() const;
  // The finding a row shows.
  size_t FindingAt(int row) const;

  // As a click on the column's header: the first click sorts ascending, the
  // next one on the same column descending. Equal rows keep their order.
  void SortBy(int column);
  int SortColumn() const { return sortColumn_; }
  bool Descending() const { return descending_; }

  void Select(int row);
  int Selected() const;
  // The context menu of the selected row at a point of the screen; (-1, -1)
  // puts it under the row, as the menu key and Shift+F10 do.
  void ShowMenu(int x, int y);
  void Run(FindingCommand command);

  // The parent's WM_NOTIFY from the list; true when handled, with its result.
  bool OnNotify(const NMHDR& header, LRESULT& result);
  void OnTimer();

  // What "Scan this file" does with the selected finding.
  std::function<void(const FileVerdict&)> ScanFile;

 private:
  struct Facts {
    bool there = false;
    uint64_t size = 0, writeTime = 0;
  };
  const FileVerdict* FindingOfRow(int row) const;
  const Facts& FactsOf(size_t finding);
  // Publisher text of a finding; empty and queued for a look-up when not yet known.
  std::string PublisherOf(size_t finding, bool queue);
  std::string CellText(int row, int column);
  void ShowSortMark();
  void RowsChanged();

  App& app_;
  Source source_;
  HWND list_ = nullptr, parent_ = nullptr;
  UINT_PTR timerId_ = 0;
  int rows_ = 0;
  // Finding index of each row once sorted; empty while in checking order.
  std::vector<uint32_t> order_;
  int sortColumn_ = -1;
  bool descending_ = false;
  // Size and date are taken when a row is first shown (or when sorted by
  // them), never for every finding of a run; the publisher only for rows on
  // screen, one look-up per timer tick.
  std::unordered_map<size_t, Facts> facts_;
  std::unordered_map<size_t, std::string> publishers_;
  std::vector<size_t> publisherQueue_;
};

}  // namespace kv
