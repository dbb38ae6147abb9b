#include "pipeline/compose.h"

#include <gtest/gtest.h>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "frame/frame_preview.h"
#include "pipeline/photo_load.h"
#include "platform/file_util.h"
#include "support/framed_window.h"

namespace kov {
namespace {

constexpr Colour kRed = makeColour(255, 0, 0);

using Fixture = test::FramedWindow;

TEST(Compose, TheFrameLiesOverThePlacedPhotoOnRed) {
  Fixture f;
  const std::string path = f.photo("a.jpg");
  ASSERT_EQ(composePhoto(f.state, f.dialogs, f.host, path, false, false), kComposeOk);
  const WorkImage& out = f.state.composeBitmap;
  ASSERT_EQ(out.width(), 600);
  ASSERT_EQ(out.height(), 800);
  const WorkImage& placed = f.state.scratchBitmap;  // the photo as placed into the window
  ASSERT_EQ(placed.width(), 400);
  ASSERT_EQ(placed.height(), 500);
  for (int y = 0; y < 500; ++y)
    for (int x = 0; x < 400; ++x) ASSERT_EQ(out.pixel(100 + x, 100 + y), placed.pixel(x, y));
  EXPECT_EQ(out.pixel(10, 10), kRed) << "black frame pixels show the canvas";
  EXPECT_EQ(out.pixel(11, 10), makeColour(0, 0, 1)) << "(0, 0, 1) is frame";
  EXPECT_EQ(out.pixel(0, 799), makeColour(20, 40, 220));
  EXPECT_TRUE(fileExists(f.dir.file("out/a.jpg")));
  EXPECT_EQ(f.state.statusPanels[1], path);
  EXPECT_TRUE(f.host.messages.empty());
  EXPECT_FALSE(f.host.busyCursor);
}

TEST(Compose, ATitleIsDrawnOnlyWhenItHasText) {
  Fixture f;
  const std::string path = f.photo("a.jpg");
  ASSERT_EQ(composePhoto(f.state, f.dialogs, f.host, path, false, false), kComposeOk);
  const WorkImage without = f.state.composeBitmap;
  f.dialogs.captionStore[CaptionKind::Title].text = "  ";
  ASSERT_EQ(composePhoto(f.state, f.dialogs, f.host, "", false, false), kComposeOk);
  EXPECT_TRUE(samePixels(f.state.composeBitmap, without)) << "blanks draw nothing";
  f.dialogs.captionStore[CaptionKind::Title].text = "運動会";
  f.dialogs.captionStore[CaptionKind::Title].font.colour = makeColour(0, 200, 0);
  drawFramePreview(f.state, f.dialogs, f.host);
  ASSERT_EQ(composePhoto(f.state, f.dialogs, f.host, "", false, false), kComposeOk);
  int green = 0;
  for (int y = 600; y < 800; ++y)
    for (int x = 0; x < 600; ++x) green += f.state.composeBitmap.pixel(x, y) == makeColour(0, 200, 0);
  EXPECT_GT(green, 100) << "the title lies below its anchor in the bottom margin";
}

TEST(Compose, PreviewModeComposesAtPreviewSizeAndWritesNothing) {
  Fixture f;
  f.state.photoList = {f.photo("a.jpg")};
  ASSERT_EQ(loadPhoto(f.state, f.host, f.state.photoList[0]), kLoadOk);
  refreshPreview(f.state, f.dialogs, f.host);
  EXPECT_EQ(f.state.composeBitmap.width(), f.state.previewWidth);
  EXPECT_EQ(f.state.composeBitmap.height(), f.state.previewHeight);
  EXPECT_FALSE(folderExists(f.dir.file("out")));
  ASSERT_FALSE(f.host.pictures.empty());
  EXPECT_EQ(f.host.pictures.back().first, PictureTarget::FramePreview);
}

TEST(Compose, MissingInputsStopWithTheirMessages) {
  struct Case {
    std::function<void(MainWindowState&)> change;
    const char* message;
  } cases[] = {
      {[](auto& s) { s.Edit1.clear(); }, "入力フォルダが指定されていません。"},
      {[](auto& s) { s.Edit2.clear(); }, "出力フォルダが指定されていません。"},
      {[](auto& s) { s.Edit3.clear(); }, "枠ファイルが指定されていません。"},
      {[](auto& s) { s.frameHeight = 0; }, "枠ファイルが指定されていません。"},
  };
  for (const auto& c : cases) {
    Fixture f;
    c.change(f.state);
    EXPECT_EQ(composePhoto(f.state, f.dialogs, f.host, f.dir.file("photos/x.jpg"), true, false),
              kComposeStop);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, c.message);
    EXPECT_EQ(f.host.messages[0].caption, "Kovanta");
  }
}

TEST(Compose, OverwritingIsAskedOncePerRunAndDecliningSkips) {
  Fixture f;
  const std::string a = f.photo("a.jpg"), b = f.photo("b.jpg");
  ASSERT_TRUE(createFolders(f.dir.file("out")));
  f.dir.write("out/a.jpg", "old a");
  f.dir.write("out/b.jpg", "old b");
  f.host.answer(Answer::No);
  EXPECT_EQ(composePhoto(f.state, f.dialogs, f.host, a, false, false), kComposeSkipped);
  EXPECT_EQ(f.dir.read("out/a.jpg"), "old a");
  EXPECT_EQ(f.host.messages.back().text,
            "既に同名のファイルが存在します。\n上書きして宜しいですか？");
  EXPECT_EQ(f.host.messages.back().buttons, Buttons::YesNo);
  f.host.answer(Answer::Yes);
  EXPECT_EQ(composePhoto(f.state, f.dialogs, f.host, a, false, false), kComposeOk);
  EXPECT_NE(f.dir.read("out/a.jpg"), "old a");
  EXPECT_EQ(composePhoto(f.state, f.dialogs, f.host, b, false, false), kComposeOk);
  EXPECT_NE(f.dir.read("out/b.jpg"), "old b");
  EXPECT_EQ(f.host.messages.size(), 2u);
}

TEST(Compose, SubFoldersAreKeptAndAFailedWriteIsAnError) {
  Fixture f;
  const std::string inner = f.photo("day2/a.jpg");
  ASSERT_EQ(composePhoto(f.state, f.dialogs, f.host, inner, false, false), kComposeOk);
  EXPECT_TRUE(fileExists(f.dir.file("out/day2/a.jpg")));

  f.dir.write("blocked", "a file where the output folder should be");
  f.state.Edit2 = f.dir.file("blocked");
  EXPECT_EQ(composePhoto(f.state, f.dialogs, f.host, f.photo("b.jpg"), false, false),
            kComposeError);
  EXPECT_EQ(f.host.messages.back().text, "保存先フォルダを作成出来ません。\n" + f.dir.file("blocked"));
}

}  // namespace
}  // namespace kov
