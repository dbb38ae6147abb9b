#include "platform/text_rasteriser.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/font_faces.h"

#include "support/ink_pixels.h"

namespace kov {
namespace {

constexpr const char* kDefaultFace = "ＭＳ Ｐゴシック";
constexpr TextRect kEverywhere{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

using test::PixelSet;

using test::pixelsOf;
using test::shifted;

LogicalFont logical(std::string face, int height, int width = 0) {
  LogicalFont lf;
  lf.faceName = std::move(face);
  lf.height = height;
  lf.width = width;
  lf.charset = 128;
  return lf;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec);
}

TEST(FaceName, IsCutToThirtyOneBytesOfItsCp932FormAtACharacterBoundary) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"},  // 15 bytes in CP932
      {std::string(31, 'a'), std::string(31, 'a')},
      {std::string(40, 'a'), std::string(31, 'a')},
      // Two bytes each in CP932 (three in UTF-8): 15 fit, the 16th would make 32.
      {"あいうえおかきくけこさしすせそたち", "あいうえおかきくけこさしすせそ"},
      {std::string(30, 'a') + "あ", std::string(30, 'a')},
      {std::string(29, 'a') + "あ", std::string(29, 'a') + "あ"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(cutFaceName(c.in), c.out) << c.in;
}

TEST(FaceName, WindowsJapaneseFacesMapOntoTheIpaFaces) {
  const std::pair<const char*, const char*> cases[] = {
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"MS PGothic", "IPAPGothic"},
      {"ms pgothic", "IPAPGothic"},
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"ＭＳ 明朝", "IPAMincho"},
      {"Arial", ""},
      {"ＭＳ　Ｐゴシック", ""},  // a full-width space is another name
  };
  for (auto [name, family] : cases) EXPECT_EQ(aliasedFamily(name), family) << name;
}

TEST(FaceChoice, InstalledFacesAreFoundAndMissingOnesFallBackToJapanese) {
  const FaceChoice pgothic = chooseFace(kDefaultFace, false, false);
  EXPECT_FALSE(pgothic.substituted);
  EXPECT_EQ(std::filesystem::path(pgothic.file.path).filename(), "ipagp.ttf");

  const FaceChoice dejavu = chooseFace("DejaVu Sans", false, false);
  EXPECT_FALSE(dejavu.substituted);
  EXPECT_NE(dejavu.file.path.find("DejaVuSans"), std::string::npos);

  const FaceChoice missing = chooseFace("存在しない書体", true, false);
  EXPECT_TRUE(missing.substituted);
  EXPECT_EQ(missing.file, japaneseFallbackFace(true, false));
  EXPECT_FALSE(missing.file.path.empty());
}

TEST(Font, HeightIsTheEmAndExtentsAreWindowsAscentPlusDescent) {
  // IPAPGothic: 2048 units per em, Windows ascent 1802, descent 401.
  const Font font(logical(kDefaultFace, -72, -36));
  ASSERT_TRUE(font.usable());
  EXPECT_FALSE(font.substituted());
  EXPECT_EQ(font.ascent(), 63);
  EXPECT_EQ(font.descent(), 14);
  EXPECT_EQ(font.measure(""), (TextSize{0, 77}));
  EXPECT_EQ(font.measure("漢字").height, 77);

  // A positive height asks for the cell: ascent plus descent.
  const Font cell(logical(kDefaultFace, 77));
  EXPECT_EQ(cell.ascent() + cell.descent(), 77);
  EXPECT_EQ(cell.ascent(), 63);
}

TEST(Font, AverageWidthStretchesGlyphsHorizontally) {
  // IPAGothic's average character width is half its em: half the height changes nothing.
  const Font gothicOwn(logical("ＭＳ ゴシック", -72));
  const Font gothicHalf(logical("ＭＳ ゴシック", -72, -36));
  EXPECT_EQ(gothicHalf.measure("漢字かなABC").width, gothicOwn.measure("漢字かなABC").width);
  EXPECT_EQ(gothicHalf.measure("漢").width, 72);

  // IPAPGothic's is 956/2048 of the em (33.6 pixels at 72): 36 stretches by 36 / 33.6.
  const std::string text = "漢字漢字漢字漢字漢字";
  const int own = Font(logical(kDefaultFace, -72)).measure(text).width;
  const int half = Font(logical(kDefaultFace, -72, -36)).measure(text).width;
  const int full = Font(logical(kDefaultFace, -72, -72)).measure(text).width;
  EXPECT_EQ(own, 720);
  EXPECT_NEAR(half, 720.0 * 36 / (956.0 * 72 / 2048), 10);
  EXPECT_NEAR(full, 2 * half, 10);
  EXPECT_EQ(Font(logical(kDefaultFace, -72, 36)).measure(text).width, half);  // sign ignored
}

