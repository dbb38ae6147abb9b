#include "pipeline/save_jpeg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_util.h"
#include "platform/work_image.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

TEST(SaveJpeg, CreatesMissingFoldersAndReportsWhatFails) {
  test::TempDir dir;
  WorkImage picture(8, 8);
  picture.fill(makeColour(200, 30, 30));
  test::ScriptedHost host;
  EXPECT_EQ(saveJpeg(host, "Kovanta", dir.file("a/b/c.jpg"), picture, 90), kSaveOk);
  EXPECT_TRUE(fileExists(dir.file("a/b/c.jpg")));
  EXPECT_EQ(saveJpeg(host, "Kovanta", dir.file("a/b/c.jpg"), picture, 0), kSaveOk);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(saveJpeg(host, "Kovanta", "/x", picture, 90), kSaveNoFolder);
  EXPECT_EQ(host.messages.back().text, "保存先フォルダが指定されていません。");

  dir.write("file", "in the way");
  EXPECT_EQ(saveJpeg(host, "Kovanta", dir.file("file/sub/c.jpg"), picture, 90), kSaveCannotCreate);
  EXPECT_EQ(host.messages.back().text, "保存先フォルダを作成出来ません。\n" + dir.file("file/sub"));
  EXPECT_EQ(host.messages.back().caption, "Kovanta");

  // A folder where the file should go: nothing is written, nothing left behind.
  ASSERT_TRUE(createFolders(dir.file("out/taken.jpg")));
  EXPECT_EQ(saveJpeg(host, "Kovanta", dir.file("out/taken.jpg"), picture, 90), kSaveWriteFailed);
  EXPECT_EQ(host.messages.back().text, "保存先フォルダを作成出来ません。");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("out")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(SaveJpeg, OutputNames) {
  struct Case {
    const char *out, *photos, *photo, *expected;
  } cases[] = {
      {"/out", "/p", "/p/a.jpg", "/out/a.jpg"},
      {"/out/", "/p/", "/p/a.jpg", "/out/a.jpg"},
      {"/out", "/p", "/p/day1/a.jpg", "/out/day1/a.jpg"},
      {"/out", "/p/", "/p/day1/sub/a.JPG", "/out/day1/sub/a.JPG"},
      {"/out", "/q", "/p/a.jpg", "/out/a.jpg"},     // not under the photo folder: its name
      {"/out", "/p", "/pp/a.jpg", "/out/a.jpg"},    // a prefix of the name is no folder
      {"/out", "/p/運動会", "/p/運動会/表.jpg", "/out/表.jpg"},
  };
  for (const Case& c : cases) EXPECT_EQ(outputPathFor(c.out, c.photos, c.photo), c.expected);
}

}  // namespace
}  // namespace kov
