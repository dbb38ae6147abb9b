#include "pipeline/reduce_high_quality.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "app/main_window_state.h"

#include "support/scripted_host.h"

namespace kov::test {

// In sharpen_test.cpp: the second pass as first written, over a plane indexed x first.
WorkImage referenceSharpen(const std::vector<std::int32_t>& columnMajor, int width, int height,
                           bool sharpen);

namespace {

// The reduction as first written: every pixel into a plane indexed x first,
// then for every target pixel the weight lists and the double loop over the
// covered pixels, each weighing column weight times row weight. The first row
// is kept inside the picture like the last.
WorkImage referenceReduce(const WorkImage& source, int dw, int dh, bool sharpen) {
  const int sw = source.width(), sh = source.height();
  std::vector<std::int32_t> sourcePlane(std::size_t(sw) * sh);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x) {
      const Colour c = source.pixel(x, y);
      sourcePlane[std::size_t(x) * sh + y] = redOf(c) * 65536 + greenOf(c) * 256 + blueOf(c);
    }
  std::vector<std::int32_t> workPlane(std::size_t(dw) * dh);
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x) {
      const std::int64_t ax = std::int64_t(x) * sw * 100 / dw;
      const std::int64_t bx = std::int64_t(x + 1) * sw * 100 / dw - 1;
      const std::int64_t ay = std::int64_t(y) * sw * 100 / dw;
      const std::int64_t by = std::int64_t(y + 1) * sw * 100 / dw - 1;
      std::int64_t x0 = ax / 100, x1 = std::min<std::int64_t>(bx / 100, sw - 1);
      std::int64_t y0 = ay / 100, y1 = std::min<std::int64_t>(by / 100, sh - 1);
      y0 = std::min(y0, std::int64_t(sh - 1));
      std::vector<std::int64_t> wx, wy;
      for (std::int64_t i = x0; i <= x1; ++i)
        wx.push_back(i == x1 ? bx - x1 * 100 : i == x0 ? (x0 + 1) * 100 - ax : 100);
      for (std::int64_t j = y0; j <= y1; ++j)
        wy.push_back(j == y1 ? by - y1 * 100 : j == y0 ? (y0 + 1) * 100 - ay : 100);
      std::int64_t total = 0, r = 0, g = 0, b = 0;
      for (std::int64_t j = y0; j <= y1; ++j)
        for (std::int64_t i = x0; i <= x1; ++i) {
          const std::int64_t w = wx[std::size_t(i - x0)] * wy[std::size_t(j - y0)];
          const std::int32_t p = sourcePlane[std::size_t(i) * sh + std::size_t(j)];
          total += w;
          r += ((p >> 16) & 255) * w;
          g += ((p >> 8) & 255) * w;
          b += (p & 255) * w;
        }
      r = std::min<std::int64_t>(r / total, 255);
      g = std::min<std::int64_t>(g / total, 255);
      b = std::min<std::int64_t>(b / total, 255);
      workPlane[std::size_t(x) * dh + y] = std::int32_t(r * 65536 + g * 256 + b);
    }
  return referenceSharpen(workPlane, dw, dh, sharpen);
}

WorkImage randomImage(int w, int h, std::mt19937& rng) {
  WorkImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.stride(); ++i) image.row(y)[i] = std::uint8_t(rng());
  return image;
}

// Grey everywhere, one source column (or row) white.
WorkImage oneWhiteLine(int w, int h, int column, int row) {
  WorkImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, x == column || y == row ? kWhite : kBlack);
  return image;
}

class ReduceTest : public ::testing::Test {
 protected:
  int reduce(WorkImage& bitmap, int dw, int dh) {
    return reduceHighQuality(state, host, bitmap, dh, dw);
  }
  MainWindowState state;
  ScriptedHost host;
};

