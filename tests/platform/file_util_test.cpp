#include "platform/file_util.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

TEST(FileUtil, ExistsAndFolders) {
  test::TempDir dir;
  dir.write("a.txt", "x");
  EXPECT_TRUE(fileExists(dir.file("a.txt")));
  EXPECT_FALSE(folderExists(dir.file("a.txt")));
  EXPECT_FALSE(fileExists(dir.path()));
  EXPECT_TRUE(folderExists(dir.path()));
  EXPECT_FALSE(fileExists(dir.file("missing")));
  EXPECT_FALSE(fileExists(""));

  const std::string deep = dir.file("写真/2026/運動会");
  EXPECT_TRUE(createFolders(deep));
  EXPECT_TRUE(folderExists(deep));
  EXPECT_TRUE(createFolders(deep));                    // already there
  EXPECT_FALSE(createFolders(dir.file("a.txt/sub")));  // a file in the way
}

TEST(FileUtil, AtomicWriteReplacesWholeOrNothing) {
  test::TempDir dir;
  const std::string path = dir.file("kov.ini");
  ASSERT_TRUE(writeFileAtomic(path, "old"));
  ASSERT_TRUE(writeFileAtomic(path, std::string(100000, 'n')));
  EXPECT_EQ(dir.read("kov.ini"), std::string(100000, 'n'));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "no temporary file is left";
  EXPECT_FALSE(writeFileAtomic(dir.file("no/such/folder/x"), "data"));
  EXPECT_FALSE(writeFileAtomic(dir.path(), "a folder is not replaced"));
  EXPECT_TRUE(folderExists(dir.path()));
}

TEST(FileUtil, ReadsWholeFilesOrNothing) {
  test::TempDir dir;
  dir.write("b.bin", std::string("a\0b", 3));
  EXPECT_EQ(readFileBytes(dir.file("b.bin")), std::string("a\0b", 3));
  EXPECT_EQ(readFileBytes(dir.file("none")), std::nullopt);
  EXPECT_EQ(readFileBytes(dir.path()), std::nullopt);
}

TEST(FileUtil, PathsUseTheNativeSeparator) {
  EXPECT_TRUE(endsWithSeparator("/photos/"));
  EXPECT_FALSE(endsWithSeparator("/photos"));
  EXPECT_FALSE(endsWithSeparator(""));
  EXPECT_EQ(joinPath("/a", "b.ini"), "/a/b.ini");
  EXPECT_EQ(joinPath("/a/", "b.ini"), "/a/b.ini");
  const std::string exe = executableFolder();
  EXPECT_TRUE(endsWithSeparator(exe));
  EXPECT_TRUE(folderExists(exe));
}

}  // namespace
}  // namespace kov
