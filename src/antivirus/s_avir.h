// The anti-virus setup window: where the user names up to two scanners. Its
// four fields are the run's scanner configuration (App::scanners): the
// settings load, the support list, the wizard and the pending-reboot scan
// read and write them through this window. The edit fields and App::scanners
// are kept in step both ways.
#pragma once
#include <windows.h>

#include <string>

#include "controls/cButton.h"
#include "controls/window.h"

namespace kv {

class App;
struct ScannerFields;

inline constexpr char kNoScannerPlaceholder[] = "Anti-Virus Software";

class s_avir : public controls::Window {
 public:
  explicit s_avir(App& app);  // made hidden; loads both scanner keys
  ~s_avir() override;

  void Open(HWND opener = nullptr);  // shown, not modal, over its opener
  bool Visible() const;
  const ScannerFields& Fields() const;
  // Writes into the fields; an open window shows them at once.
  void SetFirst(const std::string& program, const std::string& args);  // Text5, Text6
  void SetFirstArguments(const std::string& args);                     // Text6
  void SetSecond(const std::string& program, const std::string& args);  // Text1, Text2
  // The edit fields take App::scanners (after the settings load wrote it).
  void ShowFields();
  void norms();

  // --- procedures -----------------------------------------------------------
  void cChoose_Click();    // first slot: file dialog
  void cButton10_Click();  // second slot: file dialog
  void chlpFind_Click();   // first slot: support list
  void cButton1_Click();   // second slot: support list
  void cButton3_Click();   // Save
  void cButton2_Click();   // Cancel
  void Form_Unload();      // the close box: the window is dropped

  HWND Label8 = nullptr, Label14 = nullptr, Label1 = nullptr;
  HWND Text5 = nullptr, Text6 = nullptr, Text1 = nullptr, Text2 = nullptr;
  cButton chlpFind, cChoose, cButton1, cButton10, cButton2, cButton3;

 private:
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  bool OnMouseMove(POINT at) override;
  bool OnEraseBackground(HDC dc) override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  void CreateControls();
  void Load();
  // The field behind an edit control; null for any other control.
  std::string* FieldOf(HWND edit);

  App& app_;
  bool showing_ = false;  // the edits are being filled from the fields
  controls::Brush ground_;
};

// The arguments a scanner picked in a file dialog gets: by its upper-cased path.
std::string AutomaticArguments(const std::string& program);

// The open-file dialog for a scanner executable, owned by the setup window
// (made when missing). Empty when cancelled.
std::string ShowOpenFileDialog(App& app, const std::string& title, const std::string& filter);
inline constexpr char kChooseScannerTitle[] = "Choose Anti-Virus Executable File";
// "Executable Files (*.exe, *.com)" "*.EXE;*.COM" "All Files (*.*)" "*.*", each NUL-ended.
std::string ExecutableFilter();

}  // namespace kv
