#include "app/font_size.h"

#include <gtest/gtest.h>

namespace kov {
namespace {

TEST(FontSize, ConvertsAtNinetySixPixelsPerInch) {
  struct Case {
    int size, height;
  } cases[] = {{54, -72}, {9, -12}, {11, -15}, {80, -107}, {36, -48}, {0, 0}, {1, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(fontHeightFromSize(c.size), c.height) << c.size;
    EXPECT_EQ(fontSizeFromHeight(c.height), c.size) << c.height;
  }
}

TEST(FontSize, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(mulDivRounded(3, 1, 2), 2);
  EXPECT_EQ(mulDivRounded(-3, 1, 2), -2);
  EXPECT_EQ(mulDivRounded(5, 1, 4), 1);
  EXPECT_EQ(mulDivRounded(-107, 72, 96), -80);  // -80.25
  EXPECT_EQ(fontSizeFromHeight(-106), 80);      // 79.5 rounds up
}

}  // namespace
}  // namespace kov