TEST_F(ReduceTest, MatchesThePlainReductionOnRandomPictures) {
  std::mt19937 rng(2024);
  struct Size {
    int sw, sh, dw, dh;
  };
  std::vector<Size> sizes = {
      {300, 200, 30, 20},
      {100, 75, 30, 22},
      {101, 101, 100, 100},
      {100, 100, 1, 1},
      {300, 3, 100, 1},
      {7, 190, 2, 55},
      {64, 48, 63, 47},
      {333, 250, 4, 3},
      {120, 120, 11, 11},
      {97, 61, 96, 60},
      {200, 100, 150, 75},
      {100, 100, 10, 10},
      {150, 100, 149, 99},
      {12, 9, 8, 6},
      {3, 3, 2, 2},
      {41, 60, 20, 30},
      // Targets a little taller in proportion: the last rows start below the source.
      {200, 200, 50, 51},
      {150, 100, 120, 81},
      {1000, 1000, 100, 103},
      // Narrow ones whose last rows all start below the source, weighing far over 100.
      {2, 200, 1, 199},
      {9, 960, 1, 959},
  };
  // And many random ones: any ratio, targets up to 3 points off in proportion.
  while (sizes.size() < 140) {
    const int sw = 2 + int(rng() % 160), sh = 2 + int(rng() % 160);
    const int dw = 1 + int(rng() % (sw - 1));
    const int dh = std::max(1, int(std::int64_t(dw) * sh / sw) + int(rng() % 3) - 1);
    if (dh >= sh || dw * 100 < sw || dh * 100 < sh) continue;
    const std::int64_t diff = std::int64_t(sw) * 100 / sh - std::int64_t(dw) * 100 / dh;
    if (diff > 3 || diff < -3) continue;
    sizes.push_back({sw, sh, dw, dh});
  }
  for (const Size& s : sizes) {
    const WorkImage source = randomImage(s.sw, s.sh, rng);
    for (bool sharpen : {false, true}) {
      state.CheckBox2 = sharpen;
      WorkImage bitmap = source;
      ASSERT_EQ(reduce(bitmap, s.dw, s.dh), kReduceOk)
          << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh;
      ASSERT_TRUE(samePixels(bitmap, referenceReduce(source, s.dw, s.dh, sharpen)))
          << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh << " sharpen " << sharpen;
      // Into another picture: the same pixels, the source untouched.
      WorkImage target(5, 5);
      ASSERT_EQ(reduceHighQuality(state, host, source, target, s.dh, s.dw), kReduceOk);
      ASSERT_TRUE(samePixels(target, bitmap));
    }
  }
}

TEST_F(ReduceTest, LargeReductionsSumBeyond32Bits) {
  // 1/100 of a white picture: 101 x 101 weights of up to 100 x 100 each, times 255.
  WorkImage bitmap(300, 200);
  bitmap.fill(kWhite);
  ASSERT_EQ(reduce(bitmap, 3, 2), kReduceOk);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bitmap.pixel(x, y), kWhite);
}

TEST_F(ReduceTest, EdgeColumnsAndRowsWeighByTheirCoverage) {
  // 1000 x 750 to 300 x 225: the scale is 333.33 hundredths on both axes. Target 0
  // covers 0..3 weighing 100, 100, 100, 32 (ax 0, bx 332); target 1 covers 3..6
  // weighing 67, 100, 100, 65 (ax 333, bx 665); target 2 covers 6..9 weighing
  // 34, 100, 100, 99.
  struct Case {
    int line, target, expected;
  } cases[] = {
      {0, 0, 255 * 100 / 332}, {3, 0, 255 * 32 / 332},
      {3, 1, 255 * 67 / 332},  {4, 1, 255 * 100 / 332},
      {6, 1, 255 * 65 / 332},  {6, 2, 255 * 34 / 333},
      {9, 2, 255 * 99 / 333},  {6, 0, 0},
  };
  for (const Case& c : cases) {
    for (bool columns : {true, false}) {
      WorkImage bitmap =
          columns ? oneWhiteLine(1000, 750, c.line, -1) : oneWhiteLine(1000, 750, -1, c.line);
      ASSERT_EQ(reduce(bitmap, 300, 225), kReduceOk);
      // Grey stays as averaged: unsharpened, only luminance 0 changes.
      const Colour got = columns ? bitmap.pixel(c.target, 100) : bitmap.pixel(100, c.target);
      const auto e = std::uint8_t(c.expected);
      EXPECT_EQ(got, makeColour(e, e, e))
          << (columns ? "column " : "row ") << c.line << " target " << c.target;
    }
  }
}

TEST_F(ReduceTest, TenByTenBlocksWeighTheirLastColumnAndRow99) {
  // 3000 x 2000 to 300 x 200: bx = 999 for target column 0, so each block's last
  // column (and row) weighs 99 of 999. Grey 3 with every tenth line white gives
  // (255 * 99 + 3 * 900) / 999 = 27; weighing 100 of 1000 would give 28.
  for (bool columns : {true, false}) {
    WorkImage bitmap(3000, 2000);
    for (int y = 0; y < 2000; ++y)
      for (int x = 0; x < 3000; ++x)
        bitmap.setPixel(x, y, (columns ? x : y) % 10 == 9 ? kWhite : makeColour(3, 3, 3));
    ASSERT_EQ(reduce(bitmap, 300, 200), kReduceOk);
    for (auto [x, y] : {std::pair{0, 0}, {150, 100}, {299, 199}})
      EXPECT_EQ(bitmap.pixel(x, y), makeColour(27, 27, 27)) << (columns ? "columns " : "rows ");
  }
}

