// The secure-shut-down window: three pictures (standby, turn off, restart)
// that light up under the pointer or the keyboard focus, their labels, and
// the "Log Off..." and "Cancel" labels. Shift turns standby into hibernate.
#include "shutdown/frmLogoff.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "context/app.h"
#include "controls/control_table.h"
#include "controls/control_text.h"
#include "controls/dialog_keys.h"
#include "platform/instance.h"
#include "shutdown/frmLogoff_ids.h"

namespace kv {

using namespace logoff_ids;

namespace {

constexpr char kClassName[] = "KorvanelSecureShutDown";
constexpr SIZE kClient{420, 240};  // at 96 DPI
constexpr int kTopBand = 44, kBottomBand = 196;
constexpr art::Colour kTop = art::Rgb(0, 48, 135);
constexpr art::Colour kMiddle = art::Rgb(70, 108, 196);
// Black and white captions both stay readable on the lower band.
constexpr art::Colour kBottom = art::Rgb(122, 150, 210);
constexpr controls::Typeface kHeading{"Segoe UI", 13, FW_SEMIBOLD};
constexpr controls::Typeface kCaption{"Segoe UI", 10, FW_SEMIBOLD};
constexpr controls::Typeface kHint{"Segoe UI", 8};
constexpr controls::Typeface kLink{"Segoe UI", 10, FW_SEMIBOLD};

constexpr char kStandbyText[] = "Standby";
constexpr char kHibernateText[] = "Hibernate";

// The window whose keys decide Label4; one secure-shut-down window at most.
frmLogoff*& KeyTarget() {
  static frmLogoff* target = nullptr;
  return target;
}

LRESULT CALLBACK KeyHook(int code, WPARAM key, LPARAM flags) {
  frmLogoff* target = KeyTarget();
  if (code == HC_ACTION && target && target->hwnd()) {
    HWND focus = GetFocus();
    if (focus && GetAncestor(focus, GA_ROOT) == target->hwnd()) {
      if (flags & (LPARAM(1) << 31))
        target->Form_KeyUp(int(key));
      else
        target->Form_KeyDown(int(key));
    }
  }
  return CallNextHookEx(nullptr, code, key, flags);
}

std::vector<art::Point> Arc(float cx, float cy, float r, float fromDeg, float toDeg) {
  std::vector<art::Point> pts;
  const int steps = 40;
  for (int i = 0; i <= steps; ++i) {
    const float a = (fromDeg + (toDeg - fromDeg) * float(i) / steps) * 3.14159265f / 180.0f;
    pts.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
  }
  return pts;
}

enum class Action { Standby, TurnOff, Restart };

// A rounded tile in the action's colour with its symbol in white.
void DrawAction(art::Raster& r, Action action, bool lit, bool focused) {
  const float w = float(r.Width()), h = float(r.Height());
  const float s = std::min(w, h), x0 = (w - s) / 2, y0 = (h - s) / 2;
  const float u = s / 64.0f;
  art::Colour top, bottom;
  switch (action) {
    case Action::Standby: top = art::Rgb(255, 200, 60), bottom = art::Rgb(214, 140, 0); break;
    case Action::TurnOff: top = art::Rgb(240, 96, 72), bottom = art::Rgb(180, 36, 24); break;
    default: top = art::Rgb(96, 200, 96), bottom = art::Rgb(30, 140, 40); break;
  }
  if (lit) {
    top = raster::Mix(top, art::palette::kWhite, 0.3f);
    bottom = raster::Mix(bottom, art::palette::kWhite, 0.2f);
  }
  const float inset = 4 * u;
  r.FillGradient(x0 + inset, y0 + inset, x0 + s - inset, y0 + s - inset, top, bottom, 12 * u);
  if (lit) r.StrokeRect(x0 + inset, y0 + inset, x0 + s - inset, y0 + s - inset, 2.5f * u,
                        art::palette::kWhite, 12 * u);
  if (focused) r.StrokeRect(x0, y0, x0 + s, y0 + s, 1.5f * u, art::palette::kWhite, 14 * u);
  const float cx = x0 + s / 2, cy = y0 + s / 2;
  const art::Colour ink = art::palette::kWhite;
  switch (action) {
    case Action::Standby: {
      r.FillCircle(cx, cy, 15 * u, ink);
      const art::Colour cut = raster::Mix(top, bottom, 0.45f);
      r.FillCircle(cx + 8 * u, cy - 6 * u, 13 * u, cut);
      break;
    }
    case Action::TurnOff:
      r.Polyline(Arc(cx, cy + 2 * u, 15 * u, 35, 325), 4.5f * u, ink);
      r.Polyline({{cx, cy - 18 * u}, {cx, cy - 1 * u}}, 4.5f * u, ink);
      break;
    case Action::Restart: {
      r.Polyline(Arc(cx, cy, 15 * u, 60, 340), 4.5f * u, ink);
      const art::Point tip{cx + 15 * u * std::sin(0.0f), cy - 15 * u};
      r.FillPolygon({{tip.x - 1 * u, tip.y - 8 * u}, {tip.x + 9 * u, tip.y}, {tip.x - 1 * u, tip.y + 8 * u}},
                    ink);
      break;
    }
  }
}

}  // namespace

frmLogoff::frmLogoff(App& app) : app_(app) {
  controls::UseDialogKeys(kClassName);
  band_ = controls::SolidBrush(ToColorRef(kMiddle));
  Create(controls::WindowClass{kClassName, 0, nullptr, true}, WS_EX_CONTROLPARENT,
         "Korvanel Secure Shut Down", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, CW_USEDEFAULT,
         CW_USEDEFAULT, 100, 100, nullptr);
  SizeClientTo(kClient);
  CreateControls();
  systemVersion = CurrentSystemVersion();
  KeyTarget() = this;
  static HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, &KeyHook, nullptr, GetCurrentThreadId());
  (void)hook;
}

