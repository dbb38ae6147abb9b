#include "batch/folder_scan.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "pipeline/photo_load.h"
#include "platform/jpeg_codec.h"

#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

struct Listing {
  Paths list;
  int subfolders = 0, files = 0, jpegs = 0;
};

Listing listOf(const std::string& folder, bool subfolders) {
  MainWindowState state;
  state.CheckBox1 = subfolders;
  Listing r;
  listJpegFiles(state, folder, r.list);
  r.subfolders = state.subfolderCount;
  r.files = state.fileCount;
  r.jpegs = state.jpegCount;
  return r;
}

void makeFiles(const test::TempDir& dir, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    fs::create_directories(fs::path(dir.file(name)).parent_path());
    dir.write(name, "x");
  }
}

TEST(ListJpegFiles, JpgInAnyCaseHiddenIncludedSortedByName) {
  test::TempDir dir;
  makeFiles(dir, {"d.Jpg", "b.jpeg", "a.JPG", "c.jpg.bak", ".jpg"});
  const Listing r = listOf(dir.path(), false);
  EXPECT_EQ(r.list, (Paths{dir.file(".jpg"), dir.file("a.JPG"), dir.file("d.Jpg")}));
  EXPECT_EQ(r.files, 5);
  EXPECT_EQ(r.jpegs, 3);
  EXPECT_EQ(r.subfolders, 0);
}

TEST(ListJpegFiles, SubFoldersCountedAlwaysEnteredOnlyWhenAskedDepthFirst) {
  test::TempDir dir;
  makeFiles(dir,
            {"a.jpg", "b.jpg", "z.jpg", "B/b1.jpg", "B/C/c.jpg", "B/notes.txt", "y/TA/old.jpg"});
  fs::create_directory(dir.file("Empty"));

  const Listing flat = listOf(dir.path(), false);
  EXPECT_EQ(flat.list, (Paths{dir.file("a.jpg"), dir.file("b.jpg"), dir.file("z.jpg")}));
  EXPECT_EQ(flat.subfolders, 3);  // B, Empty, y
  EXPECT_EQ(flat.files, 3);
  EXPECT_EQ(flat.jpegs, 3);

  // Each sub-folder's photos at the folder's place among its parent's names
  // ("B" sorts before "b.jpg"), an output folder inside the photo folder included.
  const Listing deep = listOf(dir.path(), true);
  EXPECT_EQ(deep.list, (Paths{dir.file("a.jpg"), dir.file("B/b1.jpg"), dir.file("B/C/c.jpg"),
                              dir.file("b.jpg"), dir.file("y/TA/old.jpg"), dir.file("z.jpg")}));
  EXPECT_EQ(deep.subfolders, 5);  // B, B/C, Empty, y, y/TA
  EXPECT_EQ(deep.files, 7);
  EXPECT_EQ(deep.jpegs, 6);
}

TEST(ListJpegFiles, AFolderEndingInTheSeparatorGetsNoSecondOne) {
  test::TempDir dir;
  makeFiles(dir, {"a.jpg", "s/b.jpg"});
  const Listing r = listOf(dir.path() + "/", true);
  EXPECT_EQ(r.list, (Paths{dir.path() + "/a.jpg", dir.path() + "/s/b.jpg"}));
}

TEST(ListJpegFiles, LinksToFoldersAreFollowedButNoFolderIsSearchedTwice) {
  test::TempDir dir;
  makeFiles(dir, {"root/a.jpg", "root/sub/s.jpg", "elsewhere/x.jpg"});
  fs::create_directory_symlink(dir.file("elsewhere"), dir.file("root/ext"));
  fs::create_directory_symlink(".", dir.file("root/loop"));
  fs::create_directory_symlink("..", dir.file("root/sub/up"));
  fs::create_directory_symlink("../sub", dir.file("root/sub/again"));

  const Listing r = listOf(dir.file("root"), true);
  EXPECT_EQ(r.list, (Paths{dir.file("root/a.jpg"), dir.file("root/ext/x.jpg"),
                           dir.file("root/sub/s.jpg")}));
  EXPECT_EQ(r.subfolders, 5);  // ext, loop, sub, sub/again, sub/up: counted, loops not entered
  EXPECT_EQ(r.jpegs, 3);
}

