// The rasteriser behind the program's pictures and its icon: shapes cover
// what they should, edges blend, and the icon's colour plane keeps its
// colours when the alpha is taken out.
#include <gtest/gtest.h>

#include "app/art/drawings.h"
#include "app/art/raster.h"

namespace kv::art {
namespace {

uint32_t Alpha(uint32_t px) { return px >> 24; }

TEST(Raster, ShapesCoverTheirPixelsAndBlendTheirEdges) {
  Raster r(10, 10);
  r.FillRect(2.0f, 2.0f, 6.0f, 6.0f, Rgb(255, 0, 0));
  EXPECT_EQ(r.At(3, 3), 0xFFFF0000u);
  EXPECT_EQ(r.At(1, 3), 0u);
  EXPECT_EQ(r.At(6, 3), 0u);  // the right edge is exclusive

  Raster half(4, 1);
  half.FillRect(0.0f, 0.0f, 1.5f, 1.0f, Rgb(0, 0, 255));
  EXPECT_EQ(Alpha(half.At(1, 0)), 128u);

  Raster poly(8, 8);
  poly.FillPolygon({{0, 0}, {8, 0}, {0, 8}}, Rgb(0, 255, 0));  // a triangle over the top-left half
  EXPECT_EQ(Alpha(poly.At(1, 1)), 255u);
  EXPECT_EQ(Alpha(poly.At(6, 6)), 0u);
  const uint32_t diagonal = Alpha(poly.At(3, 4));
  EXPECT_GT(diagonal, 0u);
  EXPECT_LT(diagonal, 255u);

  // Shapes outside the raster are clipped, not written past its end.
  Raster small(3, 3);
  small.FillCircle(-50.0f, -50.0f, 60.0f, Rgb(1, 2, 3));
  small.Polyline({{-5, 10}, {10, -5}}, 3.0f, Rgb(1, 2, 3));
  EXPECT_EQ(small.Pixels().size(), 9u);
}

TEST(Raster, StraightenedColoursUndoThePremultipliedAlpha) {
  Raster r(2, 1);
  r.FillRect(0.0f, 0.0f, 0.5f, 1.0f, Rgb(200, 100, 50));  // half covered
  const uint32_t px = r.Straightened()[0];
  EXPECT_EQ(px >> 24, 128u);
  EXPECT_NEAR(double((px >> 16) & 0xFF), 200.0, 2.0);
  EXPECT_NEAR(double((px >> 8) & 0xFF), 100.0, 2.0);
  EXPECT_NEAR(double(px & 0xFF), 50.0, 2.0);
  EXPECT_EQ(r.Straightened()[1], 0u);
}

TEST(Emblem, FillsItsMiddleAndLeavesTheCornersClear) {
  for (int size : {16, 32, 256}) {
    Raster r(size, size);
    DrawEmblem(r, 0.0f, 0.0f, float(size));
    EXPECT_EQ(Alpha(r.At(size / 2, size / 4)), 255u) << size;
    EXPECT_EQ(r.At(0, size - 1), 0u) << size;
    EXPECT_EQ(r.At(size - 1, size - 1), 0u) << size;
  }
}

}  // namespace
}  // namespace kv::art
