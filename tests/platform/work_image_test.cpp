#include "platform/work_image.h"

#include <gtest/gtest.h>

namespace kov {
namespace {

TEST(WorkImage, PixelsAreBlueGreenRedRowZeroAtTop) {
  WorkImage img(3, 2);
  EXPECT_EQ(img.stride(), 9u);
  img.setPixel(1, 0, makeColour(10, 20, 30));  // red 10, green 20, blue 30
  const std::uint8_t* p = img.row(0) + 3;
  EXPECT_EQ(p[0], 30);
  EXPECT_EQ(p[1], 20);
  EXPECT_EQ(p[2], 10);
  EXPECT_EQ(img.pixel(1, 0), 0x1E140Au);
  EXPECT_EQ(img.pixel(0, 1), kBlack);
}

TEST(WorkImage, ResizeKeepsTheOverlapAndBlackensTheRest) {
  WorkImage img(2, 2);
  img.fill(makeColour(1, 2, 3));
  img.resize(3, 1);
  EXPECT_EQ(img.pixel(0, 0), makeColour(1, 2, 3));
  EXPECT_EQ(img.pixel(1, 0), makeColour(1, 2, 3));
  EXPECT_EQ(img.pixel(2, 0), kBlack);
  img.resize(0, 5);
  EXPECT_TRUE(img.empty());
  EXPECT_THROW(img.resize(-1, 1), std::invalid_argument);
}

TEST(WorkImage, FillAndCopy) {
  WorkImage img(4, 3);
  img.fill(makeColour(200, 100, 50));
  img.transparent = true;
  img.transparentColour = kWhite;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(img.pixel(x, y), makeColour(200, 100, 50));
  WorkImage copy = img;
  EXPECT_TRUE(samePixels(copy, img));
  EXPECT_TRUE(copy.transparent);
  EXPECT_EQ(copy.transparentColour, kWhite);
  copy.setPixel(3, 2, kWhite);
  EXPECT_FALSE(samePixels(copy, img));
  img.fill(kWhite);
  EXPECT_EQ(img.pixel(2, 1), kWhite);
}

TEST(WorkImage, ResetReusesTheBufferWhenItFits) {
  WorkImage img(100, 100);
  const std::uint8_t* before = img.data();
  img.reset(50, 20);
  EXPECT_EQ(img.data(), before);
  EXPECT_EQ(img.width(), 50);
  EXPECT_EQ(img.row(1) - img.row(0), 150);
}

}  // namespace
}  // namespace kov

namespace kov {
namespace {

TEST(WorkImage, AMovedFromPictureIsEmptyAndReusable) {
  WorkImage a(4, 4);
  a.fill(kWhite);
  WorkImage b = std::move(a);
  EXPECT_EQ(b.pixel(3, 3), kWhite);
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): what is left behind
  a.reset(2, 2);
  a.fill(kBlack);
  EXPECT_EQ(a.pixel(1, 1), kBlack);
  WorkImage c;
  c = std::move(b);
  EXPECT_EQ(c.width(), 4);
  b.resize(3, 3);
  EXPECT_EQ(b.pixel(2, 2), kBlack);
}

}  // namespace
}  // namespace kov
