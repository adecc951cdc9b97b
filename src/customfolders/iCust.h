// The custom-folders window: the twenty folder slots the integrity checker
// watches besides the system directory, and per folder the file categories
// checked at logon and at secure shut down. Edits live in the window until
// they are saved; removing a folder takes effect at once.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/window.h"

namespace kv {

class App;

class iCust : public controls::Window {
 public:
  static constexpr int kSlots = 20;

  explicit iCust(App& app);
  ~iCust() override;

  // Shows the window; the first showing after it was closed (or made)
  // fills it from the settings file. `loadf` refills the folder list of the
  // page that opened it whenever the window is saved or closed.
  void Open(std::function<void()> loadf = {}, HWND opener = nullptr);
  bool Visible() const;

  // --- procedures ---------------------------------------------------------
  void startup();
  void cButton2_Click();  // add
  void Command2_Click();  // remove
  void List1_Click();     // select
  void Check1_Click();
  void Check2_Click();
  void List2_Click();
  void List4_Click();
  void Command3_Click();  // save and hide
  void Form_Unload();     // the close box
  void norms();

  // --- controls, read and written as working data ---------------------------
  std::vector<std::string> Lines() const;  // List1
  int Selected() const;                   // List1's selected line, -1 when none
  void Select(int line);                  // a click on that line of List1
  static bool Checked(HWND box);
  static void SetChecked(HWND box, bool on);
  static bool ItemSelected(HWND list, int item);
  static void SetItemSelected(HWND list, int item, bool on);
  static std::string Text(HWND control);

  HWND Label2 = nullptr, Label3 = nullptr, Label1 = nullptr;
  HWND List1 = nullptr, List2 = nullptr, List4 = nullptr;
  HWND Check1 = nullptr, Check2 = nullptr;
  cButton cButton2, Command2, Command3;
  // The hidden lists: each slot's args and args2 values as edited.
  std::array<std::string, kSlots> List3, List5;
  bool settingsEdited = false;
  bool fillingControls = false;

 private:
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  bool OnMouseMove(POINT at) override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  void CreateControls();
  void SetLine(int line, const std::string& text);
  void CategoryBoxClicked(HWND box, HWND list);
  void WriteBack(HWND box, HWND list, std::array<std::string, kSlots>& values);
  void ShowValues(const std::string& value, HWND box, HWND list);
  void RefillFolderList();

  App& app_;
  std::function<void()> loadf_;
  bool filled_ = false;  // false until startup() ran for this opening
  controls::Brush navy_, red_;
};

}  // namespace kv
