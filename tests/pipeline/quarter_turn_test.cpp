#include "pipeline/quarter_turn.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "app/main_window_state.h"

namespace kov {
namespace {

// Every pixel different, so that any misplaced one shows.
WorkImage numbered(int w, int h) {
  WorkImage image(w, h);
  std::mt19937 rng(std::uint32_t(w * 7919 + h));
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.stride(); ++i) image.row(y)[i] = std::uint8_t(rng());
  return image;
}

// Sizes around the 64-row blocks and the last-column and last-row edges.
const std::pair<int, int> kSizes[] = {{1, 1},  {1, 7},  {7, 1},   {2, 3},    {4, 3},
                                      {64, 5}, {65, 3}, {5, 129}, {130, 70}, {3, 200}};

TEST(QuarterTurnTest, TurnsCounterClockwise) {
  // Target (x, y) takes source (th - 1 - y, x): the source's top row, right to
  // left, becomes the target's left column, top to bottom.
  for (auto [w, h] : kSizes) {
    const WorkImage source = numbered(w, h);
    WorkImage target(h, w);
    ASSERT_EQ(turnQuarter(source, target), kTurnOk);
    for (int y = 0; y < w; ++y)
      for (int x = 0; x < h; ++x)
        ASSERT_EQ(target.pixel(x, y), source.pixel(w - 1 - y, x)) << w << "x" << h;
  }
  // The example: the left column is the top row read from right to left.
  const WorkImage source = numbered(40, 30);
  WorkImage target(30, 40);
  ASSERT_EQ(turnQuarter(source, target), kTurnOk);
  for (int y = 0; y < 40; ++y) EXPECT_EQ(target.pixel(0, y), source.pixel(39 - y, 0));
}

TEST(QuarterTurnTest, ATargetOfAnotherSizeIsBlackWhereNoSourcePixelFalls) {
  const WorkImage source = numbered(5, 3);
  WorkImage target(4, 7);  // not 3 x 5
  target.fill(kWhite);
  ASSERT_EQ(turnQuarter(source, target), kTurnOk);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 4; ++x) {
      const int column = 7 - 1 - y, row = x;
      const Colour expected = column < 5 && row < 3 ? source.pixel(column, row) : kBlack;
      EXPECT_EQ(target.pixel(x, y), expected) << x << "," << y;
    }
}

TEST(QuarterTurnTest, RefusesTargetsLargerThanThePlanes) {
  const WorkImage source(kMaxPlaneSize + 1, 1);
  WorkImage target(1, kMaxPlaneSize + 1);
  target.fill(kWhite);
  EXPECT_EQ(turnQuarter(source, target), kTurnTooLarge);
  EXPECT_EQ(target.pixel(0, 0), kWhite);  // nothing written
  // A source too large for the planes has nothing to give a smaller target.
  WorkImage small(1, 1);
  small.fill(kWhite);
  EXPECT_EQ(turnQuarter(numbered(kMaxPlaneSize + 1, 1), small), kTurnOk);
  EXPECT_EQ(small.pixel(0, 0), kBlack);
}

TEST(QuarterTurnTest, ExifOrientationsStandThePictureUpright) {
  // For each orientation, where upright pixel (x, y) is found in the stored
  // w x h picture (EXIF: 2 mirrored, 3 half turn, 4 upside-down mirror,
  // 5 transposed, 6 stored a quarter turn anticlockwise, 7 transverse, 8 stored
  // a quarter turn clockwise).
  using Where = std::function<std::pair<int, int>(int x, int y, int w, int h)>;
  const Where where[9] = {
      [](int x, int y, int, int) {
        return std::pair{x, y};
      },  // 0: not valid, as 1
      [](int x, int y, int, int) {
        return std::pair{x, y};
      },
      [](int x, int y, int w, int) {
        return std::pair{w - 1 - x, y};
      },
      [](int x, int y, int w, int h) {
        return std::pair{w - 1 - x, h - 1 - y};
      },
      [](int x, int y, int, int h) {
        return std::pair{x, h - 1 - y};
      },
      [](int x, int y, int, int) {
        return std::pair{y, x};
      },
      [](int x, int y, int, int h) {
        return std::pair{y, h - 1 - x};
      },
      [](int x, int y, int w, int h) {
        return std::pair{w - 1 - y, h - 1 - x};
      },
      [](int x, int y, int w, int) {
        return std::pair{w - 1 - y, x};
      },
  };
  for (int orientation = 0; orientation <= 9; ++orientation) {
    const Where& map = where[orientation == 9 ? 0 : orientation];
    for (auto [w, h] : kSizes) {
      const WorkImage stored = numbered(w, h);
      WorkImage upright;
      applyExifOrientation(stored, upright, orientation);
      const bool swaps = orientation >= 5 && orientation <= 8;
      ASSERT_EQ(upright.width(), swaps ? h : w);
      ASSERT_EQ(upright.height(), swaps ? w : h);
      for (int y = 0; y < upright.height(); ++y)
        for (int x = 0; x < upright.width(); ++x) {
          const auto [sx, sy] = map(x, y, w, h);
          ASSERT_EQ(upright.pixel(x, y), stored.pixel(sx, sy))
              << "orientation " << orientation << " " << w << "x" << h << " at " << x << "," << y;
        }
    }
  }
}

}  // namespace
}  // namespace kov
