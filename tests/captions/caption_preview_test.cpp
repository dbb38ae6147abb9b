#include "captions/caption_preview.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "app/main_window_state.h"
#include "captions/caption_layout.h"

#include "support/scripted_host.h"

namespace kov {
namespace {

constexpr TextRect kEverywhere{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

FontHolder captionFont(int height = -72) {
  FontHolder f;
  f.height = height;
  f.colour = makeColour(30, 60, 200);
  return f;
}

CaptionBlock measured(const std::string& text, int angle = 0, float s = 1.1f) {
  const Font f(captionLogicalFont(captionFont(), angle));
  return measureCaption(f, text, s);
}

class CaptionPreview : public ::testing::Test {
 protected:
  CaptionPreview() {
    window.frameWidth = 2400;
    window.frameHeight = 1800;
    window.previewWidth = 600;  // scale 0.25
  }

  MainWindowState window;
  test::ScriptedHost host;
  WorkImage image;
};

TEST_F(CaptionPreview, TheImageIsTheCaptionsBoxAtThePreviewScale) {
  const std::string text = "運動会の題名";
  const CaptionBlock block = measured(text);
  previewCaption(window, host, image, 0, 0, false, text, captionFont());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(image.width(), block.blockWidth / 4);
  EXPECT_EQ(image.height(), 77 / 4);
  EXPECT_TRUE(image.transparent);
  EXPECT_EQ(image.transparentColour, kWhite);
  // The full-size box is kept on the caption layer.
  EXPECT_EQ(window.captionBitmap.width(), block.blockWidth);
  EXPECT_EQ(window.captionBitmap.height(), 77);
  int coloured = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Colour c = image.pixel(x, y);
      ASSERT_TRUE(c == kWhite || c == captionFont().colour);
      coloured += c != kWhite;
    }
  EXPECT_GT(coloured, 20);
}

TEST_F(CaptionPreview, AtFullScaleTheImageIsTheDrawnBox) {
  window.previewWidth = window.frameWidth;
  const std::string text = "等倍\\n二行目です";
  previewCaption(window, host, image, 0, 0, false, text, captionFont());
  ASSERT_TRUE(samePixels(image, window.captionBitmap));
  // Every line centred in the block, from the box's top.
  const Font f(captionLogicalFont(captionFont(), 0));
  const CaptionBlock block = measureCaption(f, text, 1.1f);
  WorkImage expected(block.blockWidth, block.blockHeight);
  expected.fill(kWhite);
  constexpr unsigned kCentred = kDtNoClip | kDtSingleLine | kDtVCenter | kDtCenter;
  paintInk(expected,
           f.drawText({0, 0, block.blockWidth, 77}, "等倍", kCentred, kTaLeftTop, kEverywhere),
           captionFont().colour);
  paintInk(
      expected,
      f.drawText({0, 84, block.blockWidth, 161}, "二行目です", kCentred, kTaLeftTop, kEverywhere),
      captionFont().colour);
  EXPECT_TRUE(samePixels(image, expected));
}

TEST_F(CaptionPreview, AtNinetyDegreesTheImageIsLineHeightWideAndBlockWidthHigh) {
  const std::string text = "縦の題名";
  const CaptionBlock block = measured(text, 90);
  previewCaption(window, host, image, 0, 90, false, text, captionFont());
  EXPECT_NEAR(image.width(), 77 / 4, 1);
  EXPECT_NEAR(image.height(), block.blockWidth / 4, 1);
}

TEST_F(CaptionPreview, AnEmptyTextGivesAZeroWideImage) {
  previewCaption(window, host, image, 0, 0, false, "", captionFont());
  EXPECT_EQ(image.width(), 0);
  EXPECT_EQ(image.height(), 77 / 4);
  DialogPreviewFrame frame{"2400", "1800", 10, 600};
  previewDialogCaption(window, host, frame, image, 0, 0, false, "", captionFont());
  EXPECT_EQ(image.width(), 0);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(CaptionPreview, AZeroFrameBlanksTheImageAndSaysSo) {
  for (auto [w, h] : {std::pair{0, 1800}, std::pair{2400, 0}}) {
    window.frameWidth = w;
    window.frameHeight = h;
    image = WorkImage(5, 4);
    image.fill(kBlack);
    host.messages.clear();
    previewCaption(window, host, image, 0, 0, false, "題名", captionFont());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "フレームサイズが０です。(タイトルプレビュー)");
    EXPECT_EQ(host.messages[0].caption, "");
    EXPECT_EQ(host.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.pixel(2, 2), kWhite);
    EXPECT_TRUE(image.transparent);
  }
}

TEST_F(CaptionPreview, TheDialogsZeroFrameLeavesTheImageAsItWas) {
  for (auto [w, h] : {std::pair{"0", "1200"}, std::pair{"2000", "0"}}) {
    image = WorkImage(5, 4);
    image.fill(kBlack);
    host.messages.clear();
    previewDialogCaption(window, host, DialogPreviewFrame{w, h, 10, 500}, image, 0, 0, false,
                         "題名", captionFont());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "フレームサイズが０です。(タイトルプレビュー[作成])");
    EXPECT_EQ(host.messages[0].caption, "");
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.pixel(2, 2), kBlack);
  }
}

TEST_F(CaptionPreview, TheDialogReadsTheEditorsFieldsWithDefaults) {
  const std::string text = "作成中";
  const int bw = measured(text).blockWidth;
  const struct {
    const char* width;
    const char* height;
    int pictureWidth;
    int expectedWidth;
  } cases[] = {
      {"2400", "1800", 600, bw / 4},
      {"", "", 500, bw / 4},        // not a number: 2000
      {"幅", "abc", 1000, bw / 2},  // 2000 again
      {"-100", "1800", 600, 0},     // a negative width makes no image
  };
  for (const auto& c : cases) {
    previewDialogCaption(window, host, DialogPreviewFrame{c.width, c.height, 10, c.pictureWidth},
                         image, 0, 0, false, text, captionFont());
    EXPECT_EQ(image.width(), c.expectedWidth) << c.width;
    EXPECT_TRUE(image.transparent);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(CaptionPreview, EachWindowUsesItsOwnLineSpacing) {
  const std::string text = "一行目\\n二行目";
  window.previewWidth = window.frameWidth;  // scale 1
  window.lineSpacingFactor = lineSpacingFactorFor(10);
  previewCaption(window, host, image, 0, 0, false, text, captionFont());
  EXPECT_EQ(image.height(), 161);
  previewDialogCaption(window, host, DialogPreviewFrame{"2400", "1800", 100, 2400}, image, 0, 0,
                       false, text, captionFont());
  EXPECT_EQ(image.height(), 231);
  previewDialogCaption(window, host, DialogPreviewFrame{"2400", "1800", 0, 2400}, image, 0, 0,
                       false, text, captionFont());
  EXPECT_EQ(image.height(), 154);
}

}  // namespace
}  // namespace kov
