// The program's pictures, drawn from shapes at whatever size the screen
// needs. Portable: the icon generator on the build machine uses the emblem.
#pragma once
#include "core/raster.h"

namespace kv::art {

// Pictures are drawn by the core rasteriser, in its colours.
using raster::Colour;
using raster::Point;
using raster::Raster;
using raster::Rgb;

// The calm palette every window of the frame shares.
namespace palette {
inline constexpr Colour kRail = Rgb(24, 39, 56);         // navigation rail
inline constexpr Colour kRailLit = Rgb(39, 62, 86);      // lit navigation button
inline constexpr Colour kAccent = Rgb(20, 160, 140);     // teal accent
inline constexpr Colour kAccentDark = Rgb(13, 118, 106);
inline constexpr Colour kRailText = Rgb(203, 213, 225);
inline constexpr Colour kWindow = Rgb(241, 244, 248);    // frame background
inline constexpr Colour kCard = Rgb(255, 255, 255);      // page background
inline constexpr Colour kCardLine = Rgb(218, 224, 232);
inline constexpr Colour kTile = Rgb(247, 249, 251);      // the Home page's tiles
inline constexpr Colour kWallGround = Rgb(128, 128, 128);  // behind the hidden panel's wall
inline constexpr Colour kInk = Rgb(30, 41, 59);          // headings
inline constexpr Colour kMuted = Rgb(90, 104, 122);      // secondary text
inline constexpr Colour kWhite = Rgb(255, 255, 255);
}  // namespace palette

// What a navigation picture or header picture shows.
enum class Glyph { Home, Integrity, RegWatch, AppWatch, Options };

// The program's emblem: a shield with a check mark, in the square at (x, y).
void DrawEmblem(Raster& r, float x, float y, float size);

// A line glyph in the square at (x, y), drawn in `ink` over `ground` (the
// colour it is drawn on, used to cut holes).
void DrawGlyph(Raster& r, Glyph g, float x, float y, float size, Colour ink, Colour ground);

// Header picture: a rounded tile in the page's colour with its glyph.
Colour TileColour(Glyph g);
void DrawHeaderTile(Raster& r, Glyph g, float x, float y, float size);

// A tiled wall whose straight mortar lines seem to slope: rows of dark and
// light bricks shifted by a part of a brick, over the whole raster.
void DrawCafeWall(Raster& r);

}  // namespace kv::art
