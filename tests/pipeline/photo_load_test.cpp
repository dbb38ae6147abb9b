#include "pipeline/photo_load.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/quarter_turn.h"
#include "pipeline/reduce_high_quality.h"
#include "platform/jpeg_codec.h"

#include "support/noise_picture.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov::test {
namespace {

// A JPEG of the picture, with an EXIF block giving `orientation` when it is not 0.
std::string jpegBytes(const WorkImage& image, int orientation = 0) {
  std::string bytes;
  EXPECT_EQ(encodeJpeg(image, 95, bytes), kJpegOk);
  if (orientation == 0) return bytes;
  const std::string payload = std::string("Exif\0\0MM\0*\0\0\0\x08", 14) +
                              std::string("\0\x01\x01\x12\0\x03\0\0\0\x01\0", 11) +
                              char(orientation) + std::string("\0\0\0\0\0\0", 6);
  const std::size_t length = payload.size() + 2;
  std::string app1 = "\xFF\xE1";
  app1 += char(length >> 8);
  app1 += char(length & 0xFF);
  app1 += payload;
  // After the SOI and the JFIF segment the encoder writes first.
  std::size_t at = 2;
  if (std::uint8_t(bytes[2]) == 0xFF && std::uint8_t(bytes[3]) == 0xE0)
    at += 2 + (std::size_t(std::uint8_t(bytes[4])) << 8 | std::uint8_t(bytes[5]));
  bytes.insert(at, app1);
  return bytes;
}

// What the codec makes of a file, for exact comparisons.
WorkImage decoded(const std::string& path) {
  WorkImage image;
  EXPECT_EQ(decodeJpegFile(path, image), kJpegOk);
  return image;
}

class PhotoLoadTest : public ::testing::Test {
 protected:
  // A landscape 3000 x 2000 frame with a 400 x 300 preview window, or portrait.
  void frame(int width, int height) {
    state.frameWidth = width;
    state.frameHeight = height;
    state.previewPhotoWidth = width >= height ? 400 : 300;
    state.previewPhotoHeight = width >= height ? 300 : 400;
  }
  std::string photo(const std::string& name, const WorkImage& image, int orientation = 0) {
    dir.write(name, jpegBytes(image, orientation));
    return dir.file(name);
  }

