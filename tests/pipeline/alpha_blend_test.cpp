#include "pipeline/alpha_blend.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>

namespace kov {
namespace {

WorkImage randomImage(int w, int h, std::mt19937& rng) {
  WorkImage image(w, h);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.stride(); ++i) image.row(y)[i] = std::uint8_t(byte(rng));
  return image;
}

// Many pixels fully see-through or fully covering, as in real frames, the rest anything.
AlphaPlane randomAlpha(int w, int h, std::mt19937& rng) {
  AlphaPlane alpha;
  alpha.reset(w, h);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> kind(0, 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int k = kind(rng);
      alpha.row(y)[x] = std::uint8_t(k == 0 ? 0 : k == 1 ? 255 : byte(rng));
    }
  return alpha;
}

// Straight from the formula, one pixel at a time.
void referenceBlend(int w, int h, const WorkImage& frame, WorkImage& target,
                    const AlphaPlane& alpha, int frameWidth, int frameHeight) {
  w = std::min(w, target.width());
  h = std::min(h, target.height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int a;
      if (frameWidth == w) {
        a = alpha.at(x, y);
      } else {
        const std::int64_t sx =
            std::min(std::int64_t(x) * frameWidth / w, std::int64_t(frameWidth) - 1);
        const std::int64_t sy =
            std::min(std::int64_t(y) * frameHeight / h, std::int64_t(frameHeight) - 1);
        a = alpha.at(int(sx), int(sy));
      }
      a = std::min(a, 255);
      for (int c = 0; c < 3; ++c) {
        const int f = frame.row(y)[3 * x + c];
        std::uint8_t& t = target.row(y)[3 * x + c];
        t = std::uint8_t((f * a + (255 - a) * t) / 255);
      }
    }
}

AlphaPlane uniformAlpha(int w, int h, std::uint8_t value) {
  AlphaPlane alpha;
  alpha.reset(w, h);
  for (int y = 0; y < h; ++y) std::fill_n(alpha.row(y), w, value);
  return alpha;
}

TEST(AlphaBlendTest, HalfOpacityExample) {
  WorkImage frame(1, 1);
  frame.setPixel(0, 0, makeColour(0, 100, 200));  // blue 200, green 100, red 0
  WorkImage target(1, 1);
  target.setPixel(0, 0, makeColour(200, 100, 0));  // blue 0, green 100, red 200
  ASSERT_EQ(blendWithAlpha(1, 1, frame, target, uniformAlpha(1, 1, 128), 1, 1), kBlendOk);
  const std::uint8_t* p = target.row(0);
  EXPECT_EQ(p[0], 100);
  EXPECT_EQ(p[1], 100);
  EXPECT_EQ(p[2], 99);
}

TEST(AlphaBlendTest, EveryOpacityFrameAndPictureValueFollowsTheFormula) {
  // Frame value f = x in every byte, picture value t = y: all pairs, once per opacity.
  WorkImage frame(256, 256);
  WorkImage picture(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      frame.setPixel(x, y, makeColour(std::uint8_t(x), std::uint8_t(x), std::uint8_t(x)));
      picture.setPixel(x, y, makeColour(std::uint8_t(y), std::uint8_t(y), std::uint8_t(y)));
    }
  for (int a = 0; a < 256; ++a) {
    WorkImage target = picture;
    ASSERT_EQ(
        blendWithAlpha(256, 256, frame, target, uniformAlpha(256, 256, std::uint8_t(a)), 256, 256),
        kBlendOk);
    for (int t = 0; t < 256; ++t) {
      const std::uint8_t* row = target.row(t);
      for (int f = 0; f < 256; ++f) {
        const int expected = (f * a + (255 - a) * t) / 255;
        ASSERT_EQ(row[3 * f], expected) << "a " << a << " f " << f << " t " << t;
        ASSERT_EQ(row[3 * f + 1], expected);
        ASSERT_EQ(row[3 * f + 2], expected);
      }
    }
  }
}

TEST(AlphaBlendTest, PreviewTakesOpacityFromTheProportionalFramePixel) {
  // 600 x 400 preview of a 3000 x 2000 frame: preview (599, 399) reads (2995, 1995), and
  // nothing reads (2999, 1999).
  AlphaPlane alpha;
  alpha.reset(3000, 2000);
  alpha.row(1995)[2995] = 255;
  alpha.row(1999)[2999] = 255;
  WorkImage frame(600, 400);
  frame.fill(makeColour(1, 2, 3));
  WorkImage target(600, 400);
  target.fill(makeColour(9, 8, 7));
  WorkImage expected = target;
  expected.setPixel(599, 399, makeColour(1, 2, 3));
  ASSERT_EQ(blendWithAlpha(600, 400, frame, target, alpha, 3000, 2000), kBlendOk);
  EXPECT_TRUE(samePixels(target, expected));
}

TEST(AlphaBlendTest, RefusalsInOrderLeaveTheTargetUnchanged) {
  struct Case {
    int w, h, frameW, frameH;
    int expected;
  };
  const Case cases[] = {
      {0, 4, 3, 5, kBlendBadSize},      {4, 0, 3, 5, kBlendBadSize},
      {-1, 4, 4, 4, kBlendBadSize},     {4, 4, 3, 5, kBlendWidthDiffers},
      {4, 4, 3, 4, kBlendWidthDiffers}, {4, 4, 4, 5, kBlendHeightDiffers},
  };
  std::mt19937 rng(3);
  const WorkImage original = randomImage(4, 4, rng);
  const AlphaPlane alpha = uniformAlpha(4, 4, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.w << " x " << c.h << " frame " << c.frameW << " x " << c.frameH);
    WorkImage target = original;
    const WorkImage frame = randomImage(c.frameW, c.frameH, rng);
    EXPECT_EQ(blendWithAlpha(c.w, c.h, frame, target, alpha, 4, 4), c.expected);
    EXPECT_TRUE(samePixels(target, original));
  }
}

