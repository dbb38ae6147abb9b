#include "pipeline/draw_picture.h"

#include <gtest/gtest.h>

namespace kov {
namespace {

TEST(DrawPicture, ClipsToTheTargetAndLeavesTheKeyOut) {
  WorkImage source(3, 2);
  source.fill(makeColour(1, 2, 3));
  source.setPixel(1, 0, kBlack);
  struct Case {
    int left, top;
    bool keyed;
  } cases[] = {{0, 0, false}, {3, 2, false}, {-1, -1, true}, {4, 3, true}, {-5, 0, false},
               {0, 9, true}, {INT32_MIN, INT32_MAX, false}};
  for (const Case& c : cases) {
    WorkImage target(5, 4);
    target.fill(kWhite);
    if (c.keyed)
      drawPictureKeyed(source, target, c.left, c.top, kBlack);
    else
      drawPicture(source, target, c.left, c.top);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        const long long sx = 0LL + x - c.left, sy = 0LL + y - c.top;
        Colour expected = kWhite;
        if (sx >= 0 && sx < 3 && sy >= 0 && sy < 2) {
          expected = source.pixel(int(sx), int(sy));
          if (c.keyed && expected == kBlack) expected = kWhite;
        }
        ASSERT_EQ(target.pixel(x, y), expected) << c.left << "," << c.top << " at " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace kov
