#include "pipeline/photo_place.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "app/main_window_state.h"
#include "pipeline/photo_load.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/reduce_high_quality.h"
#include "platform/jpeg_codec.h"

#include "support/noise_picture.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov::test {
namespace {

class PhotoPlaceTest : public ::testing::Test {
 protected:
  PhotoPlaceTest() : dialogs(state) {
    state.windowCaption = "Kovanta";
    state.frameWidth = 3000;
    state.frameHeight = 2000;
    state.photoWidth = 150;
    state.photoHeight = 100;
    state.previewPhotoWidth = 60;
    state.previewPhotoHeight = 40;
  }
  std::string photo(const std::string& name, const WorkImage& image) {
    std::string bytes;
    EXPECT_EQ(encodeJpeg(image, 90, bytes), kJpegOk);
    dir.write(name, bytes);
    return dir.file(name);
  }
  // Places `picture` held as the full-size photo into the full-size window.
  int place(const WorkImage& picture) {
    state.photoBitmap = picture;
    state.scratchBitmap = picture;
    return placePhoto(state, dialogs, host, state.photoBitmap, false);
  }
  // What the high-quality path gives for a part of `picture`.
  WorkImage reduced(const WorkImage& picture, const PhotoPart& part, int tw, int th) {
    WorkImage cut;
    copyPixels(picture, part.left, part.top, part.width, part.height, cut);
    MainWindowState other;
    other.CheckBox2 = state.CheckBox2;
    EXPECT_EQ(reduceHighQuality(other, host, cut, th, tw), kReduceOk);
    return cut;
  }
  WorkImage stretched(const WorkImage& picture, const PhotoPart& part, int tw, int th) {
    WorkImage cut;
    copyPixels(picture, part.left, part.top, part.width, part.height, cut);
    WorkImage out(tw, th);
    plainStretch(cut, out);
    return out;
  }

