#include "batch/folder_commands.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "batch/folder_scan.h"
#include "frame/frame_check.h"
#include "frame/frame_file.h"
#include "pipeline/tga_read.h"
#include "platform/bmp_codec.h"
#include "platform/jpeg_codec.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

// The output field as the tests place it, in client coordinates.
constexpr FieldRect kEdit2{100, 80, 300, 20};

// A temporary folder with Event/ (two photos, a text file and a sub-folder
// holding a third photo), a frame accepted and the prefix "TA".
class FolderCommandsTest : public ::testing::Test {
 protected:
  FolderCommandsTest() : dialogs(state) {
    constructMainWindow(state, host, dir.path() + "/");
    state.windowCaption = "Kovanta";
    state.outputFolderPrefix = "TA";
    state.Edit3 = dir.file("frame.bmp");
    state.frameWidth = 120;
    state.frameHeight = 160;
    state.previewPhotoWidth = 30;
    state.previewPhotoHeight = 40;
    fs::create_directories(dir.file("Event/sub"));
    writePhoto("Event/a.jpg");
    writePhoto("Event/b.jpg");
    writePhoto("Event/sub/c.jpg");
    dir.write("Event/notes.txt", "x");
  }

  void writePhoto(const std::string& name) {
    WorkImage photo(64, 48);
    photo.fill(makeColour(30, 160, 90));
    ASSERT_EQ(writeJpegFile(dir.file(name), photo, 90), kJpegOk);
  }

  std::vector<std::string> messageTexts() const { return host.okMessageTexts("Kovanta"); }

  void pointerAt(int x, int y) {
    state.dropPointX = x;
    state.dropPointY = y;
  }

  std::string event() const { return dir.file("Event"); }
  Paths eventPhotos() const { return {dir.file("Event/a.jpg"), dir.file("Event/b.jpg")}; }

  test::TempDir dir;
  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs;
};

TEST_F(FolderCommandsTest, BrowsingThePhotoFolderProposesASubFolderAndShowsTheCounts) {
  struct Case {
    std::string chosen;
    std::string edit1;
    std::string edit2;
  };
  const Case cases[] = {
      {event(), event() + "/", event() + "/TA"},
      {event() + "/", event() + "/", event() + "/TA"},  // no second separator
      {"/", "/", "/TA"},                                // the root folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    state.Edit2.clear();
    host.chooseNext(c.chosen);
    EXPECT_EQ(browsePhotoFolder(state, host), kBrowseOk);
    EXPECT_EQ(state.Edit1, c.edit1);
    EXPECT_EQ(state.Edit2, c.edit2);
  }
  host.chooseNext(event());
  browsePhotoFolder(state, host);
  EXPECT_EQ(host.status[0].back(), "サブフォルダ数 1  全ファイル数 3   JPEGファイル数 2");
  EXPECT_EQ(state.statusPanels[0], host.status[0].back());
  EXPECT_TRUE(host.messages.empty());

  // An output folder already given stays.
  state.Edit2 = "/kept/";
  host.chooseNext(dir.path());
  browsePhotoFolder(state, host);
  EXPECT_EQ(state.Edit2, "/kept/");
  EXPECT_TRUE(host.allAnswersUsed());
}

TEST_F(FolderCommandsTest, BrowsersTakeNothingWhenCancelledOrTheFolderIsUnusable) {
  dir.write("plain.txt", "x");
  struct Case {
    std::optional<std::string> chosen;
    bool message;
  };
  const Case cases[] = {
      {std::nullopt, false},
      {"", false},
      {"x", false},  // one byte that is not the root
      {dir.file("missing"), true},
      {dir.file("plain.txt"), true},
  };
  const std::function<int()> browsers[] = {[&] { return browsePhotoFolder(state, host); },
                                           [&] { return browseOutputFolder(state, host); }};
  for (const auto& browse : browsers) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.chosen.value_or("(cancelled)"));
      host.messages.clear();
      state.Edit1 = "/photos/";
      state.Edit2 = "/out/";
      host.chooseNext(c.chosen);
      EXPECT_EQ(browse(), kBrowseNotTaken);
      EXPECT_EQ(messageTexts(), c.message ? Paths{std::string(kUnusableFolderMessage)} : Paths{});
      EXPECT_EQ(state.Edit1, "/photos/");
      EXPECT_EQ(state.Edit2, "/out/");
    }
  }
  EXPECT_TRUE(host.status[0].empty());
}

