#include "frame/frame_preview.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "frame/frame_load.h"
#include "support/scripted_host.h"

namespace kov {
namespace {

// A frame as frame loading leaves it: 1200 x 1800 in a 400 x 600 preview.
struct Fixture {
  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs{state};
  explicit Fixture(bool alpha) {
    state.windowCaption = "Kovanta";
    state.frameWidth = 1200;
    state.frameHeight = 1800;
    state.photoWidth = 1000;
    state.photoHeight = 1400;
    state.leftMargin = state.rightMargin = state.topMargin = 100;
    state.bottomMargin = 300;
    state.titleX = 600;
    state.titleY = 1550;
    state.dateX = 901;
    state.dateY = 1700;
    state.otherX = 300;
    state.otherY = 33;
    state.previewAreaWidth = 420;
    state.previewAreaHeight = 620;
    computePreviewGeometry(state);
    state.frameBitmap.reset(1200, 1800);
    state.frameBitmap.fill(kWhite);
    state.framePreviewBitmap.reset(400, 600);
    state.framePreviewBitmap.fill(kWhite);
    state.frameHasAlpha = alpha;
    state.frameAlpha.reset(1200, 1800);
    for (int y = 0; y < 1800; ++y)
      for (int x = 0; x < 1200; ++x)
        state.frameAlpha.row(y)[x] = x >= 100 && x < 1100 && y >= 100 && y < 1500 ? 0 : 255;
    if (!alpha)
      for (int y = 100; y < 1500; ++y)
        for (int x = 100; x < 1100; ++x) state.frameBitmap.setPixel(x, y, kBlack);
  }
  const WorkImage& shownFrame() const {
    for (auto it = host.pictures.rbegin(); it != host.pictures.rend(); ++it)
      if (it->first == PictureTarget::FramePreview) return it->second;
    throw std::runtime_error("no frame preview shown");
  }
};

TEST(FramePreview, CaptionImagesHangCentredFromTheirAnchors) {
  Fixture f(false);
  f.state.scrollX = 3;
  f.state.scrollY = 7;
  drawFramePreview(f.state, f.dialogs, f.host);
  const float s = 400.0f / 1200.0f;
  const int anchors[3][2] = {{600, 1550}, {901, 1700}, {300, 33}};
  for (int i = 0; i < 3; ++i) {
    const CaptionImage& image = f.state.captionImages[i];
    ASSERT_GT(image.width, 0) << i;
    EXPECT_EQ(image.width, image.picture.width());
    EXPECT_EQ(image.top, int(std::trunc(anchors[i][1] * s)) - 7) << i;
    EXPECT_EQ(image.left, int(std::trunc(anchors[i][0] * s)) - image.width / 2 - 3) << i;
  }
  EXPECT_TRUE(f.host.messages.empty());
}

TEST(FramePreview, EmptyTextsShowAPlaceholderOnlyAfterAFrameLoad) {
  Fixture f(false);
  ASSERT_TRUE(f.dialogs.captionStore[CaptionKind::Other].text.empty());
  drawFramePreview(f.state, f.dialogs, f.host);
  const int withPlaceholder = f.state.captionImages[2].width;
  EXPECT_GT(withPlaceholder, 0);
  applyFrameToWindow(f.state, f.dialogs, f.host);  // no photos: drawn again as they are
  EXPECT_LT(f.state.captionImages[2].picture.width(), withPlaceholder);
  EXPECT_FALSE(f.state.busy);
}

TEST(FramePreview, TheWindowShowsBlackForBothKindsOfFrame) {
  for (bool alpha : {false, true}) {
    Fixture f(alpha);
    drawFramePreview(f.state, f.dialogs, f.host);
    const WorkImage& shown = f.shownFrame();
    ASSERT_FALSE(shown.empty());
    // The preview is shown fitted at its own size here.
    EXPECT_EQ(shown.pixel(200, 300), kBlack) << alpha;
    EXPECT_EQ(shown.pixel(10, 10), kWhite) << alpha;
  }
}

TEST(FramePreview, SelectingAndCancellingLeavesNoFrameSelected) {
  Fixture f(false);
  f.state.Edit3 = "/frames/a.bmp";
  f.host.chooseNext(std::nullopt);
  selectFrameCommand(f.state, f.dialogs, f.host);
  EXPECT_TRUE(f.state.Edit3.empty());
  EXPECT_FALSE(f.state.frameSelected());
}

}  // namespace
}  // namespace kov
