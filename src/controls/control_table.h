// A window's controls as one table: a row per control, in Tab order, each
// kept in the window member named like it. Every control is placed at its
// 96-DPI spot, so a DPI change moves and re-fonts the lot.
#pragma once
#include <type_traits>
#include <variant>

#include "controls/cButton.h"
#include "controls/check.h"
#include "controls/window.h"

namespace kv::controls {

// The styles most rows take.
inline constexpr DWORD kLabelStyle = WS_VISIBLE | SS_NOPREFIX;
inline constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr DWORD kListStyle =
    WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

template <class W>
struct ControlRow {
  // The member that keeps the control: the handle of a system control, or
  // one of the program's own (their class, style and font are their own).
  std::variant<HWND W::*, cButton W::*, check W::*> into;
  ControlPlan plan;
};

template <class W, size_t N>
void Window::MakeControls(const ControlRow<W> (&rows)[N], bool plain) {
  W& self = static_cast<W&>(*this);
  for (const ControlRow<W>& row : rows) {
    const ControlPlan& s = row.plan;
    std::visit(
        [&](auto member) {
          auto& kept = self.*member;
          if constexpr (std::is_same_v<decltype(member), HWND W::*>) {
            kept = MakeRow(s);
          } else {
            kept.Create(hwnd_, s.id, 0, 0, 0, 0, s.text, plain);
            Place(kept.hwnd(), s.x, s.y, s.width, s.height, s.font);
            if constexpr (std::is_same_v<decltype(member), check W::*>)
              if (*s.name) kept.AccessibleName(s.name);
          }
        },
        row.into);
  }
}

}  // namespace kv::controls
