// The settings pages of the main window: the Options page (setFq, beside
// the log list), the main settings page (qSett) and the advanced page
// (advF), both inside settF. Every entry reloads the settings file; each
// settings page saves its own keys.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/lit_checks.h"
#include "controls/panel.h"

namespace kv {

class App;

// What the pages need of the main window.
struct SettingsFrame {
  std::function<void()> norms2;            // the page reset
  std::function<void(Panel&)> showPage;    // shows one of the frame's pages
  std::function<void()> hover;             // the main window's hover reset
  std::function<void()> about;             // "About Korvanel..."
  std::function<void()> help;              // the advanced page's "Help"
};

class OptionsPage;

// qSett: the categories, auto-load, auto-scan and logging.
class MainSettingsPage : public PageContent {
 public:
  MainSettingsPage(App& app, Panel& panel, bool plain, std::function<void()> cancel);
  void norms() override;
  bool Cancel() override {
    cCancelSett_Click();
    return true;
  }
  void Layout(const RECT& area, UINT dpi) override;

  // The boxes take the values the settings load left in App::boxes.
  void Refresh();
  void cSave_Click();
  void cCancelSett_Click();
  void cButton10_Click();  // the anti-virus setup window

  check Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8, Check9;
  check Check12, Check13, Check14, Check15, Check16, Check17;
  cButton cButton10, cSave, cCancelSett;
  HWND Label21 = nullptr, Label20 = nullptr, Label2 = nullptr;

 private:
  App& app_;
  Panel& panel_;
  std::function<void()> cancel_;
  controls::Font bold_;
  UINT fontDpi_ = 0;
  LitCheckList lit_;  // after the boxes: it leaves before they go
};

// advF: algorithm, read buffer, scanner options, shortcuts' method, and the
// read-buffer comparison.
class AdvancedSettingsPage : public PageContent {
 public:
  AdvancedSettingsPage(App& app, Panel& panel, bool plain, std::function<void()> cancel,
                       std::function<void()> help);
  void norms() override;
  bool Cancel() override {
    cButton1_Click();
    return true;
  }
  void Layout(const RECT& area, UINT dpi) override;

  // Selects the options of the loaded settings values.
  void Refresh();
  void cSave2_Click();
  void cButton1_Click();  // Cancel
  void chlp_Click();      // Help
  void cSpeeds_Click();   // the read-buffer comparison
  // After every change of Check10 or Check11 (also by the settings load).
  void UpdateWarning();

  static bool Checked(HWND box);
  static void SetChecked(HWND box, bool on);
  bool WarningVisible() const;

  // Option1..Option15 at index 1..15 (index 0 unused).
  std::array<HWND, 16> Option{};
  HWND Frame3 = nullptr, Frame1 = nullptr, Label22 = nullptr, Label28 = nullptr,
       Label30 = nullptr, Label1 = nullptr, List1 = nullptr;
  HWND Check10 = nullptr, Check11 = nullptr, avfocus = nullptr;
  check wsh;
  cButton chlp, cSpeeds, cSave2, cButton1;

 private:
  void OnCommand(int id, int code);

  App& app_;
  Panel& panel_;
  std::function<void()> cancel_, help_;
  bool comparing_ = false;
  int32_t bufferBeforeComparing_ = 0;
  controls::Font text_, bold_;
  UINT fontDpi_ = 0;
  LitCheckList lit_;
};

// setFq: the ways to the settings, the wizard, the shortcut, the support
// list and the update check, beside the log list.
class OptionsPage : public PageContent {
 public:
  OptionsPage(App& app, Panel& setFq, bool plain, std::unique_ptr<PageContent> logs,
              SettingsFrame frame, Panel& settF, Panel& qSett, Panel& advF);
  ~OptionsPage() override;
  void Opening() override;
  void norms() override;
  void Layout(const RECT& area, UINT dpi) override;

  void cSettings_Click();  // Edit Settings
  void cButton2_Click();   // Advanced Settings
  void cSetW_Click();      // Settings Wizard
  void cCreateSS_Click();
  void cDetect_Click();
  void cUpdates_Click();
  void cAbout_Click();
  void chkAutoCheckUpdates_Click();
  // The box has lost the focus: a changed value is written.
  void chkAutoCheckUpdates_LostFocus();

  cButton cSettings, cButton2, cSetW, cCreateSS, cDetect, cUpdates, cAbout;
  check chkAutoCheckUpdates;
  HWND Label15 = nullptr, Label16 = nullptr, Label23 = nullptr, Label6 = nullptr;
  PageContent* logs() const { return logs_.get(); }

  MainSettingsPage* main = nullptr;
  AdvancedSettingsPage* advanced = nullptr;

 private:
  App& app_;
  Panel& setFq_;
  Panel &settF_, &qSett_, &advF_;
  bool plain_;
  std::unique_ptr<PageContent> logs_;
  SettingsFrame frame_;
  bool autoCheckChanged_ = false;
};

// The Options page for setFq, holding the log list's page; qSett and advF
// get their contents.
std::unique_ptr<OptionsPage> MakeSettingsPages(App& app, Panel& setFq, std::unique_ptr<PageContent> logs,
                                               Panel& settF, Panel& qSett, Panel& advF, bool plain,
                                               SettingsFrame frame);

// The comparison's lines, in the user's number format.
std::string FormatSeconds(float seconds);
std::string BufferTestLine(int pass, int kb, long long length, int times, float seconds);
std::string QuickestLine(float seconds, int kb);

}  // namespace kv