frmLogoff::~frmLogoff() {
  if (KeyTarget() == this) KeyTarget() = nullptr;
  if (hwnd_) KillTimer(hwnd_, kTimer1);
  Destroy();
}

// A picture or a link: a push button to a screen reader, lit under the
// pointer until it leaves.
void frmLogoff::Wire(Picture& p, bool& lit, const char* name, int x, int y, int width, int height) {
  p.Name(name);
  p.MouseMove = [this, id = GetDlgCtrlID(p.hwnd())] { PointerOver(id - kBase); };
  p.MouseLeave = [this, &lit] {
    lit = false;
    Redraw();
  };
  Place(p.hwnd(), x, y, width, height);
  p.Visible(true);
}

void frmLogoff::CreateControls() {
  // Created in Tab order: the three pictures, their labels, the two links.
  const struct { Picture* picture; int id; Action action; const char* name; } choices[] = {
      {&Image1, kImage1, Action::Standby, kStandbyText},
      {&Image3, kImage3, Action::TurnOff, "Turn Off"},
      {&Image5, kImage5, Action::Restart, "Restart"}};
  for (size_t i = 0; i < std::size(choices); ++i) {
    Picture& p = *choices[i].picture;
    p.Create(hwnd_, choices[i].id, kMiddle,
             [this, action = choices[i].action, i](art::Raster& r, const Picture::Look& look) {
               DrawAction(r, action, lit_[i], look.focused);
             },
             {}, true, true);
    Wire(p, lit_[i], choices[i].name, 62 + int(i) * 116, 64, 64, 64);
  }
  constexpr DWORD kCentred = WS_VISIBLE | SS_CENTER | SS_NOPREFIX;
  static const controls::ControlRow<frmLogoff> kLabels[] = {
      {&frmLogoff::Label4, {kLabel4, "STATIC", kStandbyText, kCentred, 24, 134, 140, 20, kCaption}},
      {&frmLogoff::Label5, {kLabel5, "STATIC", "Turn Off", kCentred, 150, 134, 120, 20, kCaption}},
      {&frmLogoff::Label3, {kLabel3, "STATIC", "Restart", kCentred, 266, 134, 120, 20, kCaption}},
      {&frmLogoff::Label6, {kLabel6, "STATIC", "hold SHIFT for Hibernate", kCentred, 24, 156, 140, 18, kHint}},
  };
  MakeControls(kLabels);
  // `white` is the link's place in whiteLabel_.
  const struct { Picture* picture; int id; size_t white; const char* text; int x; UINT align; } links[] = {
      {&Label2, kLabel2, 1, "Log Off...", 16, DT_LEFT}, {&Label1, kLabel1, 0, "Cancel", 308, DT_RIGHT}};
  for (const auto& l : links) {
    l.picture->Create(hwnd_, l.id, kBottom, {},
                      [this, white = l.white, text = l.text, align = l.align](
                          HDC dc, const RECT& rc, const Picture::Look& look) {
                        SelectObject(dc, FontOf(kLink));
                        SetTextColor(dc, whiteLabel_[white] ? RGB(255, 255, 255) : RGB(0, 0, 0));
                        RECT box = rc;
                        DrawTextA(dc, text, -1, &box, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                        if (look.focused) {
                          RECT f = rc;
                          InflateRect(&f, -1, -1);
                          DrawFocusRect(dc, &f);
                        }
                      },
                      true, true);
    Wire(*l.picture, whiteLabel_[l.white], l.text, l.x, 206, 96, 26);
  }
  Image1.Click = [this] { Image2_Click(); };
  Image3.Click = [this] { Image4_Click(); };
  Image5.Click = [this] { Image6_Click(); };
  Label2.Click = [this] { Label2_Click(); };
  Label1.Click = [this] { Label1_Click(); };
  // The arrow keys walk the choices in their Tab order.
  for (Picture* p : {&Image1, &Image3, &Image5, &Label2, &Label1})
    p->ArrowKey = [this, p](int step) {
      controls::StepFocus({Image1.hwnd(), Image3.hwnd(), Image5.hwnd(), Label2.hwnd(), Label1.hwnd()},
                          p->hwnd(), step);
    };
}

void frmLogoff::Open() {
  if (app_.anotherInstance) {
    app_.Ask(kAlreadyRunning);
    app_.EndProgram();
    return;
  }
  CentreOnScreen();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(Image1.hwnd());
}

bool frmLogoff::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

// --- the window's look ------------------------------------------------------------

bool frmLogoff::OnPaint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int top = Px(kTopBand), bottom = Px(kBottomBand);
  const auto fill = [&](int y0, int y1, art::Colour c) {
    RECT band{0, y0, client.right, y1};
    controls::Brush brush = controls::SolidBrush(ToColorRef(c));
    FillRect(dc, &band, brush.get());
  };
  fill(0, top, kTop);
  fill(top, bottom, kMiddle);
  fill(bottom, client.bottom, kBottom);
  // A thin light line under the heading band, as the system's dialog has.
  fill(top, top + std::max(1, Px(2)), art::Rgb(230, 140, 40));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, FontOf(kHeading));
  RECT heading{Px(16), 0, client.right - Px(16), top};
  DrawTextA(dc, "Turn off computer", -1, &heading, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  return true;
}