TEST(Font, WidthIsTheSumOfTheAdvancesAndAmpersandsAreDrawn) {
  const Font font(logical(kDefaultFace, -48, -24));
  const int a = font.measure("A").width, amp = font.measure("&").width, b = font.measure("B").width;
  EXPECT_GT(amp, 0);
  EXPECT_EQ(font.measure("A&B").width, a + amp + b);
  EXPECT_EQ(font.measure("A&&B").width, a + 2 * amp + b);
  const TextInk ink =
      font.drawText({0, 0, 200, 60}, "&", kDtNoClip | kDtSingleLine, kTaLeftTop, kEverywhere);
  EXPECT_FALSE(ink.empty());
  EXPECT_LE(ink.bounds().right, amp + 1);
}

TEST(Font, CentreTopAlignmentPutsTheMiddleOfTheTopEdgeOnThePoint) {
  const Font font(logical(kDefaultFace, -40, -20));
  const std::string text = "中央 Centre";
  const int w = font.measure(text).width;
  EXPECT_EQ(pixelsOf(font.textOut(300, 50, text, kTaCenterTop, kEverywhere)),
            pixelsOf(font.textOut(300 - w / 2, 50, text, kTaLeftTop, kEverywhere)));
}

TEST(Font, DrawTextCentresInTheRectangleWithTruncatingHalves) {
  const Font font(logical(kDefaultFace, -40, -20));
  const std::string text = "行の中央";
  const TextSize size = font.measure(text);
  constexpr unsigned kCentred = kDtNoClip | kDtSingleLine | kDtVCenter | kDtCenter;
  // Wider and taller than the text, and narrower (the offset is then negative).
  for (const TextRect rect : {TextRect{10, 20, 10 + size.width + 41, 20 + size.height + 9},
                              TextRect{10, 20, 10 + size.width - 5, 20 + size.height - 3}}) {
    const int x = rect.left + (rect.right - rect.left - size.width) / 2;
    const int y = rect.top + (rect.bottom - rect.top - size.height) / 2;
    EXPECT_EQ(pixelsOf(font.drawText(rect, text, kCentred, kTaLeftTop, kEverywhere)),
              pixelsOf(font.textOut(x, y, text, kTaLeftTop, kEverywhere)));
  }
  // Without DT_CENTER and DT_VCENTER the line starts at the top-left corner.
  EXPECT_EQ(pixelsOf(font.drawText({7, 9, 8, 10}, text, kDtNoClip | kDtSingleLine, kTaLeftTop,
                                   kEverywhere)),
            pixelsOf(font.textOut(7, 9, text, kTaLeftTop, kEverywhere)));
}

TEST(Font, InkStaysInsideItsCellAndTheClip) {
  const Font font(logical(kDefaultFace, -40, -20));
  const std::string text = "漢字 Ag";
  const TextSize size = font.measure(text);
  const TextInk whole = font.textOut(100, 100, text, kTaLeftTop, kEverywhere);
  const TextRect b = whole.bounds();
  EXPECT_GE(b.left, 100);
  EXPECT_GE(b.top, 100);
  EXPECT_LE(b.right, 100 + size.width);
  EXPECT_LE(b.bottom, 100 + size.height);

  const TextRect clip{120, 110, 160, 125};
  PixelSet expected;
  for (auto [y, x] : pixelsOf(whole))
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
      expected.emplace(y, x);
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(pixelsOf(font.textOut(100, 100, text, kTaLeftTop, clip)), expected);
}

