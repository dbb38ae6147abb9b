#include "pipeline/plain_stretch.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>

namespace kov {
namespace {

WorkImage numbered(int w, int h) {
  WorkImage image(w, h);
  std::mt19937 rng(std::uint32_t(w * 31 + h));
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.stride(); ++i) image.row(y)[i] = std::uint8_t(rng());
  return image;
}

TEST(PlainStretchTest, EveryTargetPixelTakesTheProportionalSourcePixel) {
  struct Case {
    int sw, sh, width, height;  // source, rectangle
  } cases[] = {
      {3, 2, 7, 5},   // enlarged: repeated rows and columns
      {10, 7, 3, 4},  // shrunk across, enlarged down
      {9, 9, 9, 9},   // same size
      {1, 1, 4, 3},   // one pixel everywhere
      {640, 480, 17, 13},
  };
  for (const Case& c : cases) {
    const WorkImage source = numbered(c.sw, c.sh);
    WorkImage target(c.width, c.height);
    plainStretch(source, target);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        ASSERT_EQ(target.pixel(x, y), source.pixel(x * c.sw / c.width, y * c.sh / c.height))
            << c.sw << "x" << c.sh << " -> " << c.width << "x" << c.height << " at " << x << ","
            << y;
  }
}

TEST(PlainStretchTest, ARectangleIsClippedToTheTargetAndLeavesTheRestAlone) {
  const WorkImage source = numbered(4, 4);
  // Larger than the target: the mapping follows the rectangle, the excess is dropped.
  WorkImage small(3, 2);
  plainStretch(source, small, 8, 8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(small.pixel(x, y), source.pixel(x / 2, y / 2));
  // Smaller than the target: the rest keeps what it had.
  WorkImage large(6, 5);
  large.fill(kWhite);
  plainStretch(source, large, 2, 3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(large.pixel(x, y), x < 2 && y < 3 ? source.pixel(x * 4 / 2, y * 4 / 3) : kWhite);
  // Nothing to draw from or into: nothing happens.
  plainStretch(WorkImage(), large);
  plainStretch(source, large, 0, 3);
  EXPECT_EQ(large.pixel(5, 4), kWhite);
}

TEST(CopyPixelsTest, CopiesARectangleWhiteOutsideTheSourceKeepingTransparency) {
  const WorkImage source = numbered(5, 4);
  WorkImage target(1, 1);
  target.transparent = true;
  target.transparentColour = kWhite;
  copyPixels(source, 3, -1, 4, 3, target);
  ASSERT_EQ(target.width(), 4);
  ASSERT_EQ(target.height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const int sx = 3 + x, sy = -1 + y;
      const bool inside = sx < 5 && sy >= 0;
      EXPECT_EQ(target.pixel(x, y), inside ? source.pixel(sx, sy) : kWhite) << x << "," << y;
    }
  EXPECT_TRUE(target.transparent);
  EXPECT_EQ(target.transparentColour, kWhite);
  // Onto itself.
  WorkImage self = numbered(6, 6);
  const WorkImage before = self;
  copyPixels(self, 2, 2, 3, 3, self);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(self.pixel(x, y), before.pixel(x + 2, y + 2));
}

}  // namespace
}  // namespace kov
