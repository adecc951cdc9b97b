// The program's pictures, as the main window and the icon show them.
#include <gtest/gtest.h>

#include "controls/art/drawings.h"

namespace kv::art {
namespace {

uint32_t Alpha(uint32_t px) { return px >> 24; }

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
