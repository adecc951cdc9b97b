// The colours the windows and the custom controls draw with, by name. The
// frame's picture colours (rail, card, ink) live with the drawings in
// app/art/drawings.h, which the windows reach through ToColorRef.
#pragma once
#include <windows.h>

namespace kv::controls {

// Caption colours other code compares against; they are part of how the
// controls behave, not just decoration.
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

namespace palette {

// Text that is a link (the web site, "Updates Available").
inline constexpr COLORREF kLink = RGB(0, 102, 204);

// The check run window.
inline constexpr COLORREF kCheckWindow = RGB(248, 249, 251);   // its background
inline constexpr COLORREF kCheckAction = RGB(0, 84, 166);      // clickable labels, current step
inline constexpr COLORREF kCheckStepOff = RGB(150, 150, 150);  // the other steps
inline constexpr COLORREF kCheckRunning = RGB(64, 64, 64);     // the category being checked

// Focus rings and the lit border of the check box.
inline constexpr COLORREF kAccent = RGB(0, 103, 192);
inline constexpr COLORREF kGreyText = RGB(128, 128, 128);  // a disabled check box's caption

// cButton pictures: Image1 normal, Shape1 lit, Shape2 pressed, and the face
// of a disabled button; each a border and a gradient from top to bottom.
struct Face {
  COLORREF border, top, bottom;
};
inline constexpr Face kImage1{RGB(172, 180, 192), RGB(253, 253, 254), RGB(229, 233, 239)};
inline constexpr Face kShape1{RGB(40, 128, 212), RGB(236, 245, 254), RGB(200, 225, 250)};
inline constexpr Face kShape2{RGB(12, 74, 148), RGB(22, 102, 196), RGB(16, 84, 170)};
// A disabled button is pale with a grey caption: faded beside the others,
// its caption still readable (above 4.5:1 against every pixel of the face).
inline constexpr Face kDisabled{RGB(176, 182, 190), RGB(236, 238, 241), RGB(226, 229, 233)};
inline constexpr Face kPlainDisabled{RGB(150, 156, 164), RGB(224, 227, 231), RGB(224, 227, 231)};
inline constexpr COLORREF kDisabledText = RGB(84, 90, 98);
// Flat face of the plain look: dark enough that the white caption of a held
// button stays readable, light enough for the black one.
inline constexpr Face kPlain{RGB(104, 110, 120), RGB(150, 156, 164), RGB(150, 156, 164)};

// check pictures: the Image2 strip, the Image1 marker and the Check1 box.
inline constexpr COLORREF kStripTop = RGB(247, 249, 252);
inline constexpr COLORREF kStripBottom = RGB(237, 241, 246);
inline constexpr COLORREF kMarkerOn = RGB(46, 160, 67);
inline constexpr COLORREF kMarkerRing = RGB(176, 184, 194);
inline constexpr COLORREF kMarkerHole = RGB(242, 245, 249);
inline constexpr Face kBoxOn{RGB(0, 100, 196), RGB(24, 124, 220), RGB(0, 100, 196)};
inline constexpr Face kBoxOnPressed{RGB(0, 70, 140), RGB(0, 84, 160), RGB(0, 70, 140)};
inline constexpr Face kBoxOnDisabled{RGB(146, 152, 161), RGB(160, 166, 175), RGB(146, 152, 161)};
inline constexpr Face kBoxOff{RGB(112, 120, 132), RGB(255, 255, 255), RGB(241, 244, 248)};
inline constexpr Face kBoxOffPressed{RGB(112, 120, 132), RGB(214, 228, 246), RGB(204, 220, 242)};
inline constexpr COLORREF kBoxOffDisabledBorder = RGB(176, 182, 190);

}  // namespace palette
}  // namespace kv::controls