TEST_F(ReduceTest, RowsUseTheHorizontalScaleAndStartInsideThePicture) {
  // 1000 x 1000 to 100 x 103 passes the ratio check (100 - 97 = 3). Rows are
  // measured with the horizontal scale (10 rows per target row), so target rows
  // 100 to 102 start below the picture: they average its last row.
  WorkImage bitmap = oneWhiteLine(1000, 1000, -1, 999);
  for (int x = 0; x < 1000; ++x) bitmap.setPixel(x, 9, makeColour(0, 0, 255));
  ASSERT_EQ(reduce(bitmap, 100, 103), kReduceOk);
  ASSERT_EQ(bitmap.height(), 103);
  // Row 9 weighs 99 of 999 in target row 0 (not 69 of 969 as with a vertical scale).
  EXPECT_EQ(bitmap.pixel(50, 0), makeColour(0, 0, 255 * 99 / 999));
  EXPECT_EQ(bitmap.pixel(50, 99), makeColour(255 * 99 / 999, 255 * 99 / 999, 255 * 99 / 999));
  for (int y = 100; y < 103; ++y) EXPECT_EQ(bitmap.pixel(50, y), kWhite) << y;
}

TEST_F(ReduceTest, RefusalsInTheirOrderWithTheirMessages) {
  struct Case {
    int sw, sh, dw, dh, result;
    std::string message;
  } cases[] = {
      {1000, 1000, 100, 104, kReduceRatioDiffers,
       "比率が違うので高画質圧縮を中断しました。(幅 100  高さ104)"},
      {300, 200, 300, 200, kReduceOk,
       "画像サイズが同じなので高画質圧縮を中断しました。(幅 300  高さ200)"},
      {9601, 100, 96, 1, kReduceSourceTooLarge,
       "元画像が大きすぎるので高画質圧縮を中断しました。(幅 9601  高さ100)\n"
       "最大サイズは幅　9600px　高さ9600pxです。"},
      {100, 1, 9700, 97, kReduceTargetTooLarge,
       "縮小後画像が大きすぎるので高画質圧縮を中断しました。(幅 9700  高さ97)\n"
       "最大サイズは幅　9600px　高さ9600pxです。"},
      {101, 101, 1, 1, kReduceBeyondHundredth,
       "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。"},
      {300, 200, 300, 199, kReduceNotSmaller, "拡大なので高画質圧縮を中断しました。"},
      {300, 200, 600, 400, kReduceNotSmaller, "拡大なので高画質圧縮を中断しました。"},
      {300, 200, 0, 0, kReduceEmpty, "画像サイズが0なので高画質圧縮を中断しました。"},
      {0, 0, 3, 2, kReduceEmpty, "画像サイズが0なので高画質圧縮を中断しました。"},
      // Passing cases empty the message of the call before.
      {1000, 1000, 100, 103, kReduceOk, ""},
      {100, 100, 1, 1, kReduceOk, ""},
  };
  std::mt19937 rng(5);
  for (const Case& c : cases) {
    state.reductionMessage = "前の理由";
    WorkImage bitmap = randomImage(c.sw, c.sh, rng);
    const WorkImage before = bitmap;
    EXPECT_EQ(reduce(bitmap, c.dw, c.dh), c.result)
        << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    EXPECT_EQ(state.reductionMessage, c.message);
    if (c.result != kReduceOk || c.message != "") {
      EXPECT_TRUE(samePixels(bitmap, before)) << "changed by a refusal";
    } else {
      EXPECT_EQ(bitmap.width(), c.dw);
      EXPECT_EQ(bitmap.height(), c.dh);
    }
  }
}

TEST_F(ReduceTest, AnAbortInTheFirstPassLeavesTheBitmapAsItWas) {
  std::mt19937 rng(9);
  WorkImage bitmap = randomImage(60, 40, rng);
  const WorkImage before = bitmap;
  state.abortRequested = true;
  EXPECT_EQ(reduce(bitmap, 30, 20), kReduceAborted);
  EXPECT_TRUE(samePixels(bitmap, before));
  EXPECT_EQ(state.reductionMessage, "");
}

// Asks to stop at the first chance it gets to run events.
class AbortingHost : public ScriptedHost {
 public:
  explicit AbortingHost(MainWindowState& state) : m_state(state) {}
  void pumpEvents() override {
    ScriptedHost::pumpEvents();
    m_state.abortRequested = true;
  }

 private:
  MainWindowState& m_state;
};

TEST_F(ReduceTest, AnAbortBetweenThePassesLeavesAWhitePictureOfTheTargetSize) {
  // Between the passes events run once, whatever the time; the second pass then stops.
  AbortingHost aborting(state);
  std::mt19937 rng(9);
  WorkImage bitmap = randomImage(60, 40, rng);
  EXPECT_EQ(reduceHighQuality(state, aborting, bitmap, 20, 30), kReduceAborted);
  EXPECT_GE(aborting.pumps, 1);
  WorkImage white(30, 20);
  white.fill(kWhite);
  EXPECT_TRUE(samePixels(bitmap, white));
}

}  // namespace
}  // namespace kov::test
