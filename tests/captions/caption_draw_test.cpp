#include "captions/caption_draw.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "app/main_window_state.h"
#include "captions/caption_layout.h"
#include "captions/caption_smoothing.h"
#include "platform/file_util.h"

#include "support/pam.h"

namespace kov {
namespace {

// A deterministic picture with smooth colour changes, so that blended edges show.
WorkImage photo(int width, int height) {
  WorkImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(
          x, y,
          makeColour(std::uint8_t(120 + (x * 97 / width)), std::uint8_t(190 - (y * 80 / height)),
                     std::uint8_t(150 + ((x + y) % 37))));
  return image;
}

FontHolder captionFont(int height, Colour colour) {
  FontHolder f;
  f.height = height;
  f.colour = colour;
  return f;
}

// The drawing as first described: a white layer the size of the picture, the caption drawn
// on it, the whole picture smoothed and the whole layer copied with white left out.
// A white caption is drawn on a black layer, black left out.
WorkImage referenceDraw(const WorkImage& picture, int x, int y, int angle, const std::string& text,
                        const FontHolder& font, float s, int pattern) {
  const Colour key = font.colour == kWhite ? kBlack : kWhite;
  WorkImage target = picture;
  WorkImage layer(picture.width(), picture.height());
  layer.fill(key);
  const int a = reduceCaptionAngle(angle);
  const Font f(captionLogicalFont(font, a));
  const TextRect whole{0, 0, picture.width(), picture.height()};
  paintInk(layer, captionInk(f, measureCaption(f, text, s), a, x, y, s, whole), font.colour);
  const PixelRect all{0, 0, picture.width(), picture.height()};
  smoothCaptionEdges(layer, target, font.colour, pattern, all);
  transferCaption(layer, target, all, key);
  return target;
}

int differingPixels(const WorkImage& a, const WorkImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST(TransferCaption, CopiesEveryPixelThatIsNotPureWhiteInsideTheArea) {
  WorkImage caption(12, 3), target(12, 3);
  caption.fill(kWhite);
  target.fill(makeColour(9, 9, 9));
  caption.setPixel(0, 0, kBlack);
  caption.setPixel(9, 0, makeColour(255, 255, 254));  // nearly white still counts
  caption.setPixel(11, 1, makeColour(10, 20, 30));
  caption.setPixel(5, 2, makeColour(1, 2, 3));  // outside the area
  transferCaption(caption, target, PixelRect{-5, -5, 12, 2});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 12; ++x) {
      Colour expected = makeColour(9, 9, 9);
      if (x == 0 && y == 0) expected = kBlack;
      if (x == 9 && y == 0) expected = makeColour(255, 255, 254);
      if (x == 11 && y == 1) expected = makeColour(10, 20, 30);
      EXPECT_EQ(target.pixel(x, y), expected) << x << "," << y;
    }
  // Pictures of different sizes are left alone.
  WorkImage other(3, 3);
  other.fill(kBlack);
  transferCaption(other, target, PixelRect{0, 0, 3, 3});
  EXPECT_EQ(target.pixel(1, 1), makeColour(9, 9, 9));

  // Under a white caption the layer is black and black is left out.
  WorkImage dark(12, 1), below(12, 1);
  dark.fill(kBlack);
  below.fill(makeColour(9, 9, 9));
  dark.setPixel(3, 0, kWhite);
  dark.setPixel(10, 0, makeColour(0, 0, 1));
  transferCaption(dark, below, PixelRect{0, 0, 12, 1}, kBlack);
  for (int x = 0; x < 12; ++x)
    EXPECT_EQ(below.pixel(x, 0), x == 3    ? kWhite
                                 : x == 10 ? makeColour(0, 0, 1)
                                           : makeColour(9, 9, 9))
        << x;
}

TEST(DrawCaption, WorkingOnTheCaptionsAreaGivesTheWholePictureResult) {
  const WorkImage picture = photo(220, 130);
  const struct {
    int x, y, angle;
    const char* text;
    Colour colour;
  } cases[] = {
      {10, 10, 0, "題名 Title", kBlack},
      {30, 20, 0, "二行の\\n題名", makeColour(255, 0, 0)},
      {-15, -8, 0, "端で切れる", kBlack},                    // off the left and top
      {150, 105, 0, "右下で切れる", makeColour(0, 0, 255)},  // off the right and bottom
      {20, 5, 15, "十五度 15°", makeColour(20, 120, 20)},
      {150, -40, 90, "九十度\\n二行", kBlack},
      {60, 30, -30, "時計回り", makeColour(200, 200, 0)},
      {300, 300, 0, "画面の外", kBlack},
      {10, 10, 0, "", kBlack},
  };
  for (const auto& c : cases)
    for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
      const FontHolder font = captionFont(-24, c.colour);
      WorkImage fast = picture;
      WorkImage layer;
      drawCaptionOn(fast, layer, c.x, c.y, c.angle, c.text, font, 1.1f, pattern);
      const WorkImage expected =
          referenceDraw(picture, c.x, c.y, c.angle, c.text, font, 1.1f, pattern);
      EXPECT_EQ(differingPixels(fast, expected), 0) << c.text << " pattern " << pattern;
    }
}

TEST(DrawCaption, UsesTheMainWindowsLayerAndSpacingAndTheBlurPatternOfTheMoment) {
  MainWindowState window;
  SettingsValues settings(window);
  const WorkImage picture = photo(200, 120);
  const FontHolder font = captionFont(-24, makeColour(0, 0, 128));
  const std::string text = "設定\\n次第";
  for (int pattern : {0, 3}) {
    settings.setTrackBar7(pattern);
    settings.setTrackBar5(50);
    WorkImage drawn = picture;
    drawCaption(window, settings, drawn.width(), 0, false, text, font, drawn, 12, 15,
                drawn.height());
    WorkImage expected = picture;
    WorkImage layer;
    drawCaptionOn(expected, layer, 15, 12, 0, text, font, 1.5f, pattern);
    EXPECT_TRUE(samePixels(drawn, expected)) << pattern;
    EXPECT_EQ(window.captionBitmap.width(), 200);
    EXPECT_EQ(window.captionBitmap.height(), 120);
    EXPECT_TRUE(window.captionBitmap.transparent);
    EXPECT_EQ(window.captionBitmap.transparentColour, kWhite);
  }
}

TEST(DrawCaption, AWhiteCaptionIsDrawnAndSmoothedLikeAnyOther) {
  const WorkImage picture = photo(160, 60);
  for (int pattern = 0; pattern < 4; ++pattern) {
    WorkImage drawn = picture;
    WorkImage layer;
    drawCaptionOn(drawn, layer, 5, 5, 0, "白い文字", captionFont(-30, kWhite), 1.1f, pattern);
    EXPECT_TRUE(samePixels(drawn, referenceDraw(picture, 5, 5, 0, "白い文字",
                                                captionFont(-30, kWhite), 1.1f, pattern)))
        << pattern;
    int white = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 160; ++x)
        white += drawn.pixel(x, y) == kWhite && picture.pixel(x, y) != kWhite;
    EXPECT_GT(white, 100) << pattern;
  }
}

