#include "frame/frame_diagram.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/work_image.h"

namespace kov {
namespace {

// The picture as rows of '.' (white) and '#' (black); any other colour is '?'.
std::vector<std::string> picture(const WorkImage& img) {
  std::vector<std::string> rows;
  for (int y = 0; y < img.height(); ++y) {
    std::string row;
    for (int x = 0; x < img.width(); ++x) {
      const Colour c = img.pixel(x, y);
      row += c == kWhite ? '.' : c == kBlack ? '#' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(FrameDiagram, WhiteFrameBlackWindow) {
  struct Case {
    const char* name;
    FrameDiagramSizes sizes;  // frame W, H, left, top, window W, H
    std::vector<std::string> rows;
  } cases[] = {
      {"window inside", {5, 4, 1, 1, 3, 2}, {".....", ".###.", ".###.", "....."}},
      {"zero margins left and top", {3, 3, 0, 0, 2, 2}, {"##.", "##.", "..."}},
      {"on the right and bottom edges", {4, 3, 2, 1, 2, 2}, {"....", "..##", "..##"}},
      {"window equals frame", {3, 2, 0, 0, 3, 2}, {"###", "###"}},
      {"one pixel", {1, 1, 0, 0, 1, 1}, {"#"}},
      {"one pixel window", {3, 3, 1, 1, 1, 1}, {"...", ".#.", "..."}},
      {"reaching outside is clipped", {3, 3, 2, 2, 5, 5}, {"...", "...", "..#"}},
      {"negative margins are clipped", {3, 3, -1, -1, 2, 2}, {"#..", "...", "..."}},
      {"window beside the frame", {3, 2, 3, 0, 2, 2}, {"...", "..."}},
      {"window above the frame", {3, 2, 0, -5, 3, 5}, {"...", "..."}},
      {"no overflow past the largest int", {3, 2, 1, 1, INT_MAX, INT_MAX}, {"...", ".##"}},
      {"far away", {2, 2, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {"..", ".."}},
  };
  for (const Case& c : cases) {
    WorkImage img;
    EXPECT_TRUE(drawFrameDiagram(img, c.sizes)) << c.name;
    EXPECT_EQ(picture(img), c.rows) << c.name;
  }
}

TEST(FrameDiagram, BytesArePureWhiteAndBlack) {
  WorkImage img;
  ASSERT_TRUE(drawFrameDiagram(img, {3, 1, 1, 0, 1, 1}));
  const std::uint8_t expected[] = {255, 255, 255, 0, 0, 0, 255, 255, 255};
  EXPECT_EQ(std::vector<std::uint8_t>(img.row(0), img.row(0) + 9),
            std::vector<std::uint8_t>(expected, expected + 9));
}

TEST(FrameDiagram, ReusedPictureTakesTheNewSize) {
  WorkImage img(6, 6);
  img.fill(makeColour(1, 2, 3));
  ASSERT_TRUE(drawFrameDiagram(img, {2, 3, 1, 1, 1, 1}));
  EXPECT_EQ(picture(img), (std::vector<std::string>{"..", ".#", ".."}));
}

TEST(FrameDiagram, NothingChangesWithoutASize) {
  const FrameDiagramSizes cases[] = {
      {0, 3, 0, 0, 1, 1},
      {3, 0, 0, 0, 1, 1},
      {3, 3, 0, 0, 0, 1},
      {3, 3, 0, 0, 1, 0},
      {-1, 3, 0, 0, 1, 1},
      {3, -1, 0, 0, 1, 1},
      {3, 3, 0, 0, -1, 1},
      {3, 3, 0, 0, 1, -1},
      {0, 0, 0, 0, 0, 0},
      // Larger than any picture the program holds.
      {INT_MAX, INT_MAX, 0, 0, 1, 1},
      {20000, 20000, 0, 0, 1, 1},
  };
  for (const FrameDiagramSizes& s : cases) {
    WorkImage img(2, 1);
    img.fill(makeColour(1, 2, 3));
    EXPECT_FALSE(drawFrameDiagram(img, s)) << s.frameWidth << "x" << s.frameHeight;
    EXPECT_EQ(img.width(), 2);
    EXPECT_EQ(img.height(), 1);
    EXPECT_EQ(img.pixel(0, 0), makeColour(1, 2, 3));
    EXPECT_EQ(img.pixel(1, 0), makeColour(1, 2, 3));
  }
}

}  // namespace
}  // namespace kov
