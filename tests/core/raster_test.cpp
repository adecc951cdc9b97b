// The rasteriser behind the controls, the pictures and the icon: how much of
// a pixel a shape covers, where it stops, and that nothing lands outside the
// pixels it was given.
#include "core/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv::raster {
namespace {

uint32_t Alpha(uint32_t px) { return px >> 24; }

// Every shape kind, placed relative to (x, y), partly reaching past a 6 x 6
// raster whose corner is at (x, y).
void DrawEveryShape(Raster& r, float x, float y) {
  r.FillRect(x - 3.3f, y + 1.2f, x + 2.6f, y + 4.7f, Rgb(200, 0, 0), 1.5f);
  r.FillGradient(x + 4.2f, y - 2.0f, x + 9.0f, y + 3.1f, Rgb(0, 0, 0), Rgb(0, 250, 0), 1.0f, 0.8f);
  r.StrokeRect(x + 1.0f, y - 4.0f, x + 8.5f, y + 2.5f, 1.3f, Rgb(10, 20, 30), 2.0f);
  r.FillCircle(x - 1.0f, y - 1.0f, 3.7f, Rgb(0, 0, 255), 0.6f);
  r.FillPolygon({{x + 2, y + 3}, {x + 9, y + 5}, {x + 3, y + 9}}, Rgb(90, 90, 0));
  r.Polyline({{x - 2, y + 5.5f}, {x + 3, y + 3}, {x + 7.5f, y + 7}}, 1.7f, Rgb(255, 255, 255));
}

TEST(Raster, CoverageIsExactInsideAndBlendsAtTheEdges) {
  Raster r(10, 10);
  r.FillRect(2.0f, 2.0f, 6.0f, 6.0f, Rgb(255, 0, 0));
  EXPECT_EQ(r.At(2, 2), 0xFFFF0000u);
  EXPECT_EQ(r.At(5, 5), 0xFFFF0000u);
  EXPECT_EQ(r.At(1, 3), 0u);
  EXPECT_EQ(r.At(6, 3), 0u);  // right and bottom edges are exclusive
  EXPECT_EQ(r.At(3, 6), 0u);

  Raster half(4, 1);
  half.FillRect(0.0f, 0.0f, 1.5f, 1.0f, Rgb(0, 0, 255));
  EXPECT_EQ(half.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(half.At(1, 0), 0x80000080u);  // half covered, premultiplied
  EXPECT_EQ(half.At(2, 0), 0u);

  // Coverage and alpha blend the colour over what is there.
  Raster ground(2, 1);
  ground.Clear(Rgb(255, 255, 255));
  ground.FillRect(0.0f, 0.0f, 1.0f, 1.0f, Rgb(255, 0, 0), 0.0f, 0.5f);
  EXPECT_EQ(ground.At(0, 0), 0xFFFF8080u);
  EXPECT_EQ(ground.At(1, 0), 0xFFFFFFFFu);

  // A circle's rim is partly covered, its middle fully, its outside not.
  Raster disc(9, 9);
  disc.FillCircle(4.5f, 4.5f, 3.0f, Rgb(1, 2, 3));
  EXPECT_EQ(disc.At(4, 4), 0xFF010203u);
  EXPECT_EQ(disc.At(0, 0), 0u);
  const uint32_t rim = Alpha(disc.At(2, 2));
  EXPECT_GT(rim, 0u);
  EXPECT_LT(rim, 255u);

  // Even-odd: the inner square, traced inside the outer one, is a hole.
  Raster holed(8, 8);
  holed.FillPolygon({{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0}, {2, 2}, {2, 6}, {6, 6}, {6, 2}, {2, 2}},
                    Rgb(0, 255, 0));
  EXPECT_EQ(holed.At(1, 4), 0xFF00FF00u);
  EXPECT_EQ(holed.At(4, 4), 0u);
}

TEST(Raster, ShapesCoverSymmetricallyAboutTheirCentre) {
  Raster r(11, 11);
  r.FillCircle(5.5f, 5.5f, 4.2f, Rgb(255, 255, 255));
  r.StrokeRect(0.75f, 0.75f, 10.25f, 10.25f, 1.25f, Rgb(255, 255, 255), 3.25f, 0.5f);
  Raster line(11, 11);
  line.Polyline({{2.25f, 5.5f}, {8.75f, 5.5f}}, 2.5f, Rgb(255, 255, 255));
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 11; ++x) {
      EXPECT_EQ(r.At(x, y), r.At(10 - x, y)) << x << "," << y;
      EXPECT_EQ(r.At(x, y), r.At(x, 10 - y)) << x << "," << y;
      EXPECT_EQ(r.At(x, y), r.At(y, x)) << x << "," << y;
      EXPECT_EQ(line.At(x, y), line.At(10 - x, 10 - y)) << x << "," << y;
    }
  }
  EXPECT_EQ(line.At(5, 5), 0xFFFFFFFFu);
  EXPECT_GT(Alpha(line.At(1, 5)), 0u);  // the round end reaches past the point
}

TEST(Raster, ShapesAreClippedAtTheEdgesExactlyAsIfTheRasterWereLarger) {
  // The 6 x 6 raster sees the same pixels as the middle of a 26 x 26 one.
  Raster small(6, 6);
  DrawEveryShape(small, 0.0f, 0.0f);
  Raster large(26, 26);
  DrawEveryShape(large, 10.0f, 10.0f);
  int drawn = 0;
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(small.At(x, y), large.At(x + 10, y + 10)) << x << "," << y;
      drawn += small.At(x, y) != 0;
    }
  }
  EXPECT_GT(drawn, 20);
}

