#include "customfolders/iCust.h"

#include "controls/control_table.h"
#include "controls/control_text.h"
#include "context/app.h"
#include "context/settings.h"
#include "controls/dialog_keys.h"
#include "controls/palette.h"
#include "controls/system_look.h"
#include "core/text.h"
#include "customfolders/iCust_ids.h"
#include "platform/files.h"

namespace kv {

namespace {

using namespace icust_ids;

constexpr char kClassName[] = "KorvanelCustomFolders";
constexpr char kNoArgs[] = "0,0,0,0,0,0,0";
constexpr char kEmptyMark[] = ") Empty:";
constexpr controls::Typeface kText{"Segoe UI", 9};
constexpr controls::Typeface kBold{"Segoe UI", 9, FW_SEMIBOLD};
constexpr SIZE kClient{560, 446};  // at 96 DPI
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
const char* const kCategoryItems[6] = {"Scan DLL Files",      "Scan DRV Files",
                                       "Scan 386, SYS Files", "Scan OCX Files",
                                       "Scan EXE, COM Files", "Scan SCR, PIF Files"};
const char* const kBaselineEndings[] = {".dat",      ".bak",      "-md4.dat",    "-md4.bak",
                                        "-md5.dat",  "-md5.bak",  "-sha1.dat",   "-sha1.bak",
                                        "-sha256.dat", "-sha256.bak"};

std::string SlotText(int slot) { return Dec(slot); }

// Every baseline file of the slot, whatever algorithm made it, and its
// backup: a folder that takes the slot later must never be checked against
// (or offered the backup of) another folder's baseline.
void DeleteSlotBaselines(const std::string& appDir, int slot) {
  const std::string data = appDir + "Data\\";
  const std::string prefix = SlotText(slot);
  for (const char* ending : kBaselineEndings) DeleteFileAt(data + prefix + ending);
  const auto names = ListDirectory(data);
  if (!names) return;
  for (const std::string& name : *names) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const char next = name[prefix.size()];
    if ((next == '.' || next == '-') && (EndsWithNoCase(name, ".dat") || EndsWithNoCase(name, ".bak")))
      DeleteFileAt(data + name);
  }
}

}  // namespace

iCust::iCust(App& app) : app_(app) {
  static const controls::Brush background = controls::SolidBrush(controls::palette::kCheckWindow);
  navy_ = controls::SolidBrush(kNavy);
  red_ = controls::SolidBrush(kRed);
  controls::UseDialogKeys(kClassName);
  Create(controls::WindowClass{kClassName, 0, background.get(), true}, WS_EX_CONTROLPARENT,
         "Add/Remove Custom Integrity Scan Folders",
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, 600, 500, nullptr);
  SizeClientTo(kClient);
  CreateControls();
}

iCust::~iCust() { Destroy(); }

