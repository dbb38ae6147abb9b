#include "frame/frame_load.h"

#include <gtest/gtest.h>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "platform/bmp_codec.h"
#include "platform/cp932.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"
#include "support/tga_header.h"

namespace kov {
namespace {

// A 40 x 60 frame with a 20 x 30 window at (10, 10); `photoFile` names the image.
std::string frameText(std::string_view photoFile, int width = 40) {
  return *utf8ToCp932(std::string("[Frame]\r\nPhotoFile=") + std::string(photoFile) +
                      "\r\nFramewidth=" + std::to_string(width) +
                      "\r\nFrameheight=60\r\nPhotowidth=20\r\nPhotoheight=30\r\n"
                      "Leftwidth=10\r\nRightwidth=" +
                      std::to_string(width - 30) +
                      "\r\nTopheight=10\r\nBottomheight=20\r\nFontPositionX=20\r\n"
                      "FontPositionY=45\r\nDatePositionX=30\r\nDatePositionY=50\r\n"
                      "ReferencePosition=3\r\n[Title]\r\nText=卒業\r\nStyle=B\r\n"
                      "[Config]\r\nBar5=40\r\n");
}

WorkImage frameImage(int width = 40) {
  WorkImage img(width, 60);
  img.fill(makeColour(10, 120, 200));
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 30; ++x) img.setPixel(x, y, kBlack);
  return img;
}

// 32-bit TGA, top row first, alpha 255 everywhere but the window.
std::string tgaBytes(int width, int height) {
  const std::vector<std::uint8_t> header = test::tgaHeader(2, width, height, 8 | 32);
  std::string bytes(header.begin(), header.end());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool window = x >= 10 && x < 30 && y >= 10 && y < 40;
      bytes += {char(50), char(100), char(150), char(window ? 0 : 255)};
    }
  return bytes;
}

struct Fixture {
  test::TempDir dir;
  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs{state};
  Fixture() {
    state.windowCaption = "Kovanta";
    state.exeFolder = dir.path() + "/";
  }
  int load(const std::string& name) {
    return loadFrameIntoWindow(state, dialogs, host, dir.file(name));
  }
};

TEST(FrameLoad, AcceptsABmpFrame) {
  Fixture f;
  f.dir.write("a.ini", frameText("a.bmp"));
  ASSERT_TRUE(writeBmpFile(f.dir.file("a.bmp"), frameImage()));
  f.state.previewAreaWidth = 140;  // available 120 x 100: limited by the height
  f.state.previewAreaHeight = 120;
  ASSERT_EQ(f.load("a.ini"), kFrameLoadOk);
  EXPECT_TRUE(f.host.messages.empty());
  const MainWindowState& s = f.state;
  EXPECT_EQ(s.Edit3, f.dir.file("a.bmp"));
  EXPECT_EQ(s.frameFilePath, f.dir.file("a.ini"));
  EXPECT_TRUE(s.frameSelected());
  EXPECT_EQ(s.frameWidth, 40);
  EXPECT_EQ(s.bottomMargin, 20);
  EXPECT_EQ(s.titleY, 45);
  EXPECT_EQ(s.dateX, 30);
  EXPECT_FALSE(s.frameHasAlpha);
  EXPECT_EQ(s.previewWidth, 66);  // 40 * 100 / 60
  EXPECT_EQ(s.previewHeight, 100);
  EXPECT_TRUE(samePixels(s.frameBitmap, frameImage()));
  EXPECT_TRUE(s.frameBitmap.transparent);
  EXPECT_EQ(s.frameBitmap.transparentColour, kBlack);
  EXPECT_EQ(s.framePreviewBitmap.width(), 66);
  EXPECT_EQ(s.framePreviewBitmap.height(), 100);
  EXPECT_EQ(s.framePreviewBitmap.pixel(0, 0), makeColour(10, 120, 200));
  EXPECT_EQ(s.framePreviewBitmap.pixel(33, 40), kBlack);
  EXPECT_EQ(f.dialogs.captionStore[CaptionKind::Title].text, "卒業");
  EXPECT_EQ(f.dialogs.trimmingReference, TrimmingReference::Bottom);
  EXPECT_EQ(f.dialogs.settings.TrackBar5().position(), 40);
  EXPECT_EQ(s.lineSpacingFactor, 1.4f);
}

TEST(FrameLoad, PreviewGeometry) {
  struct Case {
    int frameW, frameH, areaW, areaH, left, photoW, right;
    int previewW, previewH, previewLeft, previewPhotoW;
  } cases[] = {
      {2400, 3600, 820, 620, 0, 2400, 0, 400, 600, 0, 400},
      {2400, 3600, 1500, 1500, 0, 2400, 0, 800, 1200, 0, 800},
      {2400, 1600, 362, 620, 100, 2200, 100, 342, 228, 14, 314},  // truncation absorbed
      {100, 100, 5, 5, 0, 100, 0, 1, 1, 0, 1},                    // a tiny area still gives 1 x 1
  };
  for (const Case& c : cases) {
    MainWindowState s;
    s.frameWidth = c.frameW;
    s.frameHeight = c.frameH;
    s.leftMargin = c.left;
    s.photoWidth = c.photoW;
    s.rightMargin = c.right;
    s.photoHeight = c.frameH;
    s.previewAreaWidth = c.areaW;
    s.previewAreaHeight = c.areaH;
    computePreviewGeometry(s);
    EXPECT_EQ(s.previewWidth, c.previewW) << c.frameW << "x" << c.frameH;
    EXPECT_EQ(s.previewHeight, c.previewH);
    EXPECT_EQ(s.previewLeftMargin, c.previewLeft);
    EXPECT_EQ(s.previewPhotoWidth, c.previewPhotoW);
    EXPECT_EQ(s.previewPhotoHeight, s.previewHeight);
  }
}