TEST(Raster, NothingIsWrittenOutsideTheGivenPixels) {
  // A borrowed 6 x 6 block with guard pixels before and after it.
  constexpr uint32_t kGuard = 0x12345678u;
  std::vector<uint32_t> memory(6 * 6 + 16, kGuard);
  Raster r(memory.data() + 8, 6, 6);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float off : {-3.0f, 3.0f, -40.0f, 40.0f, -3e9f, 3e9f}) {
    DrawEveryShape(r, off, off);
    DrawEveryShape(r, off, -off);
  }
  r.FillRect(-inf, -inf, inf, inf, Rgb(1, 1, 1), 2.0f);
  r.FillRect(nan, 0.0f, 4.0f, 4.0f, Rgb(1, 1, 1));
  r.FillCircle(3.0f, 3.0f, nan, Rgb(1, 1, 1));
  r.Polyline({{0, 0}, {nan, 3}}, 2.0f, Rgb(1, 1, 1));
  r.FillCircle(2.0f, 2.0f, 1e20f, Rgb(1, 1, 1));
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(memory[i], kGuard) << i;
    EXPECT_EQ(memory[memory.size() - 1 - i], kGuard) << i;
  }
  EXPECT_EQ(r.At(0, 0) >> 24, 255u);  // the infinite rectangle did cover it all

  // Pixels that no shape reaches keep what they held.
  Raster clear(6, 6);
  for (float off : {-20.0f, 20.0f, 3e9f, -inf}) DrawEveryShape(clear, off, off);
  for (uint32_t px : clear.Pixels()) EXPECT_EQ(px, 0u);
}

TEST(Raster, EmptySizesAndEmptyShapesDrawNothing) {
  for (auto [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-3, 4}, {-1, -1}}) {
    Raster r(w, h);
    EXPECT_EQ(r.Width() * r.Height(), 0);
    EXPECT_TRUE(r.Pixels().empty());
    r.Clear(Rgb(1, 2, 3));
    DrawEveryShape(r, 0.0f, 0.0f);
    EXPECT_TRUE(r.Straightened().empty());
  }
  Raster none(nullptr, 4, 4);
  EXPECT_TRUE(none.Pixels().empty());
  DrawEveryShape(none, 0.0f, 0.0f);

  Raster r(6, 6);
  r.FillRect(4.0f, 1.0f, 2.0f, 5.0f, Rgb(9, 9, 9));   // right of its left edge
  r.FillRect(1.0f, 3.0f, 5.0f, 3.0f, Rgb(9, 9, 9));   // no height
  r.FillCircle(3.0f, 3.0f, 0.0f, Rgb(9, 9, 9));
  r.FillCircle(3.0f, 3.0f, -2.0f, Rgb(9, 9, 9));
  r.StrokeRect(0.0f, 0.0f, 6.0f, 6.0f, -1.0f, Rgb(9, 9, 9));
  r.Polyline({{0, 3}, {6, 3}}, -2.0f, Rgb(9, 9, 9));
  r.Polyline({}, 2.0f, Rgb(9, 9, 9));
  r.FillPolygon({{0, 0}, {6, 6}}, Rgb(9, 9, 9));
  r.FillRect(0.0f, 0.0f, 6.0f, 6.0f, Rgb(9, 9, 9), 0.0f, 0.0f);  // see-through
  for (uint32_t px : r.Pixels()) EXPECT_EQ(px, 0u);

  r.Polyline({{3, 3}}, 4.0f, Rgb(9, 9, 9));  // one point is a dot
  EXPECT_EQ(r.At(2, 2), 0xFF090909u);
  EXPECT_EQ(r.At(0, 0), 0u);
}

TEST(Raster, GradientsAndStrokesShadeWhereTheyShould) {
  Raster r(4, 10);
  r.FillGradient(0.0f, 0.0f, 4.0f, 10.0f, Rgb(0, 0, 0), Rgb(200, 100, 0));
  EXPECT_EQ(r.At(1, 0), 0xFF0A0500u);  // the top row's centre is a twentieth down
  EXPECT_EQ(r.At(1, 9), 0xFFBE5F00u);
  for (int y = 1; y < 10; ++y) EXPECT_GT(r.At(0, y), r.At(0, y - 1)) << y;

  Raster frame(8, 8);
  frame.StrokeRect(0.0f, 0.0f, 8.0f, 8.0f, 2.0f, Rgb(255, 0, 0));
  EXPECT_EQ(frame.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(frame.At(1, 4), 0xFFFF0000u);
  EXPECT_EQ(frame.At(2, 4), 0u);
  EXPECT_EQ(frame.At(4, 4), 0u);
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

TEST(Raster, CurvesRunFromTheirStartToTheirEnd) {
  std::vector<Point> pts{{0, 0}};
  AppendCurve(pts, {0, 0}, {5, 10}, {10, 0}, 4);
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_FLOAT_EQ(pts[2].x, 5.0f);
  EXPECT_FLOAT_EQ(pts[2].y, 5.0f);  // halfway, halfway to the bend
  EXPECT_FLOAT_EQ(pts[4].x, 10.0f);
  EXPECT_FLOAT_EQ(pts[4].y, 0.0f);
}

}  // namespace
}  // namespace kv::raster
