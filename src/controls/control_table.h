// A window's or a page's controls as one table: a row per control, in Tab
// order, each kept in the owner's member named like it. A window's rows
// are placed at their 96-DPI spots, so a DPI change moves and re-fonts the
// lot; a page's rows leave place and font to its Layout().
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
  // A control kept in an element of a member array is reached through a
  // function that returns that element.
  std::variant<HWND W::*, cButton W::*, check W::*, HWND& (*)(W&), cButton& (*)(W&)> into;
  ControlPlan plan;
};

// The row's way to a control kept at `I` of the owner's member array
// `Array`: &Element<&Page::Option, 3>.
template <class W, class A>
W OwnerOf(A W::*);
template <auto Array, size_t I>
auto& Element(decltype(OwnerOf(Array))& owner) {
  return (owner.*Array)[I];
}

// Makes one row's control as a child of `parent`, keeps it in the owner's
// member and names it for assistive technology; returns its window.
template <class W>
HWND MakeTableRow(W& owner, HWND parent, const ControlRow<W>& row, bool plain) {
  const ControlPlan& s = row.plan;
  return std::visit(
      [&](auto into) -> HWND {
        auto& kept = [&]() -> auto& {
          if constexpr (std::is_member_object_pointer_v<decltype(into)>) return owner.*into;
          else return into(owner);
        }();
        using Kept = std::remove_reference_t<decltype(kept)>;
        if constexpr (std::is_same_v<Kept, HWND>) {
          kept = MakeControl(parent, s);
          return kept;
        } else {
          kept.Create(parent, s.id, 0, 0, 0, 0, s.text, plain);
          if constexpr (std::is_same_v<Kept, check>)
            if (*s.name) kept.AccessibleName(s.name);
          return kept.hwnd();
        }
      },
      row.into);
}

// Makes a page's table of controls as children of `parent` (its panel), in
// the table's order, which is the Tab order; `plain` is the program's own
// controls' look.
template <class W, size_t N>
void MakeControls(W& owner, HWND parent, const ControlRow<W> (&rows)[N], bool plain = false) {
  for (const ControlRow<W>& row : rows) MakeTableRow(owner, parent, row, plain);
}

template <class W, size_t N>
void Window::MakeControls(const ControlRow<W> (&rows)[N], bool plain) {
  for (const ControlRow<W>& row : rows) {
    const HWND made = MakeTableRow(static_cast<W&>(*this), hwnd_, row, plain);
    const ControlPlan& s = row.plan;
    if (s.Placed()) Place(made, s.x, s.y, s.width, s.height, s.font);
  }
}

}  // namespace kv::controls
