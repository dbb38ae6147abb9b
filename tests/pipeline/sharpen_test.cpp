#include "pipeline/sharpen.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

#include "app/main_window_state.h"

#include "support/scripted_host.h"

namespace kov::test {

// The pass pixel by pixel as it was first written: a plane indexed x first
// (entry x * height + y), the 3 x 3 kernel summed in full for every pixel.
// Also used by the reduction's tests.
WorkImage referenceSharpen(const std::vector<std::int32_t>& columnMajor, int width, int height,
                           bool sharpen) {
  static const int kernel[3][3] = {{1, 2, 1}, {2, 8, 2}, {1, 2, 1}};
  auto at = [&](int x, int y) { return columnMajor[std::size_t(x) * height + y]; };
  auto lum = [](int r, int g, int b) { return (28 * r + 77 * g + 151 * b) / 255; };
  WorkImage out(width, height);
  out.fill(kWhite);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::int32_t p = at(x, y);
      int r0 = (p >> 16) & 255, g0 = (p >> 8) & 255, b0 = p & 255;
      int r = r0, g = g0, b = b0;
      if (!(x == 0 || x == width - 1 || y == 0 || y == height - 1)) {
        int sr = 0, sg = 0, sb = 0;
        for (int j = -1; j <= 1; ++j)
          for (int i = -1; i <= 1; ++i) {
            const std::int32_t q = at(x + i, y + j);
            const int k = kernel[j + 1][i + 1];
            sr += k * ((q >> 16) & 255);
            sg += k * ((q >> 8) & 255);
            sb += k * (q & 255);
          }
        const int rb = sr / 20, gb = sg / 20, bb = sb / 20;
        const int l0 = lum(r0, g0, b0), lb = lum(rb, gb, bb);
        const int l = sharpen ? l0 - (lb - l0) / 2 : l0;
        if (l0 == 0) {
          r = g = b = 0;
        } else {
          r = r0 * l / l0;
          g = g0 * l / l0;
          b = b0 * l / l0;
        }
        r = std::clamp(r, 0, 255);
        g = std::clamp(g, 0, 255);
        b = std::clamp(b, 0, 255);
      }
      out.setPixel(x, y, makeColour(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)));
    }
  return out;
}

namespace {

constexpr std::int32_t packed(int r, int g, int b) { return (r << 16) | (g << 8) | b; }

class SharpenTest : public ::testing::Test {
 protected:
  // Runs the pass over `rows` (row-major packed pixels) and returns the bitmap.
  WorkImage run(const std::vector<std::int32_t>& rowMajor, int width, int height, bool sharpen) {
    state.workPlane = rowMajor;
    state.CheckBox2 = sharpen;
    WorkImage bitmap(width, height);
    bitmap.fill(kWhite);
    EXPECT_EQ(sharpenPass(state, host, bitmap, width, height), kSharpenOk);
    return bitmap;
  }
  static std::vector<std::int32_t> columnMajor(const std::vector<std::int32_t>& rowMajor, int w,
                                               int h) {
    std::vector<std::int32_t> out(rowMajor.size());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) out[std::size_t(x) * h + y] = rowMajor[std::size_t(y) * w + x];
    return out;
  }

  MainWindowState state;
  ScriptedHost host;
};

// A 3 x 3 picture: the centre pixel and its eight neighbours.
std::vector<std::int32_t> centred(std::int32_t centre, std::int32_t around) {
  std::vector<std::int32_t> p(9, around);
  p[4] = centre;
  return p;
}

TEST_F(SharpenTest, CentrePixelExamples) {
  struct Case {
    std::int32_t centre, around;
    bool sharpen;
    Colour expected;
  } cases[] = {
      // A uniform area keeps its colour either way (blur equals centre).
      {packed(90, 140, 30), packed(90, 140, 30), false, makeColour(90, 140, 30)},
      {packed(90, 140, 30), packed(90, 140, 30), true, makeColour(90, 140, 30)},
      // Luminance 0 turns black even unsharpened: 28 * 9 / 255 = 0; 10 is enough.
      {packed(9, 0, 0), packed(9, 0, 0), false, kBlack},
      {packed(10, 0, 0), packed(10, 0, 0), false, makeColour(10, 0, 0)},
      // Blur 160, l0 100, lb 160, l = 100 - 30.
      {packed(100, 100, 100), packed(200, 200, 200), true, makeColour(70, 70, 70)},
      {packed(100, 100, 100), packed(200, 200, 200), false, makeColour(100, 100, 100)},
      // A white pixel among dark ones goes above 255 and is clamped.
      {packed(255, 255, 255), packed(20, 20, 20), true, kWhite},
      // A dark pixel among bright ones goes below 0 and is clamped.
      {packed(30, 30, 30), packed(250, 250, 250), true, kBlack},
      // Luminance weighs blue 151 and red 28: the same step sharpens differently.
      {packed(0, 0, 200), packed(0, 0, 100), true, makeColour(0, 0, 230)},
      {packed(200, 0, 0), packed(100, 0, 0), true, makeColour(228, 0, 0)},
  };
  for (const Case& c : cases) {
    const WorkImage out = run(centred(c.centre, c.around), 3, 3, c.sharpen);
    EXPECT_EQ(out.pixel(1, 1), c.expected)
        << std::hex << "centre " << c.centre << " around " << c.around << " sharpen " << c.sharpen;
    EXPECT_EQ(out.pixel(0, 0),
              Colour(makeColour(std::uint8_t(c.around >> 16), std::uint8_t(c.around >> 8),
                                std::uint8_t(c.around))));
  }
}