TEST(ListJpegFiles, MissingFoldersCountNothing) {
  test::TempDir dir;
  makeFiles(dir, {"file.jpg"});
  for (const std::string& folder : {dir.file("missing"), dir.file("file.jpg"), std::string()}) {
    const Listing r = listOf(folder, true);
    EXPECT_TRUE(r.list.empty()) << folder;
    EXPECT_EQ(r.subfolders + r.files + r.jpegs, 0) << folder;
  }
}

TEST(ListJpegFiles, AnUnreadableSubFolderIsCountedButNotRead) {
  test::TempDir dir;
  makeFiles(dir, {"file.jpg", "locked/in.jpg"});
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec |
                                  fs::perms::group_read);
  fs::permissions(dir.file("locked"), fs::perms::none);
  // In a child process, as nobody when the tests run as root (root reads everything).
  const auto listAsUser = [&] {
    if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
    const Listing r = listOf(dir.path(), true);
    const bool ok =
        r.list == Paths{dir.file("file.jpg")} && r.subfolders == 1 && r.files == 1 && r.jpegs == 1;
    std::_Exit(ok ? 0 : 1);
  };
  EXPECT_EXIT(listAsUser(), ::testing::ExitedWithCode(0), "");
}

TEST(ListJpegFiles, CountFolderStartsFromZeroAndAddsNothingToAList) {
  test::TempDir dir;
  makeFiles(dir, {"a.jpg", "b.txt", "s/c.jpg"});
  MainWindowState state;
  state.subfolderCount = state.fileCount = state.jpegCount = 7;
  state.photoList = {"kept"};
  countFolder(state, dir.path());
  EXPECT_EQ(state.subfolderCount, 1);
  EXPECT_EQ(state.fileCount, 2);
  EXPECT_EQ(state.jpegCount, 1);
  EXPECT_EQ(state.photoList, Paths{"kept"});
}

TEST(FileNameOrder, CaseInsensitiveByUpperCasedUtf16Units) {
  struct Case {
    const char* a;
    const char* b;
  };
  // Each pair in order: a < b and not b < a.
  const Case cases[] = {
      {"a.jpg", "B.jpg"},       // case ignored
      {"img_10", "IMG_9.jpg"},  // by characters, not numbers
      {"zz", "_a"},             // '_' sorts after the upper-cased letters
      {"Z", "é"},               // é as É (U+00C9)
      {"Ё", "я"},               // я as Я (U+042F)
      {"ｂ", "Ｃ"},             // full-width letters too
      {"あ", "ア"},             // kana by code unit
      {"😀", "\xee\x80\x80"},    // a surrogate pair sorts below U+E000
      {"A", "a"},               // equal but for case: by bytes, never by chance
      {"z", "\xff"},            // a byte that is not UTF-8 sorts as a lone surrogate
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(fileNameLess(c.a, c.b)) << c.a << " < " << c.b;
    EXPECT_FALSE(fileNameLess(c.b, c.a)) << c.b << " < " << c.a;
  }
  EXPECT_FALSE(fileNameLess("same", "same"));
}

class PhotoListTest : public ::testing::Test {
 protected:
  PhotoListTest() : dialogs(state) {
    constructMainWindow(state, host, dir.path() + "/");
    state.windowCaption = "Kovanta";
    state.Edit1 = dir.file("photos");
    state.Edit3 = dir.file("frame001.bmp");
    state.frameWidth = 120;
    state.frameHeight = 160;
    state.previewPhotoWidth = 30;
    state.previewPhotoHeight = 40;
    fs::create_directory(dir.file("photos"));
  }

