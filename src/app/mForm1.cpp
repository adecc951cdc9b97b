#include "app/mForm1.h"

#include <algorithm>

#include "context/app.h"
#include "controls/control_table.h"
#include "controls/dialog_keys.h"
#include "controls/link_label.h"
#include "app/mForm1_ids.h"
#include "app/pages/about_page.h"
#include "app/pages/egg_page.h"
#include "app/pages/home_page.h"
#include "customfolders/drivers_folder.h"
#include "customfolders/integrity_page.h"
#include "regwatch/regF.h"
#include "appwatch/appF.h"
#include "logs/reports.h"
#include "settingsui/settings_pages.h"
#include "update/update_check.h"

namespace kv {

using controls::Scale;
using namespace mform1_ids;

namespace {

constexpr char kClassName[] = "KorvanelMain";
constexpr SIZE kFullClient{900, 620};  // at 96 DPI
constexpr SIZE kPlainClient{760, 520};
// The least the user may size the window to: the navigation and the header
// stay whole, the pages scroll.
constexpr SIZE kFullLeast{640, 440};
constexpr SIZE kPlainLeast{560, 400};
constexpr int kRail = 196;
constexpr int kMargin = 24;

const controls::Typeface kTitleFont = ui::Face(18, FW_SEMIBOLD);  // lblName
const controls::Typeface kDescFont = ui::Face(9, FW_NORMAL);     // lblDesc
const controls::Typeface kStatusFont = ui::Face(9, FW_NORMAL);    // the status line

// Beneath the Home page's links, or the plain window's navigation.
const controls::ControlRow<mForm1> kHomeButtons[] = {
    {&mForm1::cButton6, {kCButton6, cButton::kClassName, "Help"}},
    {&mForm1::cButton7, {kCButton7, cButton::kClassName, "About"}},
    {&mForm1::cButton9, {kCButton9, cButton::kClassName, "Exit"}},
};

}  // namespace

mForm1::mForm1(App& app) : app_(app) {
  background_ = controls::SolidBrush(ToColorRef(art::palette::kWindow));
  if (!Create(controls::WindowClass{kClassName, 0, nullptr, true}, WS_EX_CONTROLPARENT,
              "Welcome to Korvanel2",
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 900, 660,
              nullptr))
    return;
  if (!app_.mainCaption.empty()) SetCaption(app_.mainCaption);
  SizeClientTo(DesignClient());
  MinimumClient(Plain() ? kPlainLeast : kFullLeast);
  // The designed size where the screen has room for it; on a smaller
  // screen or at a larger scale the pages scroll instead.
  FitOnScreen();
  // Where the user left it, if anywhere.
  const std::string data = app_.appDir + "Data\\";
  RestorePlace(KeptWindowPlace(data, "mForm1"));
  PlaceChanged = [data](const WindowPlace& place) { KeepWindowPlace(data, "mForm1", place); };
  UpdateFonts();
  if (Plain())
    BuildPlain();
  else
    BuildFull();
  Layout();
  controls::UseDialogKeys(kClassName);
}

mForm1::~mForm1() { Destroy(); }

bool mForm1::Plain() const { return app_.edition.plainControls; }

SIZE mForm1::DesignClient() const { return Plain() ? kPlainClient : kFullClient; }

std::array<Panel*, 11> mForm1::AllPages() {
  return {&Frame2, &eggF, &repF, &setFq, &mainF, &appF, &regF, &intF, &settF, &qSett, &advF};
}

// Every page but the one the window opens on is made when first shown (or
// its content first asked for): a start that never shows the window, as
// "/r" does, makes none of them.
void mForm1::CreatePages(Panel::Style style) {
  const bool plain = style == Panel::Style::Plain;
  intF.Create(hwnd_, "intF", plain ? "Integrity Scan" : "System files", style);
  regF.Create(hwnd_, "regF", plain ? "RegWatch" : "Loaded at start-up", style);
  appF.Create(hwnd_, "appF", plain ? "AppWatch" : "Open windows", style);
  setFq.Create(hwnd_, "setFq", plain ? "Options" : "Settings and logs", style);
  settF.Create(hwnd_, "settF", "", style);
  qSett.Create(settF.hwnd(), "qSett", "Settings", plain ? style : Panel::Style::Nested);
  advF.Create(settF.hwnd(), "advF", "Advanced settings", plain ? style : Panel::Style::Nested);
  repF.Create(hwnd_, "repF", "Report", style);
  Frame2.Create(hwnd_, "Frame2", "", style);

  const auto hover = [this] { norms(); };
  intF.SetContentFactory(
      [this, plain] { intF.SetContent(std::make_unique<IntegrityPage>(intF, app_, plain)); });
  Frame2.SetContentFactory([this, plain, hover] {
    Frame2.SetContent(std::make_unique<AboutPage>(
        Frame2, plain,
        AboutPage::Actions{[this] { Help(); }, [this] { VisitWebSite(); },
                           [this] { Label37_Click(); }, hover}));
  });
  regF.SetContentFactory(
      [this, plain] { regF.SetContent(std::make_unique<RegWatchPage>(regF, app_, plain)); });
  // The Options page (its buttons around the log list), the two settings
  // pages and the report page are made together: each refers to the others.
  // The settings pages are reached only through the Options page's buttons,
  // so the page reset, which shows the empty qSett, makes nothing.
  const auto settings = [this, plain] {
    const auto optionsAround = [this, plain](std::unique_ptr<PageContent> logs) {
      return std::unique_ptr<PageContent>(MakeSettingsPages(
          app_, setFq, std::move(logs), settF, qSett, advF, plain,
          SettingsFrame{[this] { norms2(); }, [this](Panel& p) { ShowPage(p); },
                        [this] { norms(); }, [this] { About(); }, [this] { Help(); }}));
    };
    InstallReports(app_, setFq, repF, plain,
                   LogList::Frame{[this] { norms2(); }, [this] { Image11_Click(); }, [this] {
                                    ShowHeaderPicture(3);
                                    ShowPage(repF);
                                  }},
                   optionsAround);
  };
  setFq.SetContentFactory(settings);
  repF.SetContentFactory(settings);
  appF.SetContentFactory(
      [this, plain] { appF.SetContent(std::make_unique<AppWatchPage>(app_, appF, plain)); });
  for (Panel* p : AllPages()) p->BackgroundMove = hover;
}

HomePage* mForm1::home() { return mainF.ContentAs<HomePage>(); }
AboutPage* mForm1::about() { return Frame2.ContentAs<AboutPage>(); }
EggPage* mForm1::egg() { return eggF.ContentAs<EggPage>(); }
ReportPage* mForm1::report() { return repF.ContentAs<ReportPage>(); }
AppWatchPage* mForm1::appWatch() { return appF.ContentAs<AppWatchPage>(); }
OptionsPage* mForm1::options() { return setFq.ContentAs<OptionsPage>(); }
LogList* mForm1::logList() {
  PageContent* logs = setFq.Content();
  if (auto* o = dynamic_cast<OptionsPage*>(logs)) logs = o->logs();
  auto* page = dynamic_cast<LogListPage*>(logs);
  return page ? &page->list : nullptr;
}

void mForm1::BuildFull() {
  nav = std::make_unique<NavBar>(hwnd_);
  const std::array<void (mForm1::*)(), NavBar::kButtons> open = {
      &mForm1::Image3_Click, &mForm1::Image5_Click, &mForm1::Image7_Click, &mForm1::Image9_Click,
      &mForm1::Image11_Click};
  for (int i = 0; i < NavBar::kButtons; ++i) {
    const auto run = open[size_t(i)];
    nav->Normal(i).MouseMove = [this, i] { NavHover(i); };
    nav->Normal(i).Click = [this, run] { (this->*run)(); };  // Space or Enter
    nav->Lit(i).Click = [this, run] { (this->*run)(); };
    nav->Lit(i).MouseLeave = [this, i] { nav->Lit(i).Visible(false); };
    nav->Normal(i).ArrowKey = [this, i](int step) {
      std::vector<HWND> row;
      for (int j = 0; j < NavBar::kButtons; ++j) row.push_back(nav->Normal(j).hwnd());
      controls::StepFocus(row, nav->Normal(i).hwnd(), step);
    };
  }
  nav->brand.MouseMove = [this] { norms(); };

  // The header and the status line, each in tab order; Layout() places them.
  using controls::kLabelStyle;
  static const controls::ControlRow<mForm1> kHeader[] = {
      {&mForm1::lblName, {0, "STATIC", "", kLabelStyle}},
      {&mForm1::lblDesc, {0, "STATIC", "", kLabelStyle}},
  };
  // The updates indicator's words wait hidden until there are updates.
  static const controls::ControlRow<mForm1> kStatusLine[] = {
      {&mForm1::lblStatus, {0, "STATIC", "Status: Ready", kLabelStyle}},
      {&mForm1::lblDLUpdates, {kLblDLUpdates, "STATIC", "Updates Available", SS_NOPREFIX | SS_NOTIFY}},
      {&mForm1::rwClick, {kRwClick, "STATIC", "Brackwater Online", kLabelStyle | SS_NOTIFY | SS_RIGHT}},
  };
  MakeControls(kHeader);
  const art::Glyph pictures[4] = {art::Glyph::RegWatch, art::Glyph::AppWatch, art::Glyph::Integrity,
                                  art::Glyph::Options};
  for (size_t i = 0; i < descImg.size(); ++i) {
    const art::Glyph g = pictures[i];
    descImg[i].Create(hwnd_, 0, art::palette::kWindow, [g](art::Raster& r, const Picture::Look&) {
      art::DrawHeaderTile(r, g, 0.0f, 0.0f, float(std::min(r.Width(), r.Height())));
    });
    descImg[i].MouseMove = [this] { norms(); };
  }

  CreatePages(Panel::Style::Card);
  mainF.Create(hwnd_, "mainF", "", Panel::Style::Card);
  eggF.Create(hwnd_, "eggF", "Optical Illusions Are Fun", Panel::Style::Card);
  const auto hover = [this] { norms(); };
  mainF.BackgroundMove = eggF.BackgroundMove = hover;
  auto homeContent = std::make_unique<HomePage>(
      mainF, HomePage::Actions{[this] { Image5_Click(); }, [this] { Image7_Click(); },
                               [this] { Image9_Click(); }, [this] { Image11_Click(); },
                               [this] { lblegg_Click(); }, hover,
                               [this] { return DriversFolderWatched(app_); },
                               [this] { WatchDriversFolder(app_); }});
  controls::MakeControls(*this, mainF.hwnd(), kHomeButtons);
  homeContent->PlaceButtons({&cButton6, &cButton7, &cButton9});
  mainF.SetContent(std::move(homeContent));
  eggF.SetContentFactory([this, hover] { eggF.SetContent(std::make_unique<EggPage>(eggF, hover)); });

  MakeControls(kStatusLine);
  imgDLUpdates.Create(hwnd_, 0, art::palette::kWindow, [](art::Raster& r, const Picture::Look& look) {
    const float s = float(look.dpi) / 96.0f, c = float(r.Width()) / 2;
    r.FillCircle(c, c, c - 0.5f, art::palette::kAccent);
    r.Polyline({{c, c - 4.5f * s}, {c, c + 3.5f * s}}, 2.0f * s, art::palette::kWhite);
    r.Polyline({{c - 3.5f * s, c}, {c, c + 3.5f * s}, {c + 3.5f * s, c}}, 2.0f * s, art::palette::kWhite);
  }, {}, true);
  // The indicator stands before its words, for a screen reader too.
  SetWindowPos(imgDLUpdates.hwnd(), lblStatus, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  imgDLUpdates.Click = [this] {
    if (lblDLUpdates_Click) lblDLUpdates_Click();
  };
  lblDLUpdates_Click = [this] { UpdatesButtonClick(app_); };
  controls::MakeKeyboardLink(lblDLUpdates);
  controls::MakeKeyboardLink(rwClick);

  cButton6.Click = [this] { Help(); };
  cButton7.Click = [this] { About(); };
  cButton9.Click = [this] { cButton9_Click(); };
  UpdateFonts();
  if (const UpdateCheck* updates = FindUpdates(app_)) {
    if (!updates->Status().empty()) SetStatus(updates->Status());
    ShowUpdateIndicator(updates->Available());
  }
  if (!app_.mainStatus.empty()) SetStatus(app_.mainStatus);

  Image3_Click();  // the window opens on the Home page
}

void mForm1::BuildPlain() {
  plainNav = std::make_unique<PlainNav>(hwnd_);
  plainNav->Image5.Click = [this] { Image5_Click(); };
  plainNav->Image7.Click = [this] { Image7_Click(); };
  plainNav->Image9.Click = [this] { Image9_Click(); };
  plainNav->Image11.Click = [this] { Image11_Click(); };
  for (cButton* b : {&plainNav->Image5, &plainNav->Image7, &plainNav->Image9, &plainNav->Image11})
    b->ArrowKey = [this, b](int step) {
      controls::StepFocus({plainNav->Image5.hwnd(), plainNav->Image7.hwnd(), plainNav->Image9.hwnd(),
                           plainNav->Image11.hwnd()},
                          b->hwnd(), step);
    };
  MakeControls(kHomeButtons, true);
  cButton6.Click = [this] { Help(); };
  cButton7.Click = [this] { About(); };
  cButton9.Click = [this] { cButton9_Click(); };
  CreatePages(Panel::Style::Plain);
  // The plain window opens on the About panel, its version line still
  // showing its design text until About is used.
  norms2();
  ShowPage(Frame2);
}

std::string mForm1::Caption() const { return hwnd_ ? ui::TextOf(hwnd_) : std::string(); }
void mForm1::SetCaption(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
void mForm1::Show() { ShowWindow(hwnd_, ShowCommand(SW_SHOW)); }
void mForm1::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool mForm1::Visible() const { return IsWindowVisible(hwnd_); }

// --- pages ------------------------------------------------------------------

void mForm1::norms2() {
  for (Picture& p : descImg) p.Visible(false);
  if (!Plain()) {
    for (cButton* b : {&cButton9, &cButton6, &cButton7})
      if (b->hwnd()) ShowWindow(b->hwnd(), SW_HIDE);
  }
  for (Panel* p : AllPages()) p->Visible(false);
  // The settings container opens on its main page.
  qSett.Visible(true);
}

void mForm1::norms() {
  if (nav)
    for (int i = 0; i < NavBar::kButtons; ++i) nav->Lit(i).Visible(false);
  if (plainNav)
    for (cButton* b : {&plainNav->Image5, &plainNav->Image7, &plainNav->Image9, &plainNav->Image11})
      b->downStatus(1);
  for (cButton* b : {&cButton6, &cButton7, &cButton9}) b->downStatus(1);
  for (Panel* p : AllPages())
    if (p->MadeContent()) p->MadeContent()->norms();
}

void mForm1::NavHover(int index) {
  if (!nav || index < 0 || index >= NavBar::kButtons) return;
  norms();
  nav->Lit(index).Visible(true);
}

const Panel* mForm1::ShownPage() const {
  for (const Panel* p : {&mainF, &intF, &regF, &appF, &setFq, &settF, &repF, &Frame2, &eggF})
    if (p->Visible()) return p;
  return nullptr;
}

void mForm1::ShowPage(Panel& page) {
  if (nav) {
    // The rail marks the part of the program the page belongs to.
    int current = 4;  // the Options pages: settings, logs, reports, About
    if (&page == &mainF) current = 0;
    else if (&page == &intF) current = 1;
    else if (&page == &regF) current = 2;
    else if (&page == &appF) current = 3;
    nav->MarkCurrent(current);
  }
  Layout();  // the header may have grown or gone
  page.Visible(true);
  // The page comes after the navigation and header and before the status
  // line in the z-order, which is also the Tab order.
  const HWND after = Plain() ? cButton9.hwnd() : descImg.back().hwnd();
  if (page.hwnd()) SetWindowPos(page.hwnd(), after ? after : HWND_BOTTOM, 0, 0, 0, 0,
                                SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RescueFocus(page.hwnd());
}

void mForm1::OpenToolPage(Panel& page, const std::string& title, const std::string& description,
                          int picture) {
  if (!Plain()) {
    SetTitle(title);
    SetDescription(description);
    ShowHeaderPicture(picture);
  }
  ShowPage(page);
}

void mForm1::Image3_Click() {
  norms2();
  for (cButton* b : {&cButton9, &cButton6, &cButton7})
    if (b->hwnd()) ShowWindow(b->hwnd(), SW_SHOWNA);
  SetTitle("");
  SetDescription("");
  if (mainF.Content()) mainF.Content()->Opening();
  ShowPage(mainF);
}

void mForm1::Image7_Click() {
  norms2();
  if (regF.Content()) regF.Content()->Opening();
  OpenToolPage(regF, "RegWatch",
               "Use RegWatch to determine what files are being loaded from the Registry when "
               "Windows starts. RegWatch also will notify you when new entrys are added or when "
               "current one's are modified.\r\n\r\nIf you see a suspicious item that is being "
               "loading at startup, simply select it and press the scan button to launch your "
               "virus scanner.",
               0);
}

void mForm1::Image9_Click() {
  norms2();
  if (appF.Content()) appF.Content()->Opening();
  OpenToolPage(appF, "AppWatch",
               "AppWatch is a utility which displays all running windows.  Many viruses and "
               "trojans are loaded but are invisible to the user. Using the AppWatch utility, you "
               "can close any window that you do not want running.",
               1);
}

void mForm1::Image11_Click() {
  norms2();
  if (setFq.Content()) setFq.Content()->Opening();
  OpenToolPage(setFq, "Options",
               "If it your first time using Korvanel, it is recommended that you use the "
               "'Settings Wizard'.  If you haven't done so already, you should also choose an "
               "anti-virus program to work along with Korvanel.",
               3);
}

void mForm1::About() {
  norms2();
  if (AboutPage* page = about()) SetWindowTextA(page->Label33, ("Version: " + app_.edition.VersionText()).c_str());
  SetTitle("");
  SetDescription("");
  ShowPage(Frame2);
}

void mForm1::lblegg_Click() {
  norms2();
  SetTitle("");
  SetDescription("");
  ShowPage(eggF);
}

// --- header and status line -------------------------------------------------

std::string mForm1::Title() const { return lblName ? ui::TextOf(lblName) : std::string(); }
std::string mForm1::Description() const { return lblDesc ? ui::TextOf(lblDesc) : std::string(); }

void mForm1::SetTitle(const std::string& text) {
  if (lblName) SetWindowTextA(lblName, text.c_str());
}

void mForm1::SetDescription(const std::string& text) {
  if (lblDesc) SetWindowTextA(lblDesc, text.c_str());
}

void mForm1::ShowHeaderPicture(int index) {
  if (index >= 0 && index < int(descImg.size())) descImg[size_t(index)].Visible(true);
}

bool mForm1::HeaderPictureVisible(int index) const {
  return index >= 0 && index < int(descImg.size()) && descImg[size_t(index)].Visible();
}

std::string mForm1::Status() const { return lblStatus ? ui::TextOf(lblStatus) : std::string(); }

void mForm1::SetStatus(const std::string& text) {
  if (lblStatus) SetWindowTextA(lblStatus, text.c_str());
}

void mForm1::ShowUpdateIndicator(bool show) {
  if (lblDLUpdates) ShowWindow(lblDLUpdates, show ? SW_SHOWNA : SW_HIDE);
  imgDLUpdates.Visible(show);
}

// --- layout -----------------------------------------------------------------

void mForm1::UpdateFonts() {
  controls::SetControlFont(lblName, FontOf(kTitleFont));
  controls::SetControlFont(lblDesc, FontOf(kDescFont));
  for (HWND w : {lblStatus, lblDLUpdates, rwClick}) controls::SetControlFont(w, FontOf(kStatusFont));
}

// The header's height for a description wrapped at `textWidth`: none when
// the page has neither title nor description.
int mForm1::HeaderHeight(int textWidth) const {
  const std::string title = Title(), desc = Description();
  if (title.empty() && desc.empty()) return 0;
  const UINT dpi = Dpi();
  const int titleH = controls::LineHeight(FontOf(kTitleFont)) + Scale(4, dpi);
  int descH = 0;
  if (!desc.empty()) {
    controls::WindowDC dc(hwnd_);
    controls::Selection font(dc.get(), FontOf(kDescFont));
    RECT box{0, 0, textWidth, 0};
    DrawTextA(dc.get(), desc.c_str(), -1, &box, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    descH = box.bottom + Scale(2, dpi);
  }
  return std::max(titleH + Scale(4, dpi) + descH, Scale(64, dpi) + Scale(4, dpi)) + Scale(16, dpi);
}

void mForm1::Layout() {
  if (!hwnd_ || (!nav && !plainNav)) return;  // sized while being made
  RECT c{};
  GetClientRect(hwnd_, &c);
  const UINT dpi = Dpi();
  const SIZE design{Scale(DesignClient().cx, dpi), Scale(DesignClient().cy, dpi)};
  RECT content{};
  SIZE least{};  // the page's size in the window at its designed size
  if (Plain()) {
    const int m = Scale(16, dpi), navW = Scale(168, dpi);
    plainNav->Layout(m, m, navW, dpi);
    const int h = Scale(32, dpi), gap = Scale(8, dpi);
    int y = c.bottom - m - 3 * h - 2 * gap;
    for (cButton* b : {&cButton6, &cButton7, &cButton9}) {
      controls::MoveControl(b->hwnd(), m, y, navW, h);
      y += h + gap;
    }
    content = RECT{m + navW + m, m, c.right - m, c.bottom - m};
    least = SIZE{design.cx - (m + navW + m) - m, design.cy - 2 * m};
  } else {
    const int rail = Scale(kRail, dpi), margin = Scale(kMargin, dpi);
    nav->Layout(rail, dpi);
    const int left = rail + margin, right = c.right - margin;
    const int pic = Scale(64, dpi);
    const int textW = right - left - pic - Scale(20, dpi);
    for (Picture& p : descImg) p.Move(right - pic, Scale(22, dpi), pic, pic);

    // The header takes the room its texts need and none when both are empty.
    const int headerTop = Scale(18, dpi);
    const int header = HeaderHeight(textW);
    int top = headerTop + header;
    if (header) {
      const int titleH = controls::LineHeight(FontOf(kTitleFont)) + Scale(4, dpi);
      controls::MoveControl(lblName, left, headerTop, textW, titleH);
      controls::MoveControl(lblDesc, left, headerTop + titleH + Scale(4, dpi), textW,
                            header - Scale(16, dpi) - titleH - Scale(4, dpi));
    }
    ShowWindow(lblName, Title().empty() ? SW_HIDE : SW_SHOWNA);
    ShowWindow(lblDesc, Description().empty() ? SW_HIDE : SW_SHOWNA);

    const int lineH = controls::LineHeight(FontOf(kStatusFont)) + Scale(2, dpi);
    const int statusY = c.bottom - Scale(12, dpi) - lineH;
    controls::MoveControl(lblStatus, left, statusY, Scale(260, dpi), lineH);
    const int icon = Scale(16, dpi);
    imgDLUpdates.Move(left + Scale(280, dpi), statusY + (lineH - icon) / 2, icon, icon);
    controls::MoveControl(lblDLUpdates, left + Scale(302, dpi), statusY, Scale(160, dpi), lineH);
    controls::MoveControl(rwClick, right - Scale(200, dpi), statusY, Scale(200, dpi), lineH);
    content = RECT{left, top, right, statusY - Scale(12, dpi)};
    const int designTextW = design.cx - margin - left - pic - Scale(20, dpi);
    least = SIZE{design.cx - margin - left,
                 design.cy - Scale(24, dpi) - lineH - headerTop - HeaderHeight(designTextW)};
  }
  for (Panel* p : {&mainF, &intF, &regF, &appF, &setFq, &settF, &repF, &Frame2, &eggF}) {
    p->MinimumSize(least);
    p->Move(content);
  }
  // settF only holds the two settings pages, which scroll themselves.
  settF.MinimumSize(SIZE{});
  RECT inner{0, 0, content.right - content.left, content.bottom - content.top};
  for (Panel* p : {&qSett, &advF}) {
    p->MinimumSize(least);
    p->Move(inner);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void mForm1::OnSize(int, int) { Layout(); }

// --- window -----------------------------------------------------------------

void mForm1::OnDpiChanged() {
  UpdateFonts();
  Layout();
}

bool mForm1::OnCommand(int id, int code, HWND) {
  if (id == IDCANCEL) {  // Escape: the settings pages' Cancel
    if (settF.Visible())
      for (Panel* page : {&qSett, &advF})
        if (page->Visible() && page->MadeContent()) return page->MadeContent()->Cancel();
    return true;
  }
  if (code == STN_CLICKED && id == kRwClick) {
    VisitWebSite();
    return true;
  }
  if (code == STN_CLICKED && id == kLblDLUpdates) {
    Raise(lblDLUpdates_Click);
    return true;
  }
  return false;
}

// The help page of the page shown.
bool mForm1::OnHelp() {
  const Panel* shown = ShownPage();
  const char* page = "index.html";
  if (shown == &intF) page = "integrity.html";
  else if (shown == &regF) page = "regwatch.html";
  else if (shown == &appF) page = "appwatch.html";
  else if (shown == &setFq || shown == &settF || shown == &repF) page = "options.html";
  app_.OpenHelp(page);
  return true;
}

// Unloading the main window ends the whole program at once.
bool mForm1::OnClose() {
  app_.EndProgram();
  return true;
}

std::optional<controls::Window::LabelLook> mForm1::OnLabelLook(HWND label) {
  if (controls::HighContrast()) {
    const bool link = label == rwClick || label == lblDLUpdates;
    return LabelLook{GetSysColor(link ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT), GetSysColorBrush(COLOR_WINDOW)};
  }
  COLORREF ink = ToColorRef(art::palette::kInk);
  if (label == lblDesc || label == lblStatus) ink = ToColorRef(art::palette::kMuted);
  if (label == rwClick || label == lblDLUpdates) ink = controls::palette::kLink;
  return LabelLook{ink, Plain() ? GetSysColorBrush(COLOR_BTNFACE) : background_.get()};
}

HCURSOR mForm1::OnChildPointer(HWND child) {
  return child == rwClick || child == lblDLUpdates ? controls::HandPointer() : nullptr;
}

bool mForm1::OnEraseBackground(HDC dc) {
  RECT c{};
  GetClientRect(hwnd_, &c);
  if (controls::HighContrast()) {
    FillRect(dc, &c, GetSysColorBrush(COLOR_WINDOW));
    return true;
  }
  if (Plain()) {
    FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }
  FillRect(dc, &c, background_.get());
  RECT rail{0, 0, Px(kRail), c.bottom};
  FillRect(dc, &rail, controls::SolidBrush(ToColorRef(art::palette::kRail)).get());
  return true;
}

bool mForm1::OnMouseMove(POINT) {
  norms();
  return true;
}

mForm1& Form1(App& app) { return app.kept.Get<mForm1>(app); }
bool HasForm1(const App& app) { return app.kept.Find<mForm1>() != nullptr; }

}  // namespace kv
