#include "app/main_window_state.h"

#include <gtest/gtest.h>

#include "support/scripted_host.h"

namespace kov {
namespace {

TEST(MainWindowState, ConstructionGivesTheStartValues) {
  MainWindowState state;
  test::ScriptedHost host;
  ASSERT_TRUE(constructMainWindow(state, host, "/opt/kovanta/"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(state.starting);
  EXPECT_EQ(state.windowCaption, "Kovanta");
  EXPECT_EQ(state.exeFolder, "/opt/kovanta/");
  EXPECT_EQ(state.frameWidth, 0);
  EXPECT_EQ(state.frameHeight, 0);
  EXPECT_FALSE(state.frameSelected());
  EXPECT_EQ(state.lineSpacingFactor, 1.1f);
  EXPECT_EQ(state.inactiveTransparency, 0);
  EXPECT_FALSE(state.busy);
  EXPECT_FALSE(state.abortRequested);
  EXPECT_FALSE(state.overwriteConfirmed);
  EXPECT_FALSE(state.captionsChangedTemporarily);
  EXPECT_TRUE(state.loadedPhotoPath.empty());
  EXPECT_TRUE(state.frameFilePath.empty());
  EXPECT_EQ(state.photoIndex, 0);
  for (const WorkImage* b : {&state.scratchBitmap, &state.displayBitmap, &state.captionBitmap,
                             &state.composeBitmap, &state.frameBitmap, &state.framePreviewBitmap,
                             &state.photoBitmap, &state.photoPreviewBitmap}) {
    EXPECT_EQ(b->width(), 10);
    EXPECT_EQ(b->height(), 10);
  }
  EXPECT_FALSE(state.CheckBox1);
  EXPECT_FALSE(state.CheckBox2);
  EXPECT_TRUE(state.CheckBox3);
  EXPECT_FALSE(state.CheckBox4);
  EXPECT_TRUE(state.CheckBox5);
  EXPECT_EQ(state.windowWidth, 946);
  EXPECT_EQ(state.windowHeight, 745);
}

TEST(MainWindowState, AFrameCountsAsSelectedOnlyWithImageAndSize) {
  MainWindowState state;
  state.frameWidth = 2244;
  state.frameHeight = 2918;
  EXPECT_FALSE(state.frameSelected());  // a failed load empties Edit3 but keeps the geometry
  state.Edit3 = "/frames/a.bmp";
  EXPECT_TRUE(state.frameSelected());
  state.frameHeight = 0;
  EXPECT_FALSE(state.frameSelected());
}

TEST(MainWindowState, AlphaPlaneReadsZeroOutsideTheImage) {
  AlphaPlane plane;
  plane.reset(3, 2);
  plane.row(1)[2] = 200;
  EXPECT_EQ(plane.at(2, 1), 200);
  EXPECT_EQ(plane.at(0, 0), 0);
  for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {9599, 9599}})
    EXPECT_EQ(plane.at(x, y), 0) << x << "," << y;
}

}  // namespace
}  // namespace kov
