#include "captions/caption_layout.h"

#include <climits>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>

#include "captions/caption_draw.h"

#include "support/ink_pixels.h"

namespace kov {
namespace {

constexpr TextRect kEverywhere{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

using test::PixelSet;

}  // namespace

void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

using test::pixelsOf;
using test::shifted;

PixelSet united(PixelSet a, const PixelSet& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(CountCaptionLines, CountsBreaksAndTextAfterTheLast) {
  const std::pair<const char*, int> cases[] = {
      {"", 1},          {"X", 1},        {"X\\nY", 2},   {"X\\n", 1},
      {"\\nY", 2},      {"X\\n\\nY", 3}, {"\\n", 1},     {"X\\n\\n", 2},
      {"X\\nY\\nZ", 3}, {"C:\\new", 2},  {"a\\b\\N", 1}, {"行1\\n行2", 2},
  };
  for (auto [text, lines] : cases) EXPECT_EQ(countCaptionLines(text), lines) << text;
}

TEST(SplitCaptionLines, KeepsEmptyLinesButNotAnEmptyRest) {
  using Lines = std::vector<std::string_view>;
  const std::pair<const char*, Lines> cases[] = {
      {"", Lines{""}},
      {"X", Lines{"X"}},
      {"X\\nY", Lines{"X", "Y"}},
      {"X\\n", Lines{"X"}},
      {"\\nY", Lines{"", "Y"}},
      {"X\\n\\nY", Lines{"X", "", "Y"}},
      {"X\\n\\n", Lines{"X", ""}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(splitCaptionLines(text), lines) << text;
}

TEST(RotatePointInBox, TurnsAboutTheBoxCentreWithPiAs3141592AndTruncates) {
  const struct {
    int px, py;
    double angle;
    int boxHeight, boxWidth;
    Point expected;
  } cases[] = {
      {10, 20, 0, 40, 100, {10, 20}},
      {0, 0, 90, 40, 100, {69, -30}},  // exactly it would be (70, -30)
      {100, 0, 90, 40, 100, {70, 69}},
      {0, 40, 90, 40, 100, {30, -29}},
      {100, 40, 90, 40, 100, {31, 70}},
      {0, 0, -90, 40, 100, {30, 69}},
      {0, 0, 180, 40, 100, {100, 39}},
      {100, 0, 30, 40, 100, {103, 27}},
      {50, 0, -90, 77, 400, {162, 187}},
      {200, 0, -90, 77, 400, {163, 38}},
      {3, 1, 45, 5, 7, {3, 2}},  // centre (3, 2): halves truncate
      {0, 0, 360, 40, 100, {0, 1}},
      {-10, -10, 90, -40, -100, {-59, 20}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rotatePointInBox(c.px, c.py, c.angle, c.boxHeight, c.boxWidth), c.expected)
        << c.px << "," << c.py << " at " << c.angle;
}

TEST(RotatedBounds, HoldsTheFourTurnedCorners) {
  const struct {
    PixelRect r;
    double angle;
    PixelRect expected;
  } cases[] = {
      {{0, 0, 400, 77}, 0, {0, 0, 400, 77}},         {{0, 0, 400, 77}, 90, {161, -162, 238, 238}},
      {{0, 0, 400, 77}, -90, {162, -162, 239, 238}}, {{0, 0, 400, 77}, 180, {0, -1, 400, 76}},
      {{0, 0, 400, 77}, 30, {8, -94, 392, 171}},     {{0, 0, 400, 77}, -30, {8, -94, 392, 171}},
      {{0, 0, 100, 40}, 45, {1, -29, 99, 69}},       {{0, 0, 100, 40}, -15, {-3, -12, 103, 52}},
  };
  for (const auto& c : cases) {
    const PixelRect b = rotatedBounds(c.r, c.angle);
    EXPECT_EQ(std::make_tuple(b.left, b.top, b.right, b.bottom),
              std::make_tuple(c.expected.left, c.expected.top, c.expected.right, c.expected.bottom))
        << c.angle;
  }
}

TEST(CaptionAngle, IsReducedModulo360KeepingItsSign) {
  const std::pair<int, int> cases[] = {{0, 0},     {360, 0},   {-360, 0},    {450, 90}, {-450, -90},
                                       {-30, -30}, {719, 359}, {-719, -359}, {90, 90},  {720, 0}};
  for (auto [angle, reduced] : cases) EXPECT_EQ(reduceCaptionAngle(angle), reduced) << angle;
}

TEST(CaptionBlock, HeightAndLineTopsAtZeroTenAndHundredPercent) {
  const struct {
    int percent;
    int lines;
    int lineHeight;
    int blockHeight;
  } cases[] = {
      {0, 1, 77, 77},    {10, 1, 77, 77},   {100, 1, 77, 77}, {0, 2, 77, 154},
      {10, 2, 77, 161},  {100, 2, 77, 231}, {0, 3, 77, 231},  {10, 3, 77, 246},
      {100, 3, 77, 385}, {10, 4, 50, 215},  {10, 0, 77, -7},
  };
  for (const auto& c : cases)
    EXPECT_EQ(captionBlockHeight(c.lines, c.lineHeight, lineSpacingFactorFor(c.percent)),
              c.blockHeight)
        << c.percent << "% " << c.lines << " lines";

  // Each top is truncated on its own: 0, 84, 168, 252 (not 84.7 * k truncated).
  const float s = lineSpacingFactorFor(10);
  int top = 0;
  for (int expected : {84, 168, 252, 336}) EXPECT_EQ(top = nextLineTop(top, 77, s), expected);
  EXPECT_EQ(nextLineTop(10, 77, lineSpacingFactorFor(0)), 87);
  EXPECT_EQ(nextLineTop(10, 77, lineSpacingFactorFor(100)), 164);
}

TEST(CaptionLogicalFont, FollowsTheCaptionFont) {
  FontHolder f;
  f.name = std::string(20, 'x') + "ゴシック体ですよ";  // 20 + 16 bytes in CP932
  f.height = -107;
  f.charset = 128;
  f.style = {true, true, true, true};
  const LogicalFont lf = captionLogicalFont(f, -30);
  EXPECT_EQ(lf.faceName, std::string(20, 'x') + "ゴシック体");
  EXPECT_EQ(lf.height, -107);
  EXPECT_EQ(lf.width, -53);  // half the height, truncated toward zero
  EXPECT_EQ(lf.escapement, -300);
  EXPECT_EQ(lf.weight, 700);
  EXPECT_TRUE(lf.italic && lf.underline && lf.strikeOut);
  EXPECT_EQ(lf.charset, 128);
  f.style = {};
  f.height = -72;
  const LogicalFont plain = captionLogicalFont(f, 0);
  EXPECT_EQ(plain.width, -36);
  EXPECT_EQ(plain.weight, 400);
  EXPECT_FALSE(plain.italic || plain.underline || plain.strikeOut);
}

TEST(TurnedPlacement, StepsAreLineHeightTimesSpacingAlongTheTurnedDownwards) {
  CaptionBlock block;
  block.lineCount = 2;
  block.blockWidth = 400;
  block.lineHeight = 77;
  block.blockHeight = 154;
  const struct {
    int angle;
    float s;
    Point step;
  } cases[] = {
      {90, 1.0f, {77, 0}},   {90, lineSpacingFactorFor(10), {84, 0}},
      {-90, 1.0f, {-77, 0}}, {180, 1.0f, {0, -77}},
      {30, 2.0f, {76, 133}}, {-30, 2.0f, {-76, 133}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(placeTurnedBlock(block, c.angle, c.s).step, c.step) << c.angle;

  // At 90 degrees the block's top edge lies along the box's left side.
  block.blockHeight = 77;
  const TurnedPlacement p = placeTurnedBlock(block, 90, 1.0f);
  EXPECT_EQ(p.box.right - p.box.left, 77);
  EXPECT_EQ(p.box.bottom - p.box.top, 400);
  EXPECT_EQ(p.first, (Point{1, 200}));  // truncation leaves it a pixel inside
}

// Layout with the default face, IPAPGothic through the alias.
class CaptionLayout : public ::testing::Test {
 protected:
  static FontHolder holder(int height = -72) {
    FontHolder f;
    f.height = height;
    f.colour = makeColour(180, 20, 40);
    return f;
  }
  static Font font(int angle, int height = -72) {
    return Font(captionLogicalFont(holder(height), reduceCaptionAngle(angle)));
  }
  static PixelSet inkOf(const std::string& text, int angle, int x, int y, float s = 1.1f,
                        int height = -72) {
    const int a = reduceCaptionAngle(angle);
    const Font f = font(a, height);
    return pixelsOf(captionInk(f, measureCaption(f, text, s), a, x, y, s, kEverywhere));
  }
};

TEST_F(CaptionLayout, ASingleLineAtAngleZeroFillsItsMeasuredBox) {
  const Font f = font(0);
  ASSERT_FALSE(f.substituted());
  const std::string text = "運動会 2024";
  const CaptionBlock block = measureCaption(f, text, 1.1f);
  EXPECT_EQ(block.lineCount, 1);
  EXPECT_EQ(block.blockWidth, f.measure(text).width);
  EXPECT_EQ(block.lineHeight, 77);
  EXPECT_EQ(block.blockHeight, 77);
  const TextRect b = captionInk(f, block, 0, 30, 40, 1.1f, kEverywhere).bounds();
  EXPECT_GE(b.left, 30);
  EXPECT_LE(b.left, 30 + 8);
  EXPECT_LE(b.right, 30 + block.blockWidth);
  EXPECT_GE(b.right, 30 + block.blockWidth - 8);
  EXPECT_GE(b.top, 40);
  EXPECT_LE(b.bottom, 40 + 77);
  EXPECT_GE(b.bottom, 40 + 63);  // down to the baseline at least
}

TEST_F(CaptionLayout, LinesAreCentredUnderTheWidestAndTopsTruncatedPerLine) {
  const Font f = font(0);
  const std::string first = "第５０回　大運動会", second = "三年二組";
  const CaptionBlock block = measureCaption(f, first + "\\n" + second, 1.1f);
  ASSERT_EQ(block.lineCount, 2);
  const int w1 = f.measure(first).width, w2 = f.measure(second).width;
  ASSERT_GT(w1, w2);
  EXPECT_EQ(block.blockWidth, w1);
  EXPECT_EQ(block.blockHeight, 161);
  const PixelSet expected =
      united(pixelsOf(f.textOut(10, 5, first, kTaLeftTop, kEverywhere)),
             pixelsOf(f.textOut(10 + (w1 - w2) / 2, 5 + 84, second, kTaLeftTop, kEverywhere)));
  EXPECT_EQ(inkOf(first + "\\n" + second, 0, 10, 5), expected);
}

TEST_F(CaptionLayout, SpacingPutsEqualLinesExactlyApart) {
  const PixelSet one = inkOf("同じ行", 0, 0, 0);
  for (auto [percent, gap] : {std::pair{0, 77}, std::pair{100, 154}})
    EXPECT_EQ(inkOf("同じ行\\n同じ行", 0, 0, 0, lineSpacingFactorFor(percent)),
              united(one, shifted(one, 0, gap)))
        << percent;
}

TEST_F(CaptionLayout, AnEndingBreakIsMeasuredButNotDrawn) {
  const Font f = font(0);
  const CaptionBlock block = measureCaption(f, "見出し\\n", 1.1f);
  EXPECT_EQ(block.lineCount, 1);
  EXPECT_EQ(block.blockWidth, f.measure("見出し\\n").width);
  const int w = f.measure("見出し").width;
  ASSERT_GT(block.blockWidth, w);
  EXPECT_EQ(inkOf("見出し\\n", 0, 0, 0),
            pixelsOf(f.textOut((block.blockWidth - w) / 2, 0, "見出し", kTaLeftTop, kEverywhere)));
}

TEST_F(CaptionLayout, AtNinetyDegreesTheBoxIsLineHeightWideAndReadsUpwards) {
  const std::string text = "縦に読む題名";
  const Font f = font(90);
  const CaptionBlock block = measureCaption(f, text, 1.1f);
  const TurnedPlacement p = placeTurnedBlock(block, 90, 1.1f);
  const int boxWidth = p.box.right - p.box.left, boxHeight = p.box.bottom - p.box.top;
  EXPECT_NEAR(boxWidth, block.lineHeight, 1);
  EXPECT_NEAR(boxHeight, block.blockWidth, 1);
  const PixelSet ink = inkOf(text, 90, 500, 100);
  int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
  for (auto [y, x] : ink) {
    left = std::min(left, x);
    right = std::max(right, x + 1);
    top = std::min(top, y);
    bottom = std::max(bottom, y + 1);
  }
  // (x, y) is the box's top-left corner; the glyphs fill it lengthwise.
  EXPECT_GE(left, 500 - 1);
  EXPECT_LE(right, 500 + boxWidth + 1);
  EXPECT_GE(top, 100 - 1);
  EXPECT_LE(bottom, 100 + boxHeight + 1);
  EXPECT_GE(bottom - top, boxHeight - 16);
  // Reading upwards: the line starts half its width below the reference point, so its
  // first character is the one at the bottom of the box.
  const Point ref{500 + p.first.x, 100 + p.first.y};
  const PixelSet first =
      pixelsOf(f.textOut(ref.x, ref.y + block.blockWidth / 2, "縦", kTaLeftTop, kEverywhere));
  ASSERT_FALSE(first.empty());
  for (const auto& px : first) EXPECT_TRUE(ink.count(px)) << px.first << "," << px.second;
  EXPECT_GE(first.begin()->first, 100 + boxHeight - font(0).measure("縦").width - 2);
}

TEST_F(CaptionLayout, TurnedLinesAdvanceByTheStep) {
  const PixelSet one = inkOf("同じ行", 90, 0, 0, 1.1f);
  const PixelSet two = inkOf("同じ行\\n同じ行", 90, 0, 0, 1.1f);
  // At 90 degrees the second line follows 84 pixels to the right; the box is wider, so the
  // first line's place in it is the same.
  EXPECT_EQ(two, united(one, shifted(one, 84, 0)));
}

TEST_F(CaptionLayout, NegativeAnglesTurnClockwise) {
  auto slope = [](const PixelSet& ink) {
    // Mean y of the leftmost and rightmost tenth of the pixels.
    int left = INT_MAX, right = INT_MIN;
    for (auto [y, x] : ink) left = std::min(left, x), right = std::max(right, x);
    const int tenth = (right - left) / 10;
    double ly = 0, ry = 0;
    int ln = 0, rn = 0;
    for (auto [y, x] : ink) {
      if (x < left + tenth) ly += y, ++ln;
      if (x > right - tenth) ry += y, ++rn;
    }
    return ry / rn - ly / ln;
  };
  const std::string text = "斜めの題名です";
  EXPECT_GT(slope(inkOf(text, -30, 100, 100)), 100);  // falls to the right
  EXPECT_LT(slope(inkOf(text, 30, 100, 100)), -100);  // rises to the right
}

TEST_F(CaptionLayout, AnglesAreReducedBeforeLayout) {
  const std::string text = "角度\\n確認";
  const PixelSet upright = inkOf(text, 0, 50, 60);
  EXPECT_EQ(inkOf(text, 360, 50, 60), upright);
  EXPECT_EQ(inkOf(text, -360, 50, 60), upright);
  EXPECT_EQ(inkOf(text, 450, 50, 60), inkOf(text, 90, 50, 60));
  EXPECT_EQ(inkOf(text, -450, 50, 60), inkOf(text, -90, 50, 60));
  EXPECT_NE(inkOf(text, -30, 50, 60), upright);
}

TEST_F(CaptionLayout, EveryCaptionPixelIsExactlyTheCaptionColourBeforeSmoothing) {
  const FontHolder f = holder(-40);
  for (int angle : {0, 15, 90, -45}) {
    WorkImage layer(400, 400);
    layer.fill(kWhite);
    const Font font(captionLogicalFont(f, angle));
    const CaptionBlock block = measureCaption(font, "滑らかでない\\nEdges 縁", 1.1f);
    paintInk(layer, captionInk(font, block, angle, 20, 20, 1.1f, {0, 0, 400, 400}), f.colour);
    int coloured = 0;
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 400; ++x) {
        const Colour c = layer.pixel(x, y);
        ASSERT_TRUE(c == kWhite || c == f.colour) << angle << ": " << x << "," << y;
        coloured += c == f.colour;
      }
    EXPECT_GT(coloured, 1000) << angle;
  }
}

TEST_F(CaptionLayout, LongLinesAreKeptWhole) {
  // No line is cut short, however long it is.
  const Font f = font(0, -10);
  const std::string longLine(5000, 'B');
  const CaptionBlock block = measureCaption(f, "A\\n" + longLine, 1.1f);
  ASSERT_EQ(block.lines.size(), 2u);
  EXPECT_EQ(block.lines[1].size(), 5000u);
  EXPECT_EQ(block.blockWidth, f.measure(longLine).width);
  EXPECT_GT(block.blockWidth, f.measure(std::string(4096, 'B')).width);
}

TEST_F(CaptionLayout, EmptyTextsAreZeroWideAndOneLineHigh) {
  const Font f = font(0);
  const CaptionBlock empty = measureCaption(f, "", 1.1f);
  EXPECT_EQ(empty.blockWidth, 0);
  EXPECT_EQ(empty.lineHeight, 77);
  EXPECT_TRUE(inkOf("", 0, 0, 0).empty());
  // Ending in two breaks: the last measurement is of an empty line.
  const CaptionBlock trailing = measureCaption(f, "X\\n\\n", 1.1f);
  EXPECT_EQ(trailing.lineCount, 2);
  EXPECT_EQ(trailing.lineHeight, 77);
  EXPECT_EQ(trailing.blockWidth, f.measure("X").width);
}

}  // namespace
}  // namespace kov