TEST_F(FolderCommandsTest, BrowsingTheOutputFolderCountsNothing) {
  host.chooseNext(event());
  EXPECT_EQ(browseOutputFolder(state, host), kBrowseOk);
  EXPECT_EQ(state.Edit2, event() + "/");
  EXPECT_EQ(state.Edit1, "");
  EXPECT_EQ(state.jpegCount, 0);
  EXPECT_TRUE(host.status[0].empty());
}

TEST_F(FolderCommandsTest, PhotoSelectionBuildsTheListAndShowsTheFirstPhoto) {
  host.chooseNext(event());
  state.photoIndex = 3;
  host.progress.clear();
  bitBtn6Click(state, dialogs, host);
  EXPECT_EQ(state.photoList, eventPhotos());
  EXPECT_EQ(state.photoIndex, 0);
  EXPECT_EQ(state.loadedPhotoPath, dir.file("Event/a.jpg"));
  EXPECT_TRUE(state.buttons.processing);
  EXPECT_EQ(host.progress, std::vector<int>{0});
  EXPECT_EQ(host.status[1].back(), dir.file("Event/a.jpg"));
  EXPECT_EQ(state.statusPanels[1], dir.file("Event/a.jpg"));
  EXPECT_FALSE(state.busy);
  EXPECT_TRUE(host.messages.empty());

  // Cancelled: the list is still rebuilt from Edit1, now with the sub-folder.
  state.CheckBox1 = true;
  host.chooseNext(std::nullopt);
  bitBtn1Click(state, dialogs, host);
  EXPECT_EQ(state.photoList.size(), 3u);
  EXPECT_EQ(state.photoList[2], dir.file("Event/sub/c.jpg"));
  EXPECT_EQ(host.folderBrowsers, 2);
}

TEST_F(FolderCommandsTest, PhotoSelectionWithoutAFrameSaysSoAndKeepsTheList) {
  state.Edit3.clear();
  state.photoList = {"previous.jpg"};
  host.chooseNext(event());
  bitBtn6Click(state, dialogs, host);
  EXPECT_EQ(messageTexts(), Paths{std::string(kNoFrameMessage)});
  EXPECT_EQ(state.photoList, Paths{"previous.jpg"});
  EXPECT_FALSE(state.buttons.processing);
  EXPECT_TRUE(host.status[1].empty());
}

TEST_F(FolderCommandsTest, ButtonsDoNothingWhileBusy) {
  state.busy = true;
  bitBtn1Click(state, dialogs, host);
  bitBtn13Click(state, host);
  state.Edit1 = event();
  edit1Exit(state, dialogs, host);
  EXPECT_EQ(host.folderBrowsers, 0);
  EXPECT_TRUE(state.photoList.empty());
  EXPECT_TRUE(state.busy);

  state.busy = false;
  host.chooseNext(dir.path());
  bitBtn13Click(state, host);
  EXPECT_EQ(state.Edit2, dir.path() + "/");
  EXPECT_FALSE(state.busy);
}

TEST_F(FolderCommandsTest, LeavingEdit1BuildsTheListQuietly) {
  edit1Exit(state, dialogs, host);  // empty: nothing at all
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(state.busy);
  EXPECT_TRUE(state.buttons.commands);

  state.Edit1 = event();
  edit1Exit(state, dialogs, host);
  EXPECT_EQ(state.photoList, eventPhotos());
  EXPECT_TRUE(state.buttons.processing);
  EXPECT_EQ(state.Edit2, "");  // no proposal
  EXPECT_TRUE(host.status[0].empty());
  EXPECT_TRUE(std::find(host.status[1].begin(), host.status[1].end(), state.photoList[0]) ==
              host.status[1].end());
  EXPECT_TRUE(host.progress.empty());
  EXPECT_FALSE(state.busy);
}

