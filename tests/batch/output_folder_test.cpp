#include "batch/output_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kov {
namespace {

TEST(OutputFolder, ProposalIsASubFolderOrASiblingNamedByThePrefix) {
  struct Case {
    const char* photoFolder;
    const char* prefix;
    const char* proposal;
  };
  const Case cases[] = {
      {"/p/Event/", "TA", "/p/Event/TA"},  // browsed: ends in the separator
      {"/p/Event", "TA", "/p/TAEvent"},    // dropped: as it came
      {"/p/運動会", "済_", "/p/済_運動会"}, {"/", "TA", "/TA"}, {"/p/Event", "", "/p/Event"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(proposedOutputFolder(c.photoFolder, c.prefix), c.proposal) << c.photoFolder;
}

TEST(OutputFolder, TrailingSeparatorAppendedOnlyWhenMissing) {
  EXPECT_EQ(withTrailingSeparator("/p/Out"), "/p/Out/");
  EXPECT_EQ(withTrailingSeparator("/p/Out/"), "/p/Out/");
  EXPECT_EQ(withTrailingSeparator("/"), "/");
  // A path of 2048 bytes or more never counts as ending in the separator.
  const std::string longPath = "/" + std::string(2046, 'a') + "/";
  EXPECT_EQ(withTrailingSeparator(longPath), longPath + "/");
}

TEST(OutputFolder, DroppedPathGivesItsFolderOrTheFolderHoldingIt) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("Out"));
  dir.write("Out/photo.jpg", "x");
  const std::string out = dir.file("Out") + "/";
  struct Case {
    std::string dropped;
    std::string folder;
  };
  const Case cases[] = {
      {dir.file("Out"), out},
      {out, out},
      {dir.file("Out/photo.jpg"), out},
      {dir.file("gone/item"), dir.file("gone") + "/"},
      {"/", "/"},
      {"photo.jpg", "./"},
  };
  for (const Case& c : cases) EXPECT_EQ(droppedOutputFolder(c.dropped), c.folder) << c.dropped;
}

}  // namespace
}  // namespace kov