  MainWindowState state;
  DialogValues dialogs;
  ScriptedHost host;
  TempDir dir;
};

TEST(PhotoPartTest, TheLargestPartWithTheWindowsProportions) {
  struct Case {
    int sw, sh, tw, th;
    TrimmingReference reference;
    PhotoPart expected;  // left, top, width, height
  } cases[] = {
      {4000, 3000, 1500, 1000, TrimmingReference::Centre, {0, 167, 4000, 2666}},
      {3000, 4000, 1000, 1500, TrimmingReference::Top, {167, 0, 2666, 4000}},
      {3000, 4000, 1000, 1000, TrimmingReference::Bottom, {0, 1000, 3000, 3000}},
      {3000, 3000, 1500, 1000, TrimmingReference::Centre, {0, 500, 3000, 2000}},
      {3000, 3000, 1000, 1500, TrimmingReference::Top, {500, 0, 2000, 3000}},
      {800, 600, 1500, 1000, TrimmingReference::Top, {0, 0, 800, 533}},
      {800, 600, 1500, 1000, TrimmingReference::Bottom, {0, 67, 800, 533}},
      // A portrait photo in a landscape window keeps its width and loses height.
      {3000, 4000, 1500, 1000, TrimmingReference::Centre, {0, 1000, 3000, 2000}},
      // With no reference chosen, the centre.
      {4000, 3000, 1500, 1000, TrimmingReference(0), {0, 167, 4000, 2666}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(photoPart(c.sw, c.sh, c.tw, c.th, c.reference), c.expected)
        << c.sw << "x" << c.sh << " in " << c.tw << "x" << c.th;
}

TEST_F(PhotoPlaceTest, ThePartIsReducedWithHighQualityOrStretched) {
  const WorkImage picture = noise(400, 300, 1);  // part 400 x 266 at top 17
  dialogs.trimmingReference = TrimmingReference::Centre;
  const PhotoPart part = photoPart(400, 300, 150, 100, TrimmingReference::Centre);
  ASSERT_EQ(part, (PhotoPart{0, 17, 400, 266}));
  for (bool sharpen : {false, true}) {
    state.CheckBox2 = sharpen;
    state.CheckBox3 = true;
    ASSERT_EQ(place(picture), kPlaceOk);
    EXPECT_TRUE(samePixels(state.scratchBitmap, reduced(picture, part, 150, 100)));
    // Without the high-quality reduction: stretched, never sharpened.
    state.CheckBox3 = false;
    ASSERT_EQ(place(picture), kPlaceOk);
    EXPECT_TRUE(samePixels(state.scratchBitmap, stretched(picture, part, 150, 100)));
  }
}

TEST_F(PhotoPlaceTest, APhotoSmallerThanTheWindowIsStretchedOverIt) {
  // 800 x 600 in 1500 x 1000, top: the part 800 x 533 is an enlargement (-15).
  state.photoWidth = 1500;
  state.photoHeight = 1000;
  dialogs.trimmingReference = TrimmingReference::Top;
  const WorkImage picture = noise(800, 600, 2);
  ASSERT_EQ(place(picture), kPlaceOk);
  EXPECT_EQ(state.reductionMessage, "拡大なので高画質圧縮を中断しました。");
  EXPECT_TRUE(samePixels(state.scratchBitmap, stretched(picture, {0, 0, 800, 533}, 1500, 1000)));
}

TEST_F(PhotoPlaceTest, PartsOfOtherProportionsKeepThemAndTheRestIsWhite) {
  // A 10 x 3 window: the part of a 200 x 11 photo is 36 x 11 (its width cut
  // short), 327 against 333 hundredths, which the reduction refuses (-10). The
  // part is stretched at its own proportions to 9 x 3; the last column is white,
  // whatever was there before.
  state.photoWidth = 10;
  state.photoHeight = 3;
  dialogs.trimmingReference = TrimmingReference::Centre;
  state.captionBitmap = WorkImage(10, 3);
  state.captionBitmap.fill(makeColour(255, 0, 0));
  const WorkImage picture = noise(200, 11, 3);
  ASSERT_EQ(place(picture), kPlaceOk);
  EXPECT_EQ(state.reductionMessage.rfind("比率が違うので", 0), 0u) << state.reductionMessage;
  ASSERT_EQ(state.scratchBitmap.width(), 10);
  ASSERT_EQ(state.scratchBitmap.height(), 3);
  const WorkImage part = stretched(picture, {82, 0, 36, 11}, 9, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(state.scratchBitmap.pixel(x, y), x < 9 ? part.pixel(x, y) : kWhite)
          << x << "," << y;
}

TEST_F(PhotoPlaceTest, AnAbortedReductionStopsAndClearsTheFirstStatusPanel) {
  state.statusPanels[0] = "処理中";
  state.abortRequested = true;
  const WorkImage picture = noise(400, 300, 4);
  ASSERT_EQ(place(picture), kPlaceAborted);
  EXPECT_EQ(state.statusPanels[0], "");
  ASSERT_EQ(host.status[0].size(), 1u);
  EXPECT_EQ(host.status[0][0], "");
  // The window-sized top left of the part, unreduced.
  WorkImage expected;
  copyPixels(picture, 0, 0, 150, 100, expected);  // part at top 0 (top reference)
  EXPECT_TRUE(samePixels(state.scratchBitmap, expected));
  // The same through the preparation: stop.
  const std::string path = photo("a.jpg", picture);
  state.abortRequested = true;
  EXPECT_EQ(preparePhoto(state, dialogs, host, path, false), kPrepareStop);
}

TEST_F(PhotoPlaceTest, PhotosOf320By240OrLessAreSkipped) {
  struct Case {
    int w, h, result;
  } cases[] = {
      {320, 240, kPrepareSkip}, {240, 320, kPrepareSkip}, {241, 240, kPrepareSkip},
      {200, 200, kPrepareSkip}, {320, 241, kPrepareOk},   {241, 320, kPrepareOk},
      {321, 240, kPrepareOk},
  };
  for (const Case& c : cases) {
    const std::string path =
        photo(std::to_string(c.w) + "x" + std::to_string(c.h) + ".jpg", noise(c.w, c.h, 5));
    EXPECT_EQ(preparePhoto(state, dialogs, host, path, false), c.result) << c.w << "x" << c.h;
    if (c.result == kPrepareOk) {
      EXPECT_EQ(state.scratchBitmap.width(), 150);
      EXPECT_EQ(state.scratchBitmap.height(), 100);
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PhotoPlaceTest, MissingOrUnreadablePhotosAskWhetherToStop) {
  dir.write("bad.jpg", "no JPEG");
  struct Case {
    std::string name, question;
    Answer answer;
    int result;
  } cases[] = {
      {"gone.jpg", "JPEGファイルが存在しません。中断しますか？\n\n", Answer::Yes, kPrepareStop},
      {"gone.jpg", "JPEGファイルが存在しません。中断しますか？\n\n", Answer::No, kPrepareSkip},
      {"bad.jpg", "JPEGファイルを読み込めませんでした。中断しますか？\n\n", Answer::Yes,
       kPrepareStop},
      {"bad.jpg", "JPEGファイルを読み込めませんでした。中断しますか？\n\n", Answer::No,
       kPrepareSkip},
  };
  for (const Case& c : cases) {
    state.abortRequested = false;
    host.messages.clear();
    host.answer(c.answer);
    const std::string path = dir.file(c.name);
    EXPECT_EQ(preparePhoto(state, dialogs, host, path, false), c.result);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.question + path);
    EXPECT_EQ(host.messages[0].caption, "Kovanta");
    EXPECT_EQ(host.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(state.abortRequested, c.answer == Answer::Yes);
  }
  EXPECT_TRUE(host.allAnswersUsed());
}

TEST_F(PhotoPlaceTest, AnEmptyPathRedrawsThePhotoHeld) {
  // Nothing held (the start-up 10 x 10 pictures): nothing to redraw.
  state.photoBitmap = WorkImage(10, 10);
  state.photoPreviewBitmap = WorkImage(10, 10);
  EXPECT_EQ(preparePhoto(state, dialogs, host, "", false), kPrepareNothingHeld);
  EXPECT_EQ(preparePhoto(state, dialogs, host, "", true), kPrepareNothingHeld);

  const WorkImage picture = noise(400, 300, 6);
  ASSERT_EQ(loadPhoto(state, host, photo("p.jpg", picture)), kLoadOk);  // preview 60 x 45
  dialogs.trimmingReference = TrimmingReference::Centre;
  ASSERT_EQ(preparePhoto(state, dialogs, host, "", true), kPrepareOk);
  const PhotoPart part = photoPart(60, 45, 60, 40, TrimmingReference::Centre);
  EXPECT_TRUE(samePixels(state.scratchBitmap, reduced(state.photoPreviewBitmap, part, 60, 40)));
  ASSERT_EQ(preparePhoto(state, dialogs, host, "", false), kPrepareOk);
  EXPECT_EQ(state.scratchBitmap.width(), 150);
  EXPECT_EQ(state.scratchBitmap.height(), 100);
}

}  // namespace
}  // namespace kov::test