  MainWindowState state;
  ScriptedHost host;
  TempDir dir;
};

TEST_F(PhotoLoadTest, ResultsForMissingEmptyAndUnreadablePaths) {
  frame(3000, 2000);
  dir.write("broken.jpg", "not a JPEG at all");
  std::filesystem::create_directory(dir.file("folder.jpg"));
  struct Case {
    std::string path;
    int result;
  } cases[] = {
      {"", kLoadEmptyPath},  // even while nothing is held (the held path is empty too)
      {dir.file("missing.jpg"), kLoadNoFile},
      {dir.file("folder.jpg"), kLoadNoFile},
      {dir.file("broken.jpg"), kLoadDecodeFailed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(loadPhoto(state, host, c.path), c.result) << c.path;
    EXPECT_EQ(state.loadedPhotoPath, "");
  }
  EXPECT_EQ(state.scratchBitmap.width(), 1);  // as made before decoding
  EXPECT_EQ(state.scratchBitmap.height(), 1);
}

TEST_F(PhotoLoadTest, TheSamePathAgainOnlyCopiesThePhotoHeld) {
  frame(3000, 2000);
  const std::string path = photo("a.jpg", noise(40, 30, 1));
  ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
  EXPECT_EQ(state.loadedPhotoPath, path);
  EXPECT_TRUE(samePixels(state.scratchBitmap, state.photoBitmap));
  EXPECT_GE(host.pumps, 1);

  // Gone from the disk and marked in memory: the second load decodes nothing.
  std::filesystem::remove(path);
  state.photoBitmap.setPixel(0, 0, makeColour(1, 2, 3));
  const WorkImage preview = state.photoPreviewBitmap;
  state.scratchBitmap = WorkImage(2, 2);
  ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
  EXPECT_TRUE(samePixels(state.scratchBitmap, state.photoBitmap));
  EXPECT_EQ(state.scratchBitmap.pixel(0, 0), makeColour(1, 2, 3));
  EXPECT_TRUE(samePixels(state.photoPreviewBitmap, preview));

  // A failed load forgets the photo held.
  ASSERT_EQ(loadPhoto(state, host, dir.file("missing.jpg")), kLoadNoFile);
  dir.write("bad.jpg", "xx");
  ASSERT_EQ(loadPhoto(state, host, dir.file("bad.jpg")), kLoadDecodeFailed);
  EXPECT_EQ(state.loadedPhotoPath, "");
}

TEST_F(PhotoLoadTest, ThePhotoIsTurnedWhenItsOrientationDiffersFromTheFrames) {
  struct Case {
    int w, h, frameW, frameH;
    bool turned;
  } cases[] = {
      {40, 30, 2000, 3000, true},   // landscape photo, portrait frame
      {40, 30, 3000, 2000, false},  // landscape, landscape
      {30, 40, 3000, 2000, true},   // portrait photo, landscape frame
      {30, 40, 2000, 3000, false},
      {32, 32, 2000, 3000, true},  // a square photo counts as landscape
      {32, 32, 3000, 2000, false},
      {32, 32, 2500, 2500, false},  // and so does a square frame
      {30, 40, 0, 0, true},         // no frame yet: landscape
  };
  int n = 0;
  for (const Case& c : cases) {
    frame(c.frameW, c.frameH);
    const std::string path = photo("p" + std::to_string(n++) + ".jpg", noise(c.w, c.h, 7));
    ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
    const WorkImage plain = decoded(path);
    WorkImage expected = plain;
    if (c.turned) {
      expected.reset(plain.height(), plain.width());
      ASSERT_EQ(turnQuarter(plain, expected), kTurnOk);
    }
    EXPECT_TRUE(samePixels(state.photoBitmap, expected)) << c.w << "x" << c.h;
    EXPECT_TRUE(samePixels(state.scratchBitmap, expected)) << c.w << "x" << c.h;
  }
}

TEST_F(PhotoLoadTest, AFewPixelsTurnedStayUnturnedInScratch) {
  // Turned to 8 x 12, the photo is 10 pixels wide or less: scratchBitmap keeps it unturned.
  frame(3000, 2000);
  const std::string path = photo("tiny.jpg", noise(8, 12, 3));
  ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
  EXPECT_EQ(state.photoBitmap.width(), 12);
  EXPECT_EQ(state.photoBitmap.height(), 8);
  EXPECT_TRUE(samePixels(state.scratchBitmap, decoded(path)));
}

TEST_F(PhotoLoadTest, PreviewSizeFollowsTheLongerSideOfTheWindow) {
  state.previewPhotoWidth = 400;
  state.previewPhotoHeight = 300;
  struct Case {
    int w, h;
    PictureSize expected;
  } cases[] = {
      {4000, 3000, {400, 300}}, {3000, 4000, {300, 400}}, {3000, 3000, {400, 400}},
      {1000, 333, {400, 133}},  {10, 4000, {1, 400}},     {100000, 1, {400, 0}},
      {0, 0, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(previewPhotoSize(state, c.w, c.h), c.expected) << c.w << "x" << c.h;
}

TEST_F(PhotoLoadTest, ThePreviewIsStretchedOrReducedAsAsked) {
  frame(3000, 2000);
  state.previewPhotoWidth = 20;  // a 64 x 48 photo previews at 20 x 15
  state.previewPhotoHeight = 14;
  const std::string path = photo("p.jpg", noise(64, 48, 5));
  for (bool highQuality : {false, true}) {
    state.CheckBox4 = highQuality;
    state.loadedPhotoPath.clear();
    ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
    WorkImage expected = state.photoBitmap;
    if (highQuality) {
      MainWindowState other;
      ASSERT_EQ(reduceHighQuality(other, host, expected, 15, 20), kReduceOk);
    } else {
      expected.reset(20, 15);
      plainStretch(state.photoBitmap, expected);
    }
    EXPECT_TRUE(samePixels(state.photoPreviewBitmap, expected)) << "high quality " << highQuality;
  }
  // A preview larger than the photo is refused by the reduction and stretched.
  state.previewPhotoWidth = 100;
  state.loadedPhotoPath.clear();
  ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
  WorkImage expected(100, 75);
  plainStretch(state.photoBitmap, expected);
  EXPECT_TRUE(samePixels(state.photoPreviewBitmap, expected));
}

TEST_F(PhotoLoadTest, ExifOrientationIsAppliedBeforeTheFramesOrientationIsLookedAt) {
  const WorkImage stored = noise(48, 32, 9);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const std::string plainPath = photo("plain.jpg", stored);
    WorkImage expected;
    applyExifOrientation(decoded(plainPath), expected, orientation);
    // The frame has the upright photo's orientation, so nothing else turns it.
    if (expected.width() >= expected.height()) {
      frame(3000, 2000);
    } else {
      frame(2000, 3000);
    }
    const std::string path = photo("o" + std::to_string(orientation) + ".jpg", stored, orientation);
    ASSERT_EQ(loadPhoto(state, host, path), kLoadOk);
    EXPECT_TRUE(samePixels(state.photoBitmap, expected)) << "orientation " << orientation;
  }
}

double meanDifference(const WorkImage& a, const WorkImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (std::size_t i = 0; i < a.stride(); ++i) sum += std::abs(a.row(y)[i] - b.row(y)[i]);
  return sum / (double(a.stride()) * a.height());
}

TEST_F(PhotoLoadTest, CameraPhotosTaggedSidewaysStandUpright) {
  // The same scenes stored upright (orientation 1) and sideways with orientation 6.
  for (const char* scene : {"landscape", "portrait"}) {
    const std::string upright = testDataPath(std::string("photos/") + scene + "_1.jpg");
    const std::string sideways = testDataPath(std::string("photos/") + scene + "_6.jpg");
    if (upright.empty() || sideways.empty()) GTEST_SKIP() << "no test data";
    if (std::string(scene) == "landscape") {
      frame(3000, 2000);
    } else {
      frame(2000, 3000);
    }
    ASSERT_EQ(loadPhoto(state, host, upright), kLoadOk);
    const WorkImage reference = state.photoBitmap;
    ASSERT_EQ(loadPhoto(state, host, sideways), kLoadOk);
    ASSERT_EQ(state.photoBitmap.width(), reference.width()) << scene;
    ASSERT_EQ(state.photoBitmap.height(), reference.height()) << scene;
    // Alike but for the two files' JPEG losses and the figure drawn into each
    // scene (about 15 apart on average); upside down, as the tag unread would
    // leave it after the turn into the frame, they are 55 and more apart.
    WorkImage halfTurned;
    applyExifOrientation(state.photoBitmap, halfTurned, 3);
    EXPECT_LT(meanDifference(state.photoBitmap, reference), 25.0) << scene;
    EXPECT_GT(meanDifference(halfTurned, reference), 40.0) << scene;
  }
}

// Records what is shown on the preview.
class PreviewHost : public ScriptedHost {
 public:
  void showPicture(PictureTarget target, const WorkImage& picture) override {
    targets.push_back(target);
    shown = picture;
  }
  std::vector<PictureTarget> targets;
  WorkImage shown;
};

TEST(ShowFittedTest, DrawsThePictureAtItsProportionsOnGrey) {
  struct Case {
    int gw, gh, controlW, controlH, drawnW, drawnH;
  } cases[] = {
      {1000, 500, 400, 400, 400, 200},  // wider: full width, the lower half grey
      {500, 1000, 400, 400, 200, 400},  // taller: full height
      {800, 400, 400, 200, 400, 200},   // the same proportions fill the control
      {3, 1, 10, 10, 10, 3},
      {0, 0, 10, 10, 0, 0},  // nothing to draw: all grey
      {30, 20, 0, 0, 0, 0},  // no control size: an empty picture
  };
  for (const Case& c : cases) {
    MainWindowState state;
    PreviewHost host;
    const WorkImage picture = noise(c.gw, c.gh, 4);
    showFitted(state, host, picture, c.controlW, c.controlH);
    ASSERT_EQ(host.targets.size(), 1u);
    EXPECT_EQ(host.targets[0], PictureTarget::FramePreview);
    ASSERT_TRUE(samePixels(host.shown, state.displayBitmap));
    ASSERT_EQ(state.displayBitmap.width(), c.controlW);
    ASSERT_EQ(state.displayBitmap.height(), c.controlH);
    for (int y = 0; y < c.controlH; ++y)
      for (int x = 0; x < c.controlW; ++x) {
        const bool drawn = x < c.drawnW && y < c.drawnH;
        const Colour expected = drawn ? picture.pixel(x * c.gw / c.drawnW, y * c.gh / c.drawnH)
                                      : makeColour(128, 128, 128);
        ASSERT_EQ(state.displayBitmap.pixel(x, y), expected)
            << c.gw << "x" << c.gh << " in " << c.controlW << "x" << c.controlH << " at " << x
            << "," << y;
      }
  }
}

TEST(ShowFittedTest, TheFramePreviewHasThePreviewSize) {
  MainWindowState state;
  state.previewWidth = 60;
  state.previewHeight = 40;
  PreviewHost host;
  showFitted(state, host, noise(10, 10, 2));
  EXPECT_EQ(host.shown.width(), 60);
  EXPECT_EQ(host.shown.height(), 40);
  // Showing the display picture itself works from a copy.
  const WorkImage before = state.displayBitmap;
  showFitted(state, host, state.displayBitmap);
  EXPECT_TRUE(samePixels(state.displayBitmap, before));
}

}  // namespace
}  // namespace kov::test