// Golden pictures of real captions: a change of rendering shows up here. After a deliberate
// change, rewrite them with KOVANTA_UPDATE_GOLDEN=1 and look at them before committing.
class CaptionGolden : public ::testing::Test {
 protected:
  static void check(const std::string& name, const WorkImage& picture) {
    const std::string path = std::string(KOVANTA_GOLDEN_DIR) + "/" + name + ".pam";
    const char* update = std::getenv("KOVANTA_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
      ASSERT_TRUE(writeFileAtomic(path, toPam(picture))) << path;
      std::printf("rewrote %s\n", path.c_str());
      return;
    }
    const test::PamPicture golden = test::readPam(path);
    ASSERT_EQ(golden.width, picture.width()) << path;
    ASSERT_EQ(golden.height, picture.height()) << path;
    const int differing = differingPixels(golden.image, picture);
    if (differing != 0) {
      const std::string actual = ::testing::TempDir() + name + ".actual.pam";
      writeFileAtomic(actual, toPam(picture));
      ADD_FAILURE() << differing << " pixels differ from " << path << "; this run's picture is "
                    << actual;
    }
  }

  static std::string toPam(const WorkImage& picture) {
    std::string out = "P7\nWIDTH " + std::to_string(picture.width()) + "\nHEIGHT " +
                      std::to_string(picture.height()) +
                      "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n";
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const Colour c = picture.pixel(x, y);
        out += char(redOf(c));
        out += char(greenOf(c));
        out += char(blueOf(c));
      }
    return out;
  }

  static WorkImage draw(int width, int height, int x, int y, int angle, const std::string& text,
                        const FontHolder& font) {
    WorkImage picture = photo(width, height);
    WorkImage layer;
    drawCaptionOn(picture, layer, x, y, angle, text, font, 1.1f, 1);
    return picture;
  }
};

TEST_F(CaptionGolden, JapaneseTitleOnTwoLines) {
  check("title_two_lines",
        draw(230, 80, 6, 4, 0, "第５０回　運動会\\n令和６年度", captionFont(-28, kBlack)));
}

TEST_F(CaptionGolden, BoldAndUnderlined) {
  FontHolder font = captionFont(-26, makeColour(160, 0, 40));
  font.style.bold = true;
  font.style.underline = true;
  check("bold_underline", draw(250, 44, 4, 6, 0, "Bold 太字 & 下線", font));
}

TEST_F(CaptionGolden, FifteenDegrees) {
  check("angle_15",
        draw(220, 90, 4, 4, 15, "十五度 Fifteen", captionFont(-26, makeColour(20, 40, 170))));
}

TEST_F(CaptionGolden, NinetyDegreesOnTwoLines) {
  check("angle_90", draw(80, 124, 4, 6, 90, "九十度\\n二行目", captionFont(-26, kBlack)));
}

}  // namespace
}  // namespace kov
