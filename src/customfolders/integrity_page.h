// The Integrity Checker page (intF): a check by hand of the system
// directory or one custom folder, with a chosen set of the six file
// categories. The page only prepares the run; the check window carries it
// out and leaves its findings for the user to handle.
#pragma once
#include <windows.h>

#include <array>

#include "controls/art.h"
#include "controls/cButton.h"
#include "controls/panel.h"

namespace kv {

class App;

class IntegrityPage : public PageContent {
 public:
  IntegrityPage(Panel& panel, App& app, bool plain);

  // Opening the page: the folder list is read again.
  void Opening() override { loadf(); }
  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  // --- procedures ---------------------------------------------------------
  void loadf();
  void Combo1_Click();         // a folder chosen in the list
  void ToggleCategory(int mark);  // bDLL .. bEXE2
  void bFULL_Click();
  void bCLEAR_Click();
  void bSCAN_Click();
  void addRem_Click();

  // --- controls, read and written as working data ---------------------------
  std::vector<std::string> Folders() const;  // Combo1's entries
  int Chosen() const;                        // Combo1's chosen entry
  void Choose(int entry);                    // a click on that entry
  bool MarkShown(int mark) const { return check[size_t(mark)].Visible(); }

  HWND Label5 = nullptr, Label7 = nullptr;
  HWND Combo1 = nullptr;
  cButton addRem;
  // Marks 0..5 follow the category order: DLL, DRV, SYS/386, OCX, EXE/COM, PIF/SCR.
  std::array<cButton, 6> category;  // bDLL, bDRV, bSYS, bOCX, bEXE, bEXE2
  std::array<Picture, 6> check;
  cButton bFULL, bCLEAR, bSCAN;

 private:
  void ShowMark(int mark, bool shown);
  int SlotOf(int entry) const;
  std::string FolderOf(int entry) const;
  bool SlotStillHolds(int slot, const std::string& folder) const;

  Panel& panel_;
  App& app_;
  controls::Font bodyFont_, boldFont_;
  UINT fontDpi_ = 0;
};

}  // namespace kv