TEST_F(SharpenTest, PicturesOfOneOrTwoRowsOrColumnsAreCopiedUnchanged) {
  // Border pixels keep their colour, even a dark one that would turn black inside.
  for (auto [w, h] : {std::pair{1, 1}, {1, 5}, {5, 1}, {2, 4}, {4, 2}, {2, 2}}) {
    std::vector<std::int32_t> rows(std::size_t(w) * h);
    for (std::size_t i = 0; i < rows.size(); ++i)
      rows[i] = i % 2 ? packed(9, 0, 0) : packed(int(40 * i % 256), 255, 3);
    for (bool sharpen : {false, true}) {
      const WorkImage out = run(rows, w, h, sharpen);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const std::int32_t p = rows[std::size_t(y) * w + x];
          EXPECT_EQ(out.pixel(x, y),
                    makeColour(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)))
              << w << "x" << h;
        }
    }
  }
}

TEST_F(SharpenTest, MatchesThePlainPassOnRandomPictures) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255), dark(0, 12), kind(0, 3);
  for (int round = 0; round < 60; ++round) {
    const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 40);
    std::vector<std::int32_t> rows(std::size_t(w) * h);
    // Dark, extreme and ordinary pixels: luminance 0, contrasts clamped both ways.
    for (std::int32_t& p : rows) {
      switch (kind(rng)) {
        case 0:
          p = packed(dark(rng), dark(rng), dark(rng));
          break;
        case 1:
          p = (rng() % 2) ? packed(255, 255, 255) : packed(0, 0, 1);
          break;
        default:
          p = packed(byte(rng), byte(rng), byte(rng));
          break;
      }
    }
    for (bool sharpen : {false, true}) {
      const WorkImage fast = run(rows, w, h, sharpen);
      const WorkImage plain = referenceSharpen(columnMajor(rows, w, h), w, h, sharpen);
      ASSERT_TRUE(samePixels(fast, plain)) << w << "x" << h << " sharpen " << sharpen;
    }
  }
}

TEST_F(SharpenTest, EveryCentreAgainstEveryNeighbourMatchesThePlainPass) {
  // Three rows "a c0 a c1 a c2 ..." between rows of a: every c sees only a around
  // it. Grey pairs give every luminance and every ratio l / l0 with an exact
  // integer result (the hardest case for rounding); coloured pairs the rest.
  std::mt19937 rng(11);
  const int w = 2 * 256 + 1;
  for (int round = 0; round < 512; ++round) {
    const bool grey = round < 256;
    const std::int32_t a = grey ? packed(round, round, round) : std::int32_t(rng() & 0xFFFFFF);
    std::vector<std::int32_t> rows(std::size_t(w) * 3, a);
    for (int c = 0; c < 256; ++c)
      rows[std::size_t(w) + 2 * std::size_t(c) + 1] =
          grey ? packed(c, c, c) : std::int32_t(rng() & 0xFFFFFF);
    for (bool sharpen : {false, true}) {
      const WorkImage fast = run(rows, w, 3, sharpen);
      const WorkImage plain = referenceSharpen(columnMajor(rows, w, 3), w, 3, sharpen);
      ASSERT_TRUE(samePixels(fast, plain)) << std::hex << "around " << a << " sharpen " << sharpen;
    }
  }
}

TEST_F(SharpenTest, AnAbortBeforeTheFirstRowLeavesTheBitmapWhite) {
  state.workPlane.assign(16, packed(1, 2, 3));
  state.abortRequested = true;
  WorkImage bitmap(4, 4);  // black
  EXPECT_EQ(sharpenPass(state, host, bitmap, 4, 4), kSharpenAborted);
  WorkImage white(4, 4);
  white.fill(kWhite);
  EXPECT_TRUE(samePixels(bitmap, white));
}

}  // namespace
}  // namespace kov::test
