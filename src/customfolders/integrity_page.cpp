#include "customfolders/integrity_page.h"

#include <algorithm>

#include "context/app.h"
#include "context/settings.h"
#include "controls/control_table.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "customfolders/folder_scan.h"
#include "customfolders/iCust.h"
#include "customfolders/intF_ids.h"
#include "integrity/baseline_files.h"
#include "integrity/baseline_scan.h"
#include "integrity/check_request.h"
#include "integrity/intCheck.h"
#include "platform/files.h"

namespace kv {

using controls::MoveControl, controls::Scale, controls::SetControlFont;
using namespace intf_ids;

namespace {

const char* const kCategoryCaptions[6] = {
    "Dynamic Linked Library (DLL)", "Driver Files (DRV)",          "System Files (SYS, 386)",
    "ActiveX Files (OCX)",          "Executable Files (EXE, COM)", "Exploited File Types (PIF, SCR)"};

void DrawCheckMark(art::Raster& r, const Picture::Look& look) {
  const float s = float(look.dpi) / 96.0f, w = float(r.Width()), h = float(r.Height());
  const float c = std::min(w, h) / 2;
  r.FillCircle(w / 2, h / 2, c - 0.5f, art::palette::kAccent);
  r.Polyline({{w / 2 - 4.5f * s, h / 2}, {w / 2 - 1.0f * s, h / 2 + 3.5f * s},
              {w / 2 + 5.0f * s, h / 2 - 3.5f * s}},
             2.0f * s, art::palette::kWhite);
}

using controls::ControlRow;
constexpr const char* kButton = cButton::kClassName;
template <size_t N>
ControlRow<IntegrityPage> Category() {
  return {&controls::Element<&IntegrityPage::category, N>, {kCategory + int(N), kButton, kCategoryCaptions[N]}};
}

// Created in tab order.
const ControlRow<IntegrityPage> kRows[] = {
    {&IntegrityPage::Label5, {0, "STATIC", "Integrity Checker - Choose Folder to Scan", controls::kLabelStyle}},
    {&IntegrityPage::Combo1, {kCombo1, "COMBOBOX", "Folder to scan", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS}},
    {&IntegrityPage::addRem, {kAddRem, kButton, "Add/Remove Custom Folders..."}},
    {&IntegrityPage::Label7, {0, "STATIC", "Choose File Types to Scan", controls::kLabelStyle}},
    Category<0>(), Category<1>(), Category<2>(), Category<3>(), Category<4>(), Category<5>(),
    {&IntegrityPage::bFULL, {kBFull, kButton, "Select All"}},
    {&IntegrityPage::bCLEAR, {kBClear, kButton, "Clear Selections"}},
    {&IntegrityPage::bSCAN, {kBScan, kButton, "Scan Folder Now"}},
};

}  // namespace

IntegrityPage::IntegrityPage(Panel& panel, App& app, bool plain) : panel_(panel), app_(app) {
  controls::MakeControls(*this, panel.hwnd(), kRows, plain);
  for (int i = 0; i < 6; ++i) {
    category[size_t(i)].Click = [this, i] { ToggleCategory(i); };
    check[size_t(i)].Create(panel.hwnd(), 0, panel.Background(), DrawCheckMark);
    // Each mark comes right after its button, where a screen reader meets it.
    SetWindowPos(check[size_t(i)].hwnd(), category[size_t(i)].hwnd(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Shown only while chosen, so a screen reader finds the chosen ones.
    SetWindowTextA(check[size_t(i)].hwnd(), (std::string("Chosen: ") + kCategoryCaptions[i]).c_str());
    ShowMark(i, true);  // the page opens with every category chosen
  }
  addRem.Click = [this] { addRem_Click(); };
  bFULL.Click = [this] { bFULL_Click(); };
  bCLEAR.Click = [this] { bCLEAR_Click(); };
  bSCAN.Click = [this] { bSCAN_Click(); };
  panel.Command = [this](int id, int code, HWND) {
    if (id == kCombo1 && code == CBN_SELCHANGE) Combo1_Click();
  };
}

void IntegrityPage::norms() {
  for (cButton* b : {&addRem, &bFULL, &bCLEAR, &bSCAN}) b->downStatus(1);
  for (cButton& b : category) b.downStatus(1);
}

void IntegrityPage::Layout(const RECT& area, UINT dpi) {
  if (fontDpi_ != dpi || !bodyFont_) {
    fontDpi_ = dpi;
    bodyFont_ = ui::MakeFont(9, FW_NORMAL, dpi);
    boldFont_ = ui::MakeFont(10, FW_SEMIBOLD, dpi);
    SetControlFont(Label5, boldFont_.get());
    SetControlFont(Label7, boldFont_.get());
    SetControlFont(Combo1, bodyFont_.get());
  }
  const int left = int(area.left), width = int(area.right - area.left);
  const int line = controls::LineHeight(boldFont_.get()) + Scale(4, dpi);
  const int buttonH = Scale(32, dpi), gap = Scale(12, dpi);
  int y = area.top;
  MoveControl(Label5, left, y, width, line);
  y += line + Scale(6, dpi);
  const int addW = Scale(220, dpi);
  const int comboW = std::max(Scale(120, dpi), width - addW - gap);
  MoveControl(Combo1, left, y + Scale(4, dpi), comboW, Scale(240, dpi));
  MoveControl(addRem.hwnd(), left + comboW + gap, y, addW, buttonH);
  y += buttonH + Scale(22, dpi);
  MoveControl(Label7, left, y, width, line);
  y += line + Scale(8, dpi);

  // Two columns of three categories, each mark beside its button.
  const int mark = Scale(22, dpi), markGap = Scale(8, dpi);
  const int columnW = (width - gap) / 2;
  const int categoryW = std::min(Scale(260, dpi), columnW - mark - markGap);
  for (int i = 0; i < 6; ++i) {
    const int x = left + (i / 3) * (columnW + gap);
    const int rowY = y + (i % 3) * (buttonH + Scale(10, dpi));
    check[size_t(i)].Move(x, rowY + (buttonH - mark) / 2, mark, mark);
    MoveControl(category[size_t(i)].hwnd(), x + mark + markGap, rowY, categoryW, buttonH);
  }
  y += 3 * (buttonH + Scale(10, dpi)) + Scale(14, dpi);
  const int smallW = Scale(150, dpi), scanW = Scale(180, dpi);
  MoveControl(bFULL.hwnd(), left, y, smallW, buttonH);
  MoveControl(bCLEAR.hwnd(), left + smallW + gap, y, smallW, buttonH);
  MoveControl(bSCAN.hwnd(), std::max(left + 2 * (smallW + gap), int(area.right) - scanW), y, scanW, buttonH);
}

// --- the folder list ------------------------------------------------------------

std::vector<std::string> IntegrityPage::Folders() const {
  std::vector<std::string> out;
  const int n = int(SendMessageA(Combo1, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) out.push_back(FolderOf(i));
  return out;
}

std::string IntegrityPage::FolderOf(int entry) const {
  std::string s(size_t(std::max<LRESULT>(0, SendMessageA(Combo1, CB_GETLBTEXTLEN, WPARAM(entry), 0))) + 1, '\0');
  const LRESULT n = SendMessageA(Combo1, CB_GETLBTEXT, WPARAM(entry), LPARAM(s.data()));
  s.resize(n < 0 ? 0 : size_t(n));
  return s;
}

int IntegrityPage::SlotOf(int entry) const {
  return int(SendMessageA(Combo1, CB_GETITEMDATA, WPARAM(entry), 0));
}

int IntegrityPage::Chosen() const { return int(SendMessageA(Combo1, CB_GETCURSEL, 0, 0)); }

void IntegrityPage::Choose(int entry) {
  SendMessageA(Combo1, CB_SETCURSEL, WPARAM(entry), 0);
  Combo1_Click();
}

void IntegrityPage::loadf() {
  EnsureSettingsFile(app_);
  SendMessageA(Combo1, CB_RESETCONTENT, 0, 0);
  SendMessageA(Combo1, CB_ADDSTRING, 0, LPARAM(SystemDirectory().c_str()));
  SendMessageA(Combo1, CB_SETITEMDATA, 0, 0);
  for (int slot = 1; slot <= iCust::kSlots; ++slot) {
    const std::string path = Trim(SettingsEntry(app_, "path", Dec(slot)));
    if (path == "NULL") continue;
    const LRESULT at = SendMessageA(Combo1, CB_ADDSTRING, 0, LPARAM(path.c_str()));
    if (at >= 0) SendMessageA(Combo1, CB_SETITEMDATA, WPARAM(at), LPARAM(slot));
  }
  SendMessageA(Combo1, CB_SETCURSEL, 0, 0);
}

// The list is only rebuilt when the custom-folders window is saved or
// closed; until then an entry may name a folder its slot no longer holds
// (removed, or replaced by one added in its place).
bool IntegrityPage::SlotStillHolds(int slot, const std::string& folder) const {
  return EqualsNoCase(Trim(SettingsEntry(app_, "path", Dec(slot))), folder);
}

void IntegrityPage::Combo1_Click() {
  const int entry = Chosen();
  if (entry <= 0) return;
  const int slot = SlotOf(entry);
  const std::string folder = FolderOf(entry);
  if (!SlotStillHolds(slot, folder)) {
    loadf();
    return;
  }
  const std::string file = FolderBaselineFile(app_, slot);
  if (!FileExists(file) && !FirstCustomFolderScan(app_, folder, file, slot)) {
    if (!app_.ended) SendMessageA(Combo1, CB_SETCURSEL, 0, 0);
    return;
  }
  if (app_.ended) return;
  const CategoryList args = ParseCategoryList(SettingsEntry(app_, "args", Dec(slot)));
  for (int i = 0; i < 6; ++i) ShowMark(i, args.category[size_t(i)]);
}

// --- categories -------------------------------------------------------------------

void IntegrityPage::ToggleCategory(int mark) {
  if (mark < 0 || mark >= 6) return;
  ShowMark(mark, !MarkShown(mark));
}

// The mark is the choice; its button tells assistive technology the same.
void IntegrityPage::ShowMark(int mark, bool shown) {
  check[size_t(mark)].Visible(shown);
  category[size_t(mark)].Checked(shown);
}

void IntegrityPage::bFULL_Click() {
  for (int i = 0; i < 6; ++i) ShowMark(i, true);
}

void IntegrityPage::bCLEAR_Click() {
  for (int i = 0; i < 6; ++i) ShowMark(i, false);
}

void IntegrityPage::addRem_Click() {
  CustomFolders(app_).Open([this] { loadf(); }, addRem.hwnd());
}

// --- the check ----------------------------------------------------------------------

void IntegrityPage::bSCAN_Click() {
  EnsureBaseline(app_);
  if (app_.ended) return;
  CheckFolder chosen;  // the system directory unless a custom folder is chosen
  bool any = false;
  for (int i = 0; i < 6; ++i) {
    chosen.categories[size_t(i)] = MarkShown(i);
    any = any || MarkShown(i);
  }
  if (!any) {
    app_.Ask("Please select the files to scan.");
    return;
  }
  intCheck& window = CheckWindow(app_);
  window.StopForManualRun(true);
  if (app_.ended) return;
  // Read after the stop: its question may have let the list be rebuilt.
  const int entry = Chosen();
  if (entry > 0) {
    const int slot = SlotOf(entry);
    const std::string folder = FolderOf(entry);
    if (!SlotStillHolds(slot, folder)) {
      loadf();
      return;
    }
    // Without its own baseline (the first scan declined, the file unreadable)
    // the folder is not checked: the baseline in memory is another folder's.
    if (!LoadFolderBaseline(app_, FolderBaselineFile(app_, slot))) {
      if (app_.ended) return;
      app_.folderBaseline = Baseline();
      SendMessageA(Combo1, CB_SETCURSEL, 0, 0);
      return;
    }
    if (app_.ended) return;
    chosen.path = folder;
    chosen.slot = slot;
  }
  CheckWindow(app_).lUp(UserCheck(CheckReason::Manual, std::move(chosen)));
}

}  // namespace kv