TEST(FrameLoad, ARejectedFrameKeepsTheOldGeometryButItsCaptions) {
  Fixture f;
  f.dir.write("a.ini", frameText("a.bmp"));
  ASSERT_TRUE(writeBmpFile(f.dir.file("a.bmp"), frameImage()));
  ASSERT_EQ(f.load("a.ini"), kFrameLoadOk);
  f.dir.write("b.ini", frameText("missing.bmp", 50));
  EXPECT_EQ(f.load("b.ini"), kFrameLoadRejected);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].text, "枠画像ファイルが存在しません。\n");
  EXPECT_EQ(f.host.messages[0].caption, "");
  EXPECT_EQ(f.state.frameWidth, 40);
  EXPECT_EQ(f.state.frameFilePath, f.dir.file("a.ini"));
  EXPECT_TRUE(f.state.Edit3.empty());
  EXPECT_FALSE(f.state.frameSelected());
  EXPECT_EQ(f.dialogs.captionStore[CaptionKind::Title].text, "卒業")
      << "handed over before the check";

  f.dialogs.captionStore[CaptionKind::Title].text = "kept";
  f.dir.write("z.ini", "[Frame]\r\nFramewidth=0\r\nFrameheight=10\r\n[Title]\r\nText=new\r\n");
  EXPECT_EQ(f.load("z.ini"), kFrameLoadRejected);
  EXPECT_EQ(f.host.messages.back().text,
            "フレームサイズが０です。(フレーム選択)\n無効な値なので読込を中止しました。");
  EXPECT_EQ(f.dialogs.captionStore[CaptionKind::Title].text, "kept") << "nothing handed over";
}

TEST(FrameLoad, AnImageNeitherTgaNorBmpLeavesASingleBlackPixel) {
  Fixture f;
  f.dir.write("a.ini", frameText("photo.jpg"));
  f.dir.write("photo.jpg", "not looked at");
  ASSERT_EQ(f.load("a.ini"), kFrameLoadOk);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].text, "枠画像はTGAもしくはBMPファイル形式で保存して下さい。");
  EXPECT_EQ(f.host.messages[0].caption, "Kovanta");
  EXPECT_EQ(f.state.frameBitmap.width(), 1);
  EXPECT_EQ(f.state.frameBitmap.pixel(0, 0), kBlack);
  EXPECT_EQ(f.state.framePreviewBitmap.width(), f.state.previewWidth);
  EXPECT_EQ(f.state.framePreviewBitmap.pixel(f.state.previewWidth - 1, 0), kBlack);
  EXPECT_EQ(f.state.Edit3, f.dir.file("photo.jpg"));
}

TEST(FrameLoad, AnUnreadableImageGivesTheNewGeometryButNoFrame) {
  Fixture f;
  f.dir.write("a.ini", frameText("a.bmp"));
  f.dir.write("a.bmp", "BM damaged");
  EXPECT_EQ(f.load("a.ini"), kFrameLoadBmpFailed);
  EXPECT_EQ(f.state.frameWidth, 40);
  EXPECT_TRUE(f.state.Edit3.empty());
  EXPECT_TRUE(f.state.frameFilePath.empty());
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].text,
            "枠画像ファイルを読み込めませんでした。\n" + f.dir.file("a.bmp"));

  f.dir.write("t.ini", frameText("t.bmp"));
  f.dir.write("t.tga", std::string(18, '\0'));
  EXPECT_EQ(f.load("t.ini"), kFrameLoadTgaFailed);
}

TEST(FrameLoad, ATgaOfTheSameNameIsPreferredAndBringsItsAlpha) {
  Fixture f;
  f.dir.write("a.ini", frameText("a.bmp"));
  f.dir.write("a.tga", tgaBytes(40, 60));
  ASSERT_EQ(f.load("a.ini"), kFrameLoadOk);
  EXPECT_EQ(f.state.Edit3, f.dir.file("a.tga"));
  EXPECT_TRUE(f.state.frameHasAlpha);
  EXPECT_EQ(f.state.frameAlpha.at(0, 0), 255);
  EXPECT_EQ(f.state.frameAlpha.at(15, 15), 0);
  EXPECT_EQ(f.state.frameBitmap.pixel(0, 0), makeColour(150, 100, 50));
}

TEST(FrameLoad, TheSelectionDialogTakesOnlyLowerCaseIni) {
  Fixture f;
  f.dir.write("a.ini", frameText("a.bmp"));
  ASSERT_TRUE(writeBmpFile(f.dir.file("a.bmp"), frameImage()));
  f.host.chooseNext(f.dir.file("A.INI"));
  f.host.chooseNext(f.dir.file("a.ini"));
  ASSERT_EQ(loadFrameIntoWindow(f.state, f.dialogs, f.host, ""), kFrameLoadOk);
  ASSERT_EQ(f.host.fileDialogs.size(), 2u);
  EXPECT_EQ(f.host.fileDialogs[0].title, "フレーム設定ファイルの読み込み");
  EXPECT_EQ(f.host.fileDialogs[0].initialFolder, f.dir.path() + "/Frame/");
  EXPECT_EQ(f.host.fileDialogs[0].filter, "フレーム設定ファイル (*.ini)|*.ini");
  EXPECT_EQ(f.state.frameFilePath, f.dir.file("a.ini")) << "the file accepted";

  f.host.chooseNext(std::nullopt);
  EXPECT_EQ(loadFrameIntoWindow(f.state, f.dialogs, f.host, f.dir.file("gone.ini")),
            kFrameLoadRejected);
  EXPECT_TRUE(f.state.Edit3.empty());
  EXPECT_TRUE(f.host.messages.empty());
}

}  // namespace
}  // namespace kov