TEST(Font, EscapementTurnsTheLineCounterClockwiseAboutTheReferencePoint) {
  LogicalFont lf = logical(kDefaultFace, -40, -20);
  const std::string text = "上へ読む";
  const Font upright(lf);
  const int w = upright.measure(text).width, h = upright.measure(text).height;
  lf.escapement = 900;
  const Font turned(lf);
  const TextRect b = turned.textOut(200, 300, text, kTaCenterTop, kEverywhere).bounds();
  // The top edge now faces left: the line lies to the right of the point, along x by its
  // height and centred along y by its width, reading upwards.
  EXPECT_GE(b.left, 200 - 1);
  EXPECT_LE(b.right, 200 + h + 1);
  EXPECT_GE(b.top, 300 - w / 2 - 1);
  EXPECT_LE(b.bottom, 300 + w / 2 + 1);
  const TextInk first = turned.textOut(200, 300, "上", kTaLeftTop, kEverywhere);
  EXPECT_GE(first.bounds().top, 300 - upright.measure("上").width - 1);
  EXPECT_LE(first.bounds().bottom, 300 + 1);  // the first character sits above the point

  lf.escapement = 1800;  // upside down, to the left of the point
  const TextRect flipped = Font(lf).textOut(200, 300, text, kTaLeftTop, kEverywhere).bounds();
  EXPECT_LE(flipped.right, 201);
  EXPECT_LE(flipped.bottom, 301);
  EXPECT_GE(flipped.left, 200 - w - 1);
}

TEST(Font, MadeUpBoldAndItalic) {
  LogicalFont lf = logical(kDefaultFace, -72, -36);
  const Font regular(lf);
  lf.weight = 700;
  const Font bold(lf);
  // No bold IPA face: strokes grow by an em / 24 (3 pixels here), and so does each advance.
  EXPECT_EQ(bold.measure("AB").width, regular.measure("AB").width + 2 * 3);
  EXPECT_GT(pixelsOf(bold.textOut(0, 0, "AB", kTaLeftTop, kEverywhere)).size(),
            pixelsOf(regular.textOut(0, 0, "AB", kTaLeftTop, kEverywhere)).size() * 6 / 5);

  lf.weight = 400;
  lf.italic = true;
  const Font italic(lf);
  EXPECT_EQ(italic.measure("AB").width, regular.measure("AB").width);
  // A vertical stroke leans right: its top row starts further right than its bottom row.
  const TextInk stroke = italic.textOut(0, 0, "l", kTaLeftTop, kEverywhere);
  const std::vector<InkRun>& runs = stroke.runs();
  ASSERT_FALSE(runs.empty());
  int topX = INT_MAX, bottomX = INT_MAX;
  for (const InkRun& r : runs) {
    if (r.y == stroke.bounds().top) topX = std::min(topX, r.x0);
    if (r.y == stroke.bounds().bottom - 1) bottomX = std::min(bottomX, r.x0);
  }
  EXPECT_GT(topX, bottomX + 5);
}

TEST(Font, UnderlineAndStrikeOutSpanTheWholeLine) {
  LogicalFont lf = logical(kDefaultFace, -72, -36);
  lf.underline = true;
  const Font underlined(lf);
  lf.underline = false;
  lf.strikeOut = true;
  const Font struck(lf);
  const std::string text = "下線 Line";
  const int w = underlined.measure(text).width;
  auto fullRows = [&](const Font& f) {
    std::set<int> rows;
    const TextInk ink = f.textOut(10, 20, text, kTaLeftTop, kEverywhere);
    for (const InkRun& r : ink.runs())
      if (r.x0 == 10 && r.x1 == 10 + w) rows.insert(r.y);
    return rows;
  };
  const int baseline = 20 + underlined.ascent();
  const std::set<int> under = fullRows(underlined);
  ASSERT_FALSE(under.empty());
  EXPECT_GT(*under.begin(), baseline);
  EXPECT_LT(*under.rbegin(), 20 + underlined.ascent() + underlined.descent());
  const std::set<int> strike = fullRows(struck);
  ASSERT_FALSE(strike.empty());
  EXPECT_LT(*strike.rbegin(), baseline);
  EXPECT_GT(*strike.begin(), 20);
}

