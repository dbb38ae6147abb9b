#include "app/app_settings.h"

#include <gtest/gtest.h>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "platform/cp932.h"

#include "support/temp_dir.h"

namespace kov {
namespace {

constexpr ScreenSize kScreen{1920, 1080};

std::optional<AppSettings> readFrom(const std::string& contents) {
  test::TempDir dir;
  dir.write("kov.ini", contents);
  return readAppSettings(dir.file("kov.ini"));
}

TEST(AppSettings, ValuesAreLimitedToTheirRanges) {
  struct Case {
    const char* line;
    int AppSettings::*field;
    int expected;
  } cases[] = {
      {"Bar4=0", &AppSettings::bar4, 1},         {"Bar4=250", &AppSettings::bar4, 100},
      {"Bar4=-3", &AppSettings::bar4, 1},        {"Bar4=75", &AppSettings::bar4, 75},
      {"Bar5=101", &AppSettings::bar5, 100},     {"Bar5=-1", &AppSettings::bar5, 0},
      {"Bar6=0", &AppSettings::bar6, 1},         {"Bar6=95", &AppSettings::bar6, 90},
      {"Bar7=7", &AppSettings::bar7, 3},         {"Bar7=-2", &AppSettings::bar7, 0},
      {"Bar4=abc", &AppSettings::bar4, 90},      {"Bar5=1.5", &AppSettings::bar5, 10},
      {"Bar6=", &AppSettings::bar6, 1},          {"Bar7=0x2", &AppSettings::bar7, 0},
      {"bar4 = \"60\"", &AppSettings::bar4, 60}, {"WindowPosX=x", &AppSettings::windowPosX, -999},
  };
  for (const Case& c : cases) {
    const auto s = readFrom(std::string("[config]\r\n") + c.line + "\r\n");
    ASSERT_TRUE(s);
    EXPECT_EQ((*s).*c.field, c.expected) << c.line;
  }
}

TEST(AppSettings, NoFileDiffersFromAFileWithMissingKeys) {
  test::TempDir dir;
  EXPECT_FALSE(readAppSettings(dir.file("kov.ini")));

  {  // no file: the dialogs keep their start positions, nothing is translucent
    MainWindowState window;
    SettingsValues values(window);
    applyAppSettings(std::nullopt, kScreen, window, values);
    EXPECT_EQ(values.TrackBar4().position(), 90);
    EXPECT_EQ(values.TrackBar5().position(), 10);
    EXPECT_EQ(values.TrackBar6().position(), 2);
    EXPECT_EQ(values.TrackBar7().position(), 1);
    EXPECT_EQ(window.inactiveTransparency, 0);
    EXPECT_EQ(values.windowAlpha(), 255);
    EXPECT_FALSE(values.ownAlphaBlend());
    EXPECT_EQ(window.lineSpacingFactor, 1.1f);
    EXPECT_EQ(window.outputFolderPrefix, "TA");
    EXPECT_EQ(window.windowLeft, (1920 - 946) / 2);
    EXPECT_EQ(window.windowTop, (1080 - 745) / 2);
  }
  {  // an empty file: every default, and transparency 1
    const auto s = readFrom("");
    ASSERT_TRUE(s);
    MainWindowState window;
    SettingsValues values(window);
    applyAppSettings(s, kScreen, window, values);
    EXPECT_EQ(values.TrackBar4().position(), 90);
    EXPECT_EQ(values.TrackBar6().position(), 1);
    EXPECT_EQ(values.TrackBar7().position(), 0);
    EXPECT_EQ(window.inactiveTransparency, 1);
    EXPECT_EQ(values.windowAlpha(), 252);
    EXPECT_TRUE(values.ownAlphaBlend());
    EXPECT_EQ(window.outputFolderPrefix, "TA");
  }
}

TEST(AppSettings, StoredValuesReachTheBarsAndTheCopies) {
  const auto s = readFrom(*utf8ToCp932(
      "[Config]\r\nBar4=75\r\nBar5=0\r\nBar6=90\r\nBar7=3\r\nPreSaveFolderName=出力_\r\n"));
  ASSERT_TRUE(s);
  MainWindowState window;
  SettingsValues values(window);
  applyAppSettings(s, kScreen, window, values);
  EXPECT_EQ(values.TrackBar4().position(), 75);
  EXPECT_EQ(values.TrackBar5().position(), 0);
  EXPECT_EQ(window.lineSpacingFactor, 1.0f);
  EXPECT_EQ(values.windowAlpha(), 25);
  EXPECT_EQ(window.inactiveTransparency, 90);
  EXPECT_EQ(values.TrackBar7().position(), 3);
  EXPECT_EQ(window.outputFolderPrefix, "出力_");
}

TEST(AppSettings, TransparencyTwoLeavesTheSettingsDialogOpaque) {
  MainWindowState window;
  SettingsValues values(window);
  applyAppSettings(readFrom("[Config]\r\nBar6=2\r\n"), kScreen, window, values);
  EXPECT_FALSE(values.ownAlphaBlend());
  EXPECT_EQ(values.windowAlpha(), 249);
  EXPECT_EQ(window.inactiveTransparency, 2);
}

TEST(AppSettings, WindowPlacement) {
  const WindowRect design{0, 0, 946, 745};
  struct Case {
    int x, y, w, h;
    WindowRect expected;
  } cases[] = {
      {-999, -999, 1200, 900, {487, 167, 1200, 900}},  // centred with the design size
      {-5, -1, 946, 745, {0, 0, 946, 745}},
      {1921, 1081, 946, 745, {487, 167, 946, 745}},    // beyond the screen: centred
      {1920, 1080, 946, 745, {1920, 1080, 946, 745}},  // on the edge: kept
      {100, 50, 500, 300, {100, 50, 946, 745}},        // never below the design size
  };
  for (const Case& c : cases) {
    AppSettings s;
    s.windowPosX = c.x;
    s.windowPosY = c.y;
    s.windowWidth = c.w;
    s.windowHeight = c.h;
    const WindowRect r = placeMainWindow(s, kScreen, design);
    EXPECT_EQ(r.left, c.expected.left) << c.x;
    EXPECT_EQ(r.top, c.expected.top) << c.y;
    EXPECT_EQ(r.width, c.expected.width) << c.w;
    EXPECT_EQ(r.height, c.expected.height) << c.h;
  }
  const WindowRect none = placeMainWindow(std::nullopt, {1001, 801}, design);
  EXPECT_EQ(none.left, 27);
  EXPECT_EQ(none.top, 28);
  const WindowRect small = placeMainWindow(std::nullopt, {800, 600}, design);
  EXPECT_EQ(small.left, -73);  // truncation toward zero of -73
  EXPECT_EQ(small.top, -72);
}

TEST(AppSettings, WritingANewFileGivesTheEightKeysInOrder) {
  test::TempDir dir;
  MainWindowState window;
  SettingsValues values(window);
  window.windowLeft = 10;
  window.windowTop = -20;
  window.windowWidth = 1000;
  window.windowHeight = 800;
  values.setTrackBar4(0);
  ASSERT_TRUE(writeAppSettings(dir.file("kov.ini"), values, window));
  EXPECT_EQ(dir.read("kov.ini"),
            "[Config]\r\nBar4=0\r\nBar5=10\r\nBar6=2\r\nBar7=1\r\nWindowPosX=10\r\n"
            "WindowPosY=-20\r\nWindowWidth=1000\r\nWindowHeight=800\r\n");
}

TEST(AppSettings, WritingKeepsThePrefixAndEveryOtherLine) {
  test::TempDir dir;
  const std::string before =
      "; kept\r\n[Other]\r\nx=1\r\n[CONFIG]\r\nPreSaveFolderName=写真_\r\nbar4=12\r\n\r\n[Tail]\n";
  dir.write("kov.ini", *utf8ToCp932(before));
  MainWindowState window;
  SettingsValues values(window);
  applyAppSettings(readAppSettings(dir.file("kov.ini")), kScreen, window, values);
  ASSERT_TRUE(writeAppSettings(dir.file("kov.ini"), values, window));
  const std::string after = dir.read("kov.ini");
  EXPECT_NE(after.find("; kept\r\n[Other]\r\nx=1\r\n[CONFIG]\r\n"), std::string::npos);
  EXPECT_NE(after.find("bar4=12\r\nBar5=10\r\n"), std::string::npos);
  EXPECT_NE(after.find("WindowHeight=745\r\n\r\n[Tail]\n"), std::string::npos);
  const auto again = readAppSettings(dir.file("kov.ini"));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->preSaveFolderName, "写真_");
  EXPECT_EQ(again->bar4, 12);
}

TEST(AppSettings, AnUnwritableFolderIsSilentlyLeftAlone) {
  test::TempDir dir;
  MainWindowState window;
  SettingsValues values(window);
  EXPECT_FALSE(writeAppSettings(dir.file("gone/kov.ini"), values, window));
  EXPECT_FALSE(readAppSettings(dir.file("gone/kov.ini")));
}

}  // namespace
}  // namespace kov