  void writePhoto(const std::string& name) {
    WorkImage photo(64, 48);
    photo.fill(makeColour(200, 100, 50));
    ASSERT_EQ(writeJpegFile(dir.file(name), photo, 90), kJpegOk);
  }

  std::vector<std::string> messageTexts() const { return host.okMessageTexts("Kovanta"); }

  test::TempDir dir;
  test::ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs;
};

TEST_F(PhotoListTest, ChecksInOrderAndKeepsTheListWhenStoppedEarly) {
  struct Case {
    const char* name;
    std::string edit1, edit3;
    int frameWidth, frameHeight;
    int result;
    std::string_view message;
  };
  const Case cases[] = {
      {"no photo folder and no frame", "", "", 0, 0, kBuildNoPhotoFolder, kNoPhotoFolderMessage},
      {"no frame image", "photos", "", 120, 160, kBuildNoFrame, kNoFrameMessage},
      {"frame width 0", "photos", "f.bmp", 0, 160, kBuildNoFrame, kNoFrameMessage},
      {"frame height below 0", "photos", "f.bmp", 120, -1, kBuildNoFrame, kNoFrameMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    state.photoList = {"previous.jpg"};
    state.Edit1 = c.edit1;
    state.Edit3 = c.edit3;
    state.frameWidth = c.frameWidth;
    state.frameHeight = c.frameHeight;
    EXPECT_EQ(buildPhotoList(state, host), c.result);
    EXPECT_EQ(messageTexts(), Paths{std::string(c.message)});
    EXPECT_EQ(state.photoList, Paths{"previous.jpg"});
  }
}

TEST_F(PhotoListTest, NothingFoundEmptiesTheList) {
  dir.write("photos/readme.txt", "x");
  for (const std::string& folder : {dir.file("photos"), dir.file("missing")}) {
    host.messages.clear();
    state.photoList = {"previous.jpg"};
    state.Edit1 = folder;
    EXPECT_EQ(buildPhotoList(state, host), kBuildNoJpeg);
    EXPECT_EQ(messageTexts(), Paths{std::string(kNoJpegMessage)});
    EXPECT_TRUE(state.photoList.empty());
  }
  EXPECT_EQ(state.fileCount, 0);  // the missing folder's counts
}

TEST_F(PhotoListTest, BuildsTheListFromEdit1) {
  writePhoto("photos/b.jpg");
  writePhoto("photos/A.jpg");
  state.subfolderCount = state.fileCount = state.jpegCount = 9;
  EXPECT_EQ(buildPhotoList(state, host), kBuildOk);
  EXPECT_EQ(state.photoList, (Paths{dir.file("photos/A.jpg"), dir.file("photos/b.jpg")}));
  EXPECT_EQ(state.jpegCount, 2);
  EXPECT_EQ(state.fileCount, 2);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PhotoListTest, LoadFirstPhotoEnablesProcessingOnlyWhenTheFirstLoads) {
  writePhoto("photos/good.jpg");
  dir.write("photos/broken.jpg", "not a JPEG");

  state.photoIndex = 4;
  state.photoList = {dir.file("photos/broken.jpg"), dir.file("photos/good.jpg")};
  EXPECT_EQ(loadFirstPhoto(state, dialogs, host), kLoadDecodeFailed);
  EXPECT_EQ(state.photoIndex, 0);
  EXPECT_FALSE(state.buttons.processing);

  state.photoList.clear();
  EXPECT_EQ(loadFirstPhoto(state, dialogs, host), kLoadEmptyPath);
  EXPECT_FALSE(state.buttons.processing);

  state.photoIndex = 4;
  state.photoList = {dir.file("photos/good.jpg"), dir.file("photos/broken.jpg")};
  EXPECT_EQ(loadFirstPhoto(state, dialogs, host), kLoadOk);
  EXPECT_EQ(state.photoIndex, 0);
  EXPECT_EQ(state.loadedPhotoPath, dir.file("photos/good.jpg"));
  EXPECT_TRUE(state.buttons.processing);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace kov
