// The main window: the program's one top-level window in interactive use.
// A frame of navigation, header, pages shown one at a time and a status
// line; the pages' own controls belong to their subsystems (see Panel).
// Closing it ends the program.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "controls/art.h"
#include "app/nav_bar.h"
#include "context/wiring.h"
#include "controls/panel.h"
#include "controls/cButton.h"
#include "controls/gdi.h"
#include "controls/window.h"

namespace kv {

class App;
class HomePage;
class AboutPage;
class EggPage;
class LogList;
class ReportPage;
class AppWatchPage;
class OptionsPage;

class mForm1 : public controls::Window, public MainWindowPort {
 public:
  explicit mForm1(App& app);
  ~mForm1() override;

  std::string Caption() const;
  void SetCaption(const std::string& text) override;
  void Show() override;
  void Hide() override;
  bool Visible() const;

  // --- procedures ---------------------------------------------------------
  void norms2();  // page reset: every page hidden, qSett marked visible
  void norms();   // hover reset: nothing lit
  // Pointer over a normal navigation picture (0 Home .. 4 Options): only
  // its lit twin shows.
  void NavHover(int index);
  void Image3_Click();   // Home
  void Image5_Click();   // Integrity Checker
  void Image7_Click();   // RegWatch
  void Image9_Click();   // AppWatch
  void Image11_Click();  // Options
  void About();          // cButton7 "About", and the Options page's "About Korvanel..."
  void lblegg_Click();
  void Help();           // cButton6, the About panel's "View Help Files", the advanced page's "Help"
  void VisitWebSite();   // rwClick and "Visit Brackwater Online"
  void Label37_Click();  // mail to the maker
  void cButton9_Click();  // Exit

  // --- header and status line -----------------------------------------------
  std::string Title() const;        // lblName
  std::string Description() const;  // lblDesc
  void SetTitle(const std::string& text);
  void SetDescription(const std::string& text);
  // Shows header picture 0 RegWatch, 1 AppWatch, 2 Integrity Checker, 3 Options.
  void ShowHeaderPicture(int index);
  bool HeaderPictureVisible(int index) const;
  std::string Status() const;
  void SetStatus(const std::string& text);
  // The update indicator (hidden until an update check finds something).
  void ShowUpdateIndicator(bool show);
  std::function<void()> lblDLUpdates_Click;

  // --- pages: subsystems fill them through Panel::SetContent ----------------
  Panel mainF, intF, regF, appF, setFq, settF, qSett, advF, repF, Frame2, eggF;
  // The page now shown (nullptr when none is).
  const Panel* ShownPage() const;

  // --- controls -------------------------------------------------------------
  std::unique_ptr<NavBar> nav;        // full edition
  std::unique_ptr<PlainNav> plainNav;  // low-resource edition
  cButton cButton6, cButton7, cButton9;  // Help, About, Exit
  HWND lblName = nullptr, lblDesc = nullptr;
  std::array<Picture, 4> descImg;
  HWND lblStatus = nullptr, lblDLUpdates = nullptr, rwClick = nullptr;
  Picture imgDLUpdates;
  // The pages' contents, made on first use.
  HomePage* home();            // content of mainF
  AboutPage* about();          // content of Frame2
  EggPage* egg();              // content of eggF
  LogList* logList();          // the log list of setFq
  ReportPage* report();        // content of repF
  AppWatchPage* appWatch();    // content of appF
  OptionsPage* options();      // content of setFq, with the log list

 private:
  bool OnEraseBackground(HDC dc) override;
  bool OnMouseMove(POINT at) override;
  bool OnCommand(int id, int code, HWND from) override;
  bool OnClose() override;
  bool OnHelp() override;
  std::optional<LabelLook> OnLabelLook(HWND label) override;
  HCURSOR OnChildPointer(HWND child) override;
  void OnDpiChanged() override;
  void BuildFull();
  void BuildPlain();
  void CreatePages(Panel::Style style);
  void UpdateFonts();
  void Layout();
  void ShowPage(Panel& page);
  void OpenToolPage(Panel& page, const std::string& title, const std::string& description,
                    int picture);
  bool Plain() const;
  SIZE DesignClient() const;
  void OnSize(int width, int height) override;
  int HeaderHeight(int textWidth) const;
  std::array<Panel*, 11> AllPages();

  App& app_;
  controls::Brush background_;
};

}  // namespace kv