TEST_F(FolderCommandsTest, DropOntoTheOutputFieldSetsOnlyTheOutputFolder) {
  fs::create_directory(dir.file("Out"));
  dir.write("Out/photo.jpg", "x");
  struct Case {
    std::string dropped;
    int x, y;
    std::string edit2;
  };
  const Case cases[] = {
      {event(), 100, 80, event() + "/"},   // top-left corner
      {event(), 400, 100, event() + "/"},  // bottom-right corner: edges count
      {dir.file("Out/photo.jpg"), 250, 90, dir.file("Out") + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropped);
    state.Edit1 = "/photos";
    state.Edit2 = "/old/";
    state.photoList = {"previous.jpg"};
    pointerAt(c.x, c.y);
    handleDroppedFiles(state, dialogs, host, {c.dropped}, true, kEdit2);
    EXPECT_EQ(state.Edit2, c.edit2);
    EXPECT_EQ(state.Edit1, "/photos");
    EXPECT_EQ(state.photoList, Paths{"previous.jpg"});
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.status[0].empty());
}

TEST_F(FolderCommandsTest, DroppedFolderBecomesThePhotoFolderWithASiblingProposal) {
  pointerAt(401, 80);  // just right of the output field
  handleDroppedFiles(state, dialogs, host, {event(), dir.file("ignored")}, true, kEdit2);
  EXPECT_EQ(state.Edit1, event());
  EXPECT_EQ(state.Edit2, dir.file("TAEvent"));
  EXPECT_EQ(host.status[0], Paths{"サブフォルダ数 1  全ファイル数 3   JPEGファイル数 2"});
  EXPECT_EQ(state.photoList, eventPhotos());
  EXPECT_TRUE(state.buttons.processing);
  EXPECT_EQ(host.progress, std::vector<int>{0});
  EXPECT_EQ(host.status[1].back(), dir.file("Event/a.jpg"));
  EXPECT_FALSE(state.busy);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FolderCommandsTest, DroppedFileElsewhereGivesAnEmptyList) {
  state.photoList = {"previous.jpg"};
  state.Edit2 = "/out/";
  handleDroppedFiles(state, dialogs, host, {dir.file("Event/a.jpg")}, true, kEdit2);
  EXPECT_EQ(state.Edit1, dir.file("Event/a.jpg"));
  EXPECT_EQ(state.Edit2, "/out/");
  EXPECT_EQ(host.status[0], Paths{"サブフォルダ数 0  全ファイル数 0   JPEGファイル数 0"});
  EXPECT_TRUE(state.photoList.empty());
  EXPECT_EQ(messageTexts(), Paths{std::string(kNoJpegMessage)});
  EXPECT_FALSE(state.buttons.processing);
}

TEST_F(FolderCommandsTest, DropWhileBusyOnlySetsTheFields) {
  state.busy = true;
  handleDroppedFiles(state, dialogs, host, {event()}, true, kEdit2);
  EXPECT_EQ(state.Edit1, event());
  EXPECT_EQ(state.jpegCount, 2);
  EXPECT_TRUE(state.photoList.empty());
  EXPECT_TRUE(state.busy);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FolderCommandsTest, DropOutsideTheClientAreaRebuildsFromTheCurrentFolder) {
  state.Edit1 = event();
  handleDroppedFiles(state, dialogs, host, {dir.file("other")}, false, kEdit2);
  EXPECT_EQ(state.Edit1, event());
  EXPECT_EQ(state.Edit2, "");
  EXPECT_EQ(state.photoList, eventPhotos());

  state.Edit1.clear();
  state.photoList = {"previous.jpg"};
  handleDroppedFiles(state, dialogs, host, {}, true, kEdit2);
  EXPECT_EQ(messageTexts(), Paths{std::string(kNoPhotoFolderMessage)});
  EXPECT_EQ(state.photoList, Paths{"previous.jpg"});
}

