// The anti-virus support list: configures a scanner from the list of known
// products, and hands path and arguments to the setup window and the wizard.
// The full edition reads the list from Data\avsupportlist.dat and can fetch
// a new one; the low-resource edition offers a fixed table of products.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "controls/Downloader.h"
#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/window.h"
#include "core/support_list.h"

namespace kv {

class App;

class aVirHelp : public controls::Window {
 public:
  explicit aVirHelp(App& app);  // made hidden
  ~aVirHelp() override;

  // Shown, not modal. The slot marker "1" sends Save Settings to the second
  // scanner; empty, to the first one and the wizard.
  void Open(HWND opener = nullptr);
  std::string Tag;
  void norms();
  bool Visible() const;

  // --- procedures ---------------------------------------------------------
  void LoadList();         // Data\avsupportlist.dat into List1
  void List1_Click();
  void lblSpecial_Click();  // the product's online documentation
  void Command4_Click();   // search for the product's scanner
  void Command2_Click();   // test on two files
  void Command3_Click();   // Save Settings (low-resource edition: Use It!)
  void lblDLUpdates_Click();  // download the latest list
  void Command1_Click();   // help for products not listed
  void Form_Unload();      // the close box

  // --- controls, read and written as working data ---------------------------
  std::vector<std::string> Lines() const;  // List1
  void Select(int line);                  // a click on that line of List1
  std::string Caption() const;
  std::string Location() const;   // Text2
  std::string Arguments() const;  // txtCmd
  std::string SpecialText() const;
  bool SpecialVisible() const;
  std::string DownloadLinkText() const;
  COLORREF DownloadLinkColor() const { return linkInk_; }

  // Where a search looks, in order: the Program Files folder, then "C:\".
  std::vector<std::string> searchRoots;

  HWND Label1 = nullptr, List1 = nullptr, Label5 = nullptr, Text2 = nullptr, Label6 = nullptr,
       txtCmd = nullptr, Label2 = nullptr, Label3 = nullptr, lblSpecial = nullptr,
       lblDLUpdates = nullptr;
  cButton Command4, Command2, Command3, Command1;
  Downloader Downloader1;
  // The four parallel lists of the loaded file (or the fixed table).
  std::vector<SupportProduct> products;

 private:
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  bool OnMouseMove(POINT at) override;
  HCURSOR OnChildPointer(HWND child) override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  void CreatePlainControls();
  void DrawLink(const DRAWITEMSTRUCT& item) const;
  void ResetDownloadLink();
  void Load();
  void HandOver(const std::string& program, const std::string& args);
  bool Plain() const;
  std::string ListFile() const;

  App& app_;
  bool loaded_ = false;   // false until the next opening loads the window afresh
  bool searching_ = false;
  COLORREF linkInk_;
  controls::Brush background_;
};

// The products of the low-resource edition's fixed table, in list order.
const std::vector<SupportProduct>& FixedSupportProducts();

}  // namespace kv