std::optional<controls::Window::LabelLook> frmLogoff::OnLabelLook(HWND) {
  return LabelLook{RGB(255, 255, 255), band_.get()};
}

bool frmLogoff::OnMouseMove(POINT) {
  PointerOver(0);
  return true;
}

void frmLogoff::PointerOver(int control) {
  if (control == 0) {
    lit_ = {};
    whiteLabel_ = {};
  } else if (control == 1 || control == 3 || control == 5) {
    lit_[size_t(control / 2)] = true;
  } else if (control == 11 || control == 12) {
    whiteLabel_[size_t(control - 11)] = true;
  }
  for (Picture* p : {&Image1, &Image3, &Image5, &Label1, &Label2}) InvalidateRect(p->hwnd(), nullptr, FALSE);
}

bool frmLogoff::HighlightShown(int image) const {
  const int i = (image - 2) / 2;
  return (image == 2 || image == 4 || image == 6) && lit_[size_t(i)];
}

COLORREF frmLogoff::LabelInk(int label) const {
  return (label == 1 || label == 2) && whiteLabel_[size_t(label - 1)] ? RGB(255, 255, 255)
                                                                       : RGB(0, 0, 0);
}

std::string frmLogoff::Label4Text() const { return controls::ControlText(Label4); }

// --- the window's events ------------------------------------------------------------

void frmLogoff::Form_KeyDown(int keyCode) {
  if (keyCode != VK_SHIFT) return;
  SetWindowTextA(Label4, kHibernateText);
  Image1.Name(kHibernateText);
}

void frmLogoff::Form_KeyUp(int) {
  SetWindowTextA(Label4, kStandbyText);
  Image1.Name(kStandbyText);
}

void frmLogoff::Choose(int action) {
  // A choice made while the sequence already runs is not a second one.
  if (started_) return;
  action_ = action;
  preShut0();
}

void frmLogoff::Image2_Click() { Choose(Label4Text() == kStandbyText ? kStandby : kHibernate); }
void frmLogoff::Image4_Click() { Choose(kTurnOff); }
void frmLogoff::Image6_Click() { Choose(kRestart); }
void frmLogoff::Label2_Click() { Choose(kLogOff); }
void frmLogoff::Label1_Click() {
  if (!started_) app_.EndProgram();
}

bool frmLogoff::OnCommand(int id, int, HWND) {
  if (id == IDCANCEL) {  // Escape
    Label1_Click();
    return true;
  }
  return false;
}

bool frmLogoff::OnHelp() {
  app_.OpenHelp("unattended.html");
  return true;
}

bool frmLogoff::OnClose() {
  Label1_Click();
  return true;
}

bool frmLogoff::OnTimer(UINT_PTR id) {
  if (id != kTimer1) return false;
  Timer1_Timer();
  return true;
}

frmLogoff& LogoffWindow(App& app) { return app.kept.Get<frmLogoff>(app); }
bool HasLogoffWindow(const App& app) { return app.kept.Find<frmLogoff>() != nullptr; }

}  // namespace kv