// The frames shipped next to the executables, as the build placed them.
std::string builtFrame(const char* name) {
  return std::string(KOVANTA_BUILD_DIR) + "/Frame/" + name;
}

TEST(DefaultFrames, Frame001IsAcceptedWithABmpWhoseOnlyBlackIsTheWindow) {
  test::ScriptedHost host;
  const FrameReadResult r =
      readFrameFile(builtFrame("frame001.ini"), FrameContext::MainWindowLoad, host);
  ASSERT_EQ(r.status, FrameReadStatus::Ok);
  const FrameDefinition& f = r.definition;
  EXPECT_EQ(checkFrame(f, FrameContext::MainWindowLoad), "");
  EXPECT_EQ(f.imagePath, builtFrame("frame001.bmp"));
  EXPECT_TRUE(host.messages.empty());

  WorkImage image;
  ASSERT_EQ(readBmpFile(f.imagePath, image), kBmpOk);
  ASSERT_EQ(image.width(), f.frameWidth);
  ASSERT_EQ(image.height(), f.frameHeight);
  long wrong = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const bool window = x >= f.leftWidth && x < f.leftWidth + f.photoWidth && y >= f.topHeight &&
                          y < f.topHeight + f.photoHeight;
      if ((image.pixel(x, y) == kBlack) != window) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(DefaultFrames, Frame002HasATgaWithASoftWindow) {
  test::ScriptedHost host;
  for (FrameContext context : {FrameContext::MainWindowLoad, FrameContext::EditorLoad}) {
    const FrameReadResult r = readFrameFile(builtFrame("frame002.ini"), context, host);
    ASSERT_EQ(r.status, FrameReadStatus::Ok);
    EXPECT_EQ(checkFrame(r.definition, context), "");
    EXPECT_EQ(r.definition.imagePath, builtFrame("frame002.tga"));
  }
  const FrameDefinition f =
      readFrameFile(builtFrame("frame002.ini"), FrameContext::MainWindowLoad, host).definition;
  WorkImage image;
  AlphaPlane alpha;
  ASSERT_EQ(readTgaImage(f.imagePath, image, alpha), kTgaOk);
  ASSERT_EQ(image.width(), f.frameWidth);
  ASSERT_EQ(image.height(), f.frameHeight);
  // Opaque up to the window's edge, fading inwards over about 40 pixels.
  const int midY = f.topHeight + f.photoHeight / 2;
  const int midX = f.leftWidth + f.photoWidth / 2;
  EXPECT_EQ(alpha.at(f.leftWidth - 1, midY), 255);
  EXPECT_EQ(alpha.at(f.leftWidth, midY), 255);
  EXPECT_EQ(alpha.at(f.leftWidth + f.photoWidth - 1, midY), 255);
  EXPECT_EQ(alpha.at(midX, f.topHeight), 255);
  EXPECT_EQ(alpha.at(midX, f.topHeight + f.photoHeight - 1), 255);
  EXPECT_EQ(alpha.at(midX, midY), 0);
  EXPECT_EQ(alpha.at(f.leftWidth + 40, midY), 0);
  const int half = alpha.at(f.leftWidth + 20, midY);
  EXPECT_GT(half, 64);
  EXPECT_LT(half, 192);
  for (int x = f.leftWidth; x < midX; ++x) ASSERT_LE(alpha.at(x + 1, midY), alpha.at(x, midY)) << x;
  // The corners of the window are rounded off, never a hard step.
  EXPECT_EQ(alpha.at(f.leftWidth + 10, f.topHeight + 10), 255);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace kov