TEST(Font, MissingGlyphsComeFromTheJapaneseFallbackFace) {
  // DejaVu Sans has Latin letters but no kanji.
  const Font dejavu(logical("DejaVu Sans", -40));
  ASSERT_FALSE(dejavu.substituted());
  const FaceFile fallback = japaneseFallbackFace(false, false);
  const Font ipa(logical("IPAGothic", -40));
  if (!sameFile(ipa.facePath(), fallback.path)) GTEST_SKIP() << "fallback is " << fallback.path;

  EXPECT_EQ(dejavu.measure("漢").width, ipa.measure("漢").width);
  const PixelSet fromDejavu = pixelsOf(dejavu.textOut(0, 0, "漢", kTaLeftTop, kEverywhere));
  const PixelSet fromIpa = pixelsOf(ipa.textOut(0, 0, "漢", kTaLeftTop, kEverywhere));
  EXPECT_GT(fromIpa.size(), 200u);
  // Same glyph on each face's own baseline.
  EXPECT_EQ(fromDejavu, shifted(fromIpa, 0, dejavu.ascent() - ipa.ascent()));
  EXPECT_EQ(dejavu.measure("A漢").width, dejavu.measure("A").width + ipa.measure("漢").width);
}

TEST(Font, AMissingFaceDrawsWithTheJapaneseFallbackFace) {
  const Font missing(logical("存在しない書体", -40, -20));
  ASSERT_TRUE(missing.usable());
  EXPECT_TRUE(missing.substituted());
  EXPECT_TRUE(sameFile(missing.facePath(), japaneseFallbackFace(false, false).path));
  EXPECT_GT(pixelsOf(missing.textOut(0, 0, "代わりの書体", kTaLeftTop, kEverywhere)).size(), 500u);
}

TEST(Font, OddInputNeitherCrashesNorGrowsWithoutBound) {
  // Invalid UTF-8 reads as replacement characters, which are measured like any other.
  const Font font(logical(kDefaultFace, -20, -10));
  EXPECT_GT(font.measure("\xff\xfe").width, 0);
  EXPECT_EQ(font.measure("\xff").width, font.measure("\xEF\xBF\xBD").width);
  // A huge height is drawn at the largest size; only the clip's pixels are made.
  const Font huge(logical(kDefaultFace, -1000000, -500000));
  const Font largest(logical(kDefaultFace, -kMaxFontPixels, -kMaxFontPixels / 2));
  EXPECT_EQ(huge.ascent(), largest.ascent());
  const TextRect clip{0, 0, 50, 50};
  const TextInk ink = huge.textOut(0, 0, "■", kTaLeftTop, clip);
  EXPECT_TRUE(ink.empty() || (ink.bounds().right <= 50 && ink.bounds().bottom <= 50));
}

TEST(Font, ThreadsDrawTheSameAsOneThread) {
  LogicalFont lf = logical(kDefaultFace, -30, -15);
  lf.escapement = 150;
  lf.weight = 700;
  const std::string text = "同時に描く Threads";
  const PixelSet expected = pixelsOf(Font(lf).textOut(100, 100, text, kTaCenterTop, kEverywhere));
  std::vector<PixelSet> results(4);
  std::vector<std::thread> threads;
  for (PixelSet& out : results)
    threads.emplace_back([&lf, &text, &out] {
      for (int i = 0; i < 10; ++i)
        out = pixelsOf(Font(lf).textOut(100, 100, text, kTaCenterTop, kEverywhere));
    });
  for (std::thread& t : threads) t.join();
  for (const PixelSet& r : results) EXPECT_EQ(r, expected);
}

TEST(PaintInk, SetsExactlyTheInkPixelsInsideThePicture) {
  WorkImage image(6, 4);
  image.fill(kWhite);
  TextInk ink;
  ink.add({1, -3, 2});  // cut at the left edge
  ink.add({2, 4, 9});   // cut at the right edge
  ink.add({7, 0, 6});   // below the picture
  paintInk(image, ink, makeColour(1, 2, 3));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inked = (y == 1 && x < 2) || (y == 2 && x >= 4);
      EXPECT_EQ(image.pixel(x, y), inked ? makeColour(1, 2, 3) : kWhite) << x << "," << y;
    }
  EXPECT_EQ(ink.bounds(), (TextRect{-3, 1, 9, 8}));
}

}  // namespace
}  // namespace kov
