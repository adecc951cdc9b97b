// The settings wizard: nine pages in one window that walk a new user through
// the main scanner and a test of it, auto-load at logon, the categories
// checked then, auto-scan, logging and the shut-down shortcut. Its Save
// writes the scan flags and the first scanner and sets auto-load; nothing
// else of the settings file changes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/art.h"
#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/control_window.h"
#include "controls/lit_checks.h"
#include "controls/window.h"

namespace kv {

class App;

// The wizard's navigation labels: text that behaves as a link. Under the
// pointer it is blue and underlined, held down light blue, and back to plain
// black when the button is released (which is when it acts).
class WizardLink : public controls::ControlWindow {
 public:
  static constexpr const char* kClassName = "KorvanelWizardLink";
  enum class Look { Plain, Lit, Held };

  // The pointer has reached the label, just before it lights: the window
  // clears the other labels here.
  std::function<void()> Hover;
  // Mouse released over the label, or Enter or Space while it has the focus.
  std::function<void()> Activate;

  bool Create(HWND parent, int id, std::string_view caption);
  const std::string& Caption() const { return caption_; }
  // Held while the mouse holds it, wherever the pointer is.
  Look State() const { return MouseHeld() ? Look::Held : look_; }
  COLORREF Ink() const;
  bool Underlined() const { return State() != Look::Plain; }
  void Clear();  // plain and black

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // It acts as a button does, so it is one to assistive technology.
  std::optional<controls::AccessibleFacts> OnAccessible() const override;

 private:
  int PressPartAt(POINT p) const override;
  void OnPressed(bool) override;
  // A press that ends, taken or not, leaves the link plain until the
  // pointer moves over it again.
  void OnMouseReleased() override { look_ = Look::Plain; }
  void OnHover(POINT p, int part) override;
  void Paint(HDC target) const override;
  void SetLook(Look look);

  std::string caption_;
  Look look_ = Look::Plain;  // lit or plain, when not held
};

class vDct : public controls::Window {
 public:
  static constexpr int kLastPage = 8;

  explicit vDct(App& app);  // made hidden
  ~vDct() override;

  // Shows the wizard at its first page, filled from the settings file (the
  // caller has just reloaded the settings).
  void LoadUp(HWND opener = nullptr);
  // Shows the page of the current page number.
  void NextFrame();
  // Hides every page's own controls; Next and Back visible.
  void norms();
  void SetScannerPath(const std::string& path);
  void SetScannerArguments(const std::string& args);

  // --- handlers ---------------------------------------------------------------
  void Label1_Click();    // "Next >>>"
  void Label2_Click();    // "<<< Back"
  void Label3_Click();    // "Cancel"
  void locate_Click();    // "Locate..."
  void helpme_Click();    // "Help Me!"
  void Command1_Click();  // "Test It!"
  void cButton1_Click();  // "Create Shutdown/Scan shortcut"
  void drivers_Click();   // "Also Watch the Drivers Folder"
  void Command2_Click();  // "Save"
  // The pointer over the background picture: no label, button or check
  // box stays lit.
  void Image13_MouseMove();

  bool Visible() const;
  int Page() const { return page_; }
  std::string Title() const;
  std::string Description() const;
  std::string ScannerPath() const;       // vpath
  std::string ScannerArguments() const;  // varg
  static bool Shown(HWND control);
  // The boxes whose lit captions clear one another.
  const std::vector<check*>& Boxes() const { return boxes_; }

  HWND title = nullptr, desc = nullptr;
  HWND lblPath = nullptr, vpath = nullptr, Label4 = nullptr, varg = nullptr;
  cButton locate, helpme, Command1, cButton1, Command2, drivers;
  check aload, Check1, Check2, Check3, Check4, Check5, Check8, Check6, Check7;
  WizardLink Label2, Label1, Label3;
  Picture Image13;

 private:
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  bool OnMouseMove(POINT at) override;
  bool OnEraseBackground(HDC dc) override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  void OnDpiChanged() override;
  void CreateControls();
  void ClearLinks(const WizardLink* except = nullptr);
  void ClearBoxes();
  std::vector<HWND> PageControls(int page) const;
  void FocusPage();
  void Hide();
  bool FillFromSettings();
  std::string FinalDescription() const;

  App& app_;
  int page_ = 0;
  long startTime_ = 0;  // seconds since midnight when page 0 was last shown
  std::vector<check*> boxes_;
  // After the boxes, so it leaves the shared list before they go. The
  // wizard's boxes take part only while it shows.
  LitCheckList lit_{[this] { return Visible(); }};
  controls::Brush ground_;
};

// The settings wizard, made hidden on first use (until LoadUp).
vDct& Wizard(App& app);
bool HasWizard(const App& app);

}  // namespace kv