TEST(AlphaBlendTest, MatchesThePlainFormulaAtFullAndPreviewSizes) {
  struct Case {
    const char* what;
    int targetW, targetH;  // frame image and picture
    int w, h;              // asked for
    int frameW, frameH;    // frame file size
    int planeW, planeH;    // the frame image's alpha
  };
  const Case cases[] = {
      {"full size", 37, 23, 37, 23, 37, 23, 37, 23},
      {"asked for more than the picture", 37, 23, 500, 900, 37, 23, 37, 23},
      {"part of the picture", 37, 23, 20, 9, 20, 50, 37, 23},
      {"preview, whole ratio", 60, 40, 60, 40, 300, 200, 300, 200},
      {"preview, uneven ratio", 53, 31, 53, 31, 301, 211, 301, 211},
      {"frame smaller than picture", 50, 30, 50, 30, 20, 12, 20, 12},
      {"same width, other height", 30, 20, 30, 20, 30, 200, 30, 200},
      {"plane smaller than frame file", 40, 30, 40, 30, 80, 60, 50, 33},
      {"plane larger than frame file", 40, 30, 40, 30, 41, 29, 90, 90},
      {"zero frame size", 10, 10, 10, 10, 0, 0, 10, 10},
      {"negative frame size", 10, 10, 10, 10, -7, -3, 10, 10},
      {"one pixel", 1, 1, 1, 1, 3000, 2000, 3000, 2000},
  };
  std::mt19937 rng(42);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WorkImage frame = randomImage(c.targetW, c.targetH, rng);
    const WorkImage picture = randomImage(c.targetW, c.targetH, rng);
    const AlphaPlane alpha = randomAlpha(c.planeW, c.planeH, rng);
    WorkImage fast = picture;
    WorkImage reference = picture;
    ASSERT_EQ(blendWithAlpha(c.w, c.h, frame, fast, alpha, c.frameW, c.frameH), kBlendOk);
    referenceBlend(c.w, c.h, frame, reference, alpha, c.frameW, c.frameH);
    for (int y = 0; y < c.targetH; ++y)
      for (int x = 0; x < c.targetW; ++x)
        ASSERT_EQ(fast.pixel(x, y), reference.pixel(x, y)) << "at " << x << ", " << y;
  }
}

}  // namespace
}  // namespace kov