void iCust::CreateControls() {
  using controls::kLabelStyle, controls::kListStyle;
  constexpr DWORD kBox = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
  constexpr DWORD kMulti = kListStyle | LBS_MULTIPLESEL;
  constexpr const char* kButton = cButton::kClassName;
  const bool plain = app_.edition.plainControls;
  // Created in tab order.
  const controls::ControlRow<iCust> rows[] = {
      {&iCust::Label2, {0, "STATIC", "Custom Folder List:", kLabelStyle, 16, 12, 300, 18, kBold}},
      {&iCust::List1, {kList1, "LISTBOX", "Custom Folder List", kListStyle, 16, 32, 528, 168, kText, "", WS_EX_CLIENTEDGE}},
      {&iCust::Label3, {0, "STATIC", "Click on a Folder, then Edit its properties below", kLabelStyle, 16, 206, 528, 18, kText}},
      {&iCust::Label1, {0, "STATIC", "Currently Selected:", kLabelStyle | SS_ENDELLIPSIS, 16, 226, 528, 18, kBold}},
      {&iCust::Check1, {kCheck1, "BUTTON", "Scan this Folder at Startup (AutoLoad)", kBox, 16, 254, 260, 22, kText}},
      {&iCust::List2, {kList2, "LISTBOX", "Categories checked at startup", kMulti, 16, 280, 260, 100, kText, "", WS_EX_CLIENTEDGE}},
      {&iCust::Check2, {kCheck2, "BUTTON", "Scan this folder at Secure Shut Down", kBox, 284, 254, 260, 22, kText}},
      {&iCust::List4, {kList4, "LISTBOX", "Categories checked at secure shut down", kMulti, 284, 280, 260, 100, kText, "", WS_EX_CLIENTEDGE}},
      {&iCust::cButton2, {kCButton2, kButton, "Add Folder...", 0, 16, 396, 140, 32}},
      {&iCust::Command2, {kCommand2, kButton, "Remove Folder", 0, 164, 396, 140, 32}},
      {&iCust::Command3, {kCommand3, kButton, plain ? "Save and Exit" : "Save All Settings and Exit", 0, 334, 396, 210, 32}},
  };
  MakeControls(rows, plain);
  // The two category boxes show their state in their own colours, which a
  // themed box would not draw.
  for (HWND box : {Check1, Check2}) controls::DrawUnthemed(box);
  for (HWND l : {List2, List4})
    for (const char* item : kCategoryItems) SendMessageA(l, LB_ADDSTRING, 0, LPARAM(item));
  cButton2.Click = [this] { cButton2_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  CategoryBoxClicked(Check1, List2);
  CategoryBoxClicked(Check2, List4);
}

void iCust::Open(std::function<void()> loadf, HWND opener) {
  if (loadf) loadf_ = std::move(loadf);
  if (!filled_) startup();
  OpenOver(opener);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetFocus(List1);
}

bool iCust::Visible() const { return IsWindowVisible(hwnd_); }

// --- controls ---------------------------------------------------------------

std::string iCust::Text(HWND control) { return controls::ControlText(control); }

std::vector<std::string> iCust::Lines() const { return controls::ListLines(List1); }

int iCust::Selected() const { return int(SendMessageA(List1, LB_GETCURSEL, 0, 0)); }

void iCust::Select(int line) {
  SendMessageA(List1, LB_SETCURSEL, WPARAM(line), 0);
  List1_Click();
}

bool iCust::Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void iCust::SetChecked(HWND box, bool on) {
  SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool iCust::ItemSelected(HWND list, int item) {
  return SendMessageA(list, LB_GETSEL, WPARAM(item), 0) > 0;
}
void iCust::SetItemSelected(HWND list, int item, bool on) {
  SendMessageA(list, LB_SETSEL, on ? TRUE : FALSE, LPARAM(item));
}

void iCust::SetLine(int line, const std::string& text) {
  const int selected = Selected();
  SendMessageA(List1, LB_DELETESTRING, WPARAM(line), 0);
  SendMessageA(List1, LB_INSERTSTRING, WPARAM(line), LPARAM(text.c_str()));
  if (selected == line) SendMessageA(List1, LB_SETCURSEL, WPARAM(line), 0);
}

// --- procedures ---------------------------------------------------------------

void iCust::startup() {
  fillingControls = true;
  SendMessageA(List1, LB_RESETCONTENT, 0, 0);
  for (int slot = 1; slot <= kSlots; ++slot) {
    const std::string section = SlotText(slot);
    const std::string path = Trim(SettingsEntry(app_, "path", section));
    std::string args = SettingsEntry(app_, "args", section);
    std::string args2 = SettingsEntry(app_, "args2", section);
    if (args.empty()) args = kNoArgs;
    if (args2.empty()) args2 = kNoArgs;
    const std::string line = path == "NULL" ? section + kEmptyMark : section + ") " + path;
    SendMessageA(List1, LB_ADDSTRING, 0, LPARAM(line.c_str()));
    List3[size_t(slot - 1)] = args;
    List5[size_t(slot - 1)] = args2;
  }
  SetWindowTextA(Label1, "Currently Selected:");
  fillingControls = false;
  settingsEdited = false;
  filled_ = true;
}

void iCust::cButton2_Click() {
  settingsEdited = true;
  std::string folder = app_.host.BrowseForFolder("Please Choose a Folder to Add");
  if (folder.empty()) return;
  if (folder.back() != '\\') folder += '\\';
  if (EqualsNoCase(folder, SystemDirectory())) {
    app_.AskOver(hwnd_, "This is the default folder that Korvanel scans. It cannot be added to the Custom "
             "Integrity Checker");
    return;
  }
  const std::vector<std::string> lines = Lines();
  for (const std::string& line : lines) {
    if (line.size() > 3 && EqualsNoCase(folder, Trim(std::string_view(line).substr(3)))) {
      app_.AskOver(hwnd_, "This folder is already being scanned.");
      return;
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(kEmptyMark) == std::string::npos) continue;
    SetLine(int(i), SlotText(int(i) + 1) + ") " + folder);
    app_.AskOver(hwnd_, "Folder Added.");
    return;
  }
}

void iCust::Command2_Click() {
  settingsEdited = true;
  const int line = Selected();
  if (line < 0 || line >= kSlots) return;
  if (Lines()[size_t(line)].find(kEmptyMark) != std::string::npos) return;
  if (app_.AskOver(hwnd_, "Are you sure you want to remove this folder? Doing so will lose all Integrity "
               "Checker data for this folder!",
               MsgButtons::OkCancel, "Caution!") == MsgAnswer::Cancel)
    return;
  // Every step is tried whatever the one before it managed.
  EnsureSettingsFile(app_);
  const int slot = line + 1;
  const std::string section = SlotText(slot);
  WriteEntry(app_, app_.settingsFile, "path", "NULL", section);
  WriteEntry(app_, app_.settingsFile, "args", kNoArgs, section);
  WriteEntry(app_, app_.settingsFile, "args2", kNoArgs, section);
  SetLine(line, section + kEmptyMark);
  List3[size_t(line)] = List5[size_t(line)] = kNoArgs;
  DeleteSlotBaselines(app_.dataRoot, slot);
}

void iCust::ShowValues(const std::string& value, HWND box, HWND list) {
  const std::vector<std::string> values = Split(value, ',');
  for (int i = 0; i < 6; ++i)
    SetItemSelected(list, i, size_t(i) < values.size() && values[size_t(i)] == "1");
  SetChecked(box, values.size() > 6 && values[6] == "1");
  CategoryBoxClicked(box, list);
}

void iCust::List1_Click() {
  fillingControls = true;
  const int line = Selected();
  if (line >= 0 && line < kSlots) {
    const std::string text = Lines()[size_t(line)];
    const bool empty = text.find(kEmptyMark) != std::string::npos;
    EnableWindow(Check1, !empty);
    EnableWindow(Check2, !empty);
    ShowValues(List3[size_t(line)], Check1, List2);
    ShowValues(List5[size_t(line)], Check2, List4);
    SetWindowTextA(Label1, ("Currently Selected: " + text).c_str());
  }
  fillingControls = false;
}

// The box's colours say whether its categories count; a box that is off
// greys its list out.
void iCust::CategoryBoxClicked(HWND box, HWND list) {
  EnableWindow(list, Checked(box));
  InvalidateRect(box, nullptr, TRUE);
}

void iCust::Check1_Click() {
  CategoryBoxClicked(Check1, List2);
  WriteBack(Check1, List2, List3);
}

void iCust::Check2_Click() {
  CategoryBoxClicked(Check2, List4);
  WriteBack(Check2, List4, List5);
}

void iCust::List2_Click() { WriteBack(Check1, List2, List3); }
void iCust::List4_Click() { WriteBack(Check2, List4, List5); }

void iCust::WriteBack(HWND box, HWND list, std::array<std::string, kSlots>& values) {
  if (fillingControls) return;
  settingsEdited = true;
  const int line = Selected();
  if (line < 0 || line >= kSlots) {
    app_.AskOver(hwnd_, "Please select a folder to edit its properties!");
    return;
  }
  std::string value;
  for (int i = 0; i < 6; ++i) value += ItemSelected(list, i) ? "1," : "0,";
  value += Checked(box) ? "1" : "0";
  values[size_t(line)] = value;
}

void iCust::Command3_Click() {
  settingsEdited = false;
  EnsureSettingsFile(app_);
  const std::vector<std::string> lines = Lines();
  for (int slot = 1; slot <= kSlots && size_t(slot) <= lines.size(); ++slot) {
    const std::string& line = lines[size_t(slot - 1)];
    const std::string section = SlotText(slot);
    const std::string path = line.find(kEmptyMark) != std::string::npos
                                 ? std::string("NULL")
                                 : Trim(std::string_view(line).substr(std::min<size_t>(3, line.size())));
    // A slot that now holds another folder starts without a baseline.
    if (!EqualsNoCase(Trim(SettingsEntry(app_, "path", section)), path))
      DeleteSlotBaselines(app_.dataRoot, slot);
    WriteEntry(app_, app_.settingsFile, "path", path, section);
    WriteEntry(app_, app_.settingsFile, "args", List3[size_t(slot - 1)], section);
    WriteEntry(app_, app_.settingsFile, "args2", List5[size_t(slot - 1)], section);
  }
  app_.AskOver(hwnd_, "Save Successful!");
  RefillFolderList();
  ShowWindow(hwnd_, SW_HIDE);
}

void iCust::Form_Unload() {
  if (settingsEdited &&
      app_.AskOver(hwnd_, "Do you wish to Save your changes?", MsgButtons::YesNo) == MsgAnswer::Yes)
    Command3_Click();
  RefillFolderList();
  // Closed: unsaved edits are gone and the next opening reads the file again.
  ShowWindow(hwnd_, SW_HIDE);
  filled_ = false;
  settingsEdited = false;
}

void iCust::RefillFolderList() {
  if (loadf_) Raise(loadf_);
}

void iCust::norms() {
  for (cButton* b : {&cButton2, &Command2, &Command3}) b->downStatus(1);
}

// --- window -----------------------------------------------------------------

bool iCust::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDCANCEL:  // Escape closes the window as its close box does
      Form_Unload();
      break;
    case kList1:
      if (code == LBN_SELCHANGE) List1_Click();
      break;
    case kList2:
      if (code == LBN_SELCHANGE) List2_Click();
      break;
    case kList4:
      if (code == LBN_SELCHANGE) List4_Click();
      break;
    case kCheck1:
      if (code == BN_CLICKED) Check1_Click();
      break;
    case kCheck2:
      if (code == BN_CLICKED) Check2_Click();
      break;
    default: return false;
  }
  return true;
}

bool iCust::OnHelp() {
  app_.OpenHelp("integrity.html");
  return true;
}

bool iCust::OnClose() {
  Form_Unload();
  return true;
}

bool iCust::OnMouseMove(POINT) {
  norms();
  return true;
}

std::optional<controls::Window::LabelLook> iCust::OnLabelLook(HWND c) {
  const HBRUSH ground = reinterpret_cast<HBRUSH>(GetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND));
  if (c == Check1 || c == Check2) {
    if (Checked(c)) return LabelLook{controls::kWhite, navy_.get()};
    return LabelLook{controls::kBlack, red_.get()};
  }
  return LabelLook{controls::kBlack, ground};
}

iCust& CustomFolders(App& app) { return app.kept.Get<iCust>(app); }
bool HasCustomFolders(const App& app) { return app.kept.Find<iCust>() != nullptr; }

}  // namespace kv
