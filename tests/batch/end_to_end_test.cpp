// A whole folder of real camera photos through the default frames, as the
// window runs it: frame load, folder listing, the run, and the files it writes.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "batch/batch_driver.h"
#include "batch/folder_scan.h"
#include "frame/frame_load.h"
#include "frame/frame_preview.h"
#include "pipeline/compose.h"
#include "platform/file_util.h"
#include "platform/jpeg_codec.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

std::string defaultFrame(const char* name) {
  return std::string(KOVANTA_BUILD_DIR) + "/Frame/" + name;
}

struct FolderRun {
  test::TempDir dir;
  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs{state};

  explicit FolderRun(const char* frame) {
    state.windowCaption = "Kovanta";
    EXPECT_EQ(loadFrameIntoWindow(state, dialogs, host, defaultFrame(frame)), kFrameLoadOk);
    drawFramePreview(state, dialogs, host);
    createFolders(dir.file("photos"));
    state.Edit1 = dir.file("photos");
    state.Edit2 = dir.file("out");
  }
  void copyPhoto(const char* name) {
    fs::copy_file(test::testDataPath(std::string("photos/") + name), dir.file("photos/") + name);
  }
};

TEST(EndToEnd, RealPhotosThroughBothDefaultFrames) {
  if (test::testDataPath("photos").empty()) GTEST_SKIP() << "no test data beside the project";
  for (const char* frame : {"frame001.ini", "frame002.ini"}) {
    SCOPED_TRACE(frame);
    FolderRun r(frame);
    for (const char* name : {"DSCN0010.jpg", "portrait_6.jpg", "pillow_hopper_gray.jpg",
                             "pillow_pil_sample_cmyk.jpg", "tiny_Canon_40D.jpg"})
      r.copyPhoto(name);
    r.dir.write("photos/broken.jpg", "not a JPEG at all");
    ASSERT_EQ(buildPhotoList(r.state, r.host), kBuildOk);
    ASSERT_EQ(r.state.photoList.size(), 6u);
    // The damaged file comes first in name order; the user answers "go on".
    r.host.answer(Answer::No);
    const RunCounts counts = wholeFolderRun(r.state, r.dialogs, r.host);
    EXPECT_EQ(counts.errors, 0);
    // The 128 x 128 hopper, the small CMYK sample and the tiny Canon photo are too small.
    EXPECT_EQ(counts.saved, 2);
    EXPECT_EQ(counts.skipped, 4);
    for (const char* name : {"DSCN0010.jpg", "portrait_6.jpg"}) {
      WorkImage out;
      ASSERT_EQ(decodeJpegFile(r.dir.file("out/") + name, out), kJpegOk) << name;
      EXPECT_EQ(out.width(), r.state.frameWidth);
      EXPECT_EQ(out.height(), r.state.frameHeight);
    }
    EXPECT_TRUE(r.host.allAnswersUsed());
  }
}

TEST(EndToEnd, TheTgaWindowShowsThePhotoAndTheCaptionsLieWhereTheirImagesSay) {
  if (test::testDataPath("photos").empty()) GTEST_SKIP() << "no test data beside the project";
  FolderRun r("frame002.ini");
  ASSERT_TRUE(r.state.frameHasAlpha);
  r.copyPhoto("DSCN0010.jpg");
  ASSERT_EQ(
      composePhoto(r.state, r.dialogs, r.host, r.dir.file("photos/DSCN0010.jpg"), false, false),
      kComposeOk);
  const WorkImage& out = r.state.composeBitmap;
  const WorkImage& placed = r.state.scratchBitmap;
  // Well inside the soft edge the frame's alpha is 0: the photo shows unchanged.
  for (int y = 60; y < r.state.photoHeight - 60; y += 7)
    for (int x = 60; x < r.state.photoWidth - 60; x += 7)
      ASSERT_EQ(out.pixel(r.state.leftMargin + x, r.state.topMargin + y), placed.pixel(x, y));

  // The title's ink starts on the row its caption image's top maps to.
  const CaptionImage& title = r.state.captionImages[0];
  const int y0 = int(std::int64_t(title.top) * r.state.frameWidth / r.state.previewWidth);
  const Colour ink = r.dialogs.captionStore[CaptionKind::Title].font.colour;
  int first = -1;
  for (int y = 0; y < out.height() && first < 0; ++y)
    for (int x = 0; x < out.width(); ++x)
      if (out.pixel(x, y) == ink && y > r.state.topMargin + r.state.photoHeight) {
        first = y;
        break;
      }
  ASSERT_GE(first, 0);
  EXPECT_GE(first, y0);
  EXPECT_LT(first, y0 + 40);
}

}  // namespace
}  // namespace kov
