// The RegWatch page (regF) of the main window: every auto-start entry of the
// last registry pass in a tree, the new and modified ones in a warning list,
// and the actions on them (scan one, delete a Run-key value, scan all
// findings and accept them).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/panel.h"
#include "core/regwatch_rules.h"

namespace kv {

class App;

// The tree view's own parent: a tree tells its parent about clicks and
// expansions, and a page hands its children's commands on but not those
// notifications.
class TreeHost : public controls::Window {
 public:
  ~TreeHost() override;
  bool Create(HWND parent, int treeId, const char* name);
  HWND tree() const { return tree_; }
  std::function<void(const NMHDR&)> Notify;

 private:
  void OnSize(int width, int height) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  HWND tree_ = nullptr;
};

class RegWatchPage : public PageContent {
 public:
  // plain: the low-resource edition's buttons.
  RegWatchPage(Panel& panel, App& app, bool plain);
  ~RegWatchPage() override;

  void Opening() override;  // the three action buttons wait for an entry
  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  // --- procedures ----------------------------------------------------------
  void Command1_Click();   // Refresh: a new pass
  void Command11_Click();  // scan the selected entry
  void Command3_Click();   // delete the selected entry
  void cScnUpd_Click();    // scan every finding, then accept them all
  void TreeView1_NodeClick(HTREEITEM node);
  void TreeView1_Expanded();
  void List5_Click();
  // The pending-reboot view: List6 in the tree's place.
  void cMod_Click();
  void List6_Click();
  bool PendingView() const;
  // Shows a pass in the tree and the warning list.
  void ShowPass(const RegistryPass& pass);

  // --- state read back from the controls ------------------------------------
  std::string selectedPlace;  // "HKEY_LOCAL_MACHINE|Loaded in Run"
  std::vector<std::string> ListLines() const;
  std::vector<std::string> List6Lines() const;
  std::string Text4Text() const;
  std::string Label19Text() const;
  std::string SignerText() const;  // who signed the selected entry's file
  std::string ListTip() const { return tip_; }
  // The tree node with this text under the node with that text (any parent
  // when empty); null when there is none.
  HTREEITEM FindNode(const std::string& text, const std::string& parentText = {}) const;
  std::string NodeText(HTREEITEM node) const;

  // --- controls --------------------------------------------------------------
  TreeHost treeHost;
  HWND TreeView1 = nullptr, List5 = nullptr, List6 = nullptr, Text4 = nullptr, Label19 = nullptr;
  HWND lblTree = nullptr, lblList = nullptr, lblSelected = nullptr, lblSigner = nullptr;
  cButton Command1, Command11, Command3, cScnUpd, cMod;
  // A view option kept in the settings file ("hidemicrosoftsigned"): the
  // tree leaves out entries whose file Microsoft signed. Findings are always
  // listed.
  check chkHideMicrosoft;
  void chkHideMicrosoft_Click();

 private:
  // What the actions need of the chosen entry beyond its texts: the place
  // it was read from and its real value name.
  struct Chosen {
    int place = -1;
    std::string valueName, valueText;
  };
  void EnableEntryButtons(bool enabled);
  void ShowSigner(const std::string& entryText);
  void FillTree();
  void OnTreeNotify(const NMHDR& n);
  void SetListTip(const std::string& text);
  void lblTreeText(bool pending);
  void FillList(HWND list, const std::vector<std::string>& lines);

  Panel& panel_;
  App& app_;
  RegistryPass pass_;
  Chosen chosen_;
  bool filling_ = false;  // the tree's own notifications while it is rebuilt
  bool busy_ = false;     // an action runs (and pumps messages)
  HWND tooltip_ = nullptr;
  std::string tip_;
};

}  // namespace kv
