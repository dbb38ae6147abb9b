#include "app/dialog_values.h"

#include <gtest/gtest.h>

#include "app/main_window_state.h"

namespace kov {
namespace {

TEST(DialogValues, StartValues) {
  MainWindowState window;
  DialogValues values(window);
  const CaptionStore& store = values.captionStore;
  EXPECT_EQ(store[CaptionKind::Title].text, "[タイトル文字列]");
  EXPECT_EQ(store[CaptionKind::Date].text, "平成xx年xx月xx日");
  EXPECT_EQ(store[CaptionKind::Other].text, "");
  const int heights[] = {-107, -48, -48};
  for (int i = 0; i < 3; ++i) {
    const CaptionSettings& c = store.captions[i];
    EXPECT_EQ(c.font.name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(c.font.height, heights[i]);
    EXPECT_EQ(c.font.charset, 128);
    EXPECT_EQ(c.font.style, FontStyle{});
    EXPECT_EQ(c.font.colour, kBlack);
    EXPECT_EQ(c.angleText, "0");
  }
  EXPECT_FALSE(store.titleVertical);
  EXPECT_FALSE(store.dateOtherVertical);
  EXPECT_EQ(store.lineSpacing.position(), 10);
  EXPECT_EQ(values.trimmingReference, TrimmingReference::Top);

  const SettingsValues& s = values.settings;
  EXPECT_EQ(s.TrackBar4().position(), 90);
  EXPECT_EQ(s.TrackBar5().position(), 10);
  EXPECT_EQ(s.TrackBar6().position(), 2);
  EXPECT_EQ(s.TrackBar7().position(), 1);
  EXPECT_EQ(s.windowAlpha(), 255);
  EXPECT_FALSE(s.ownAlphaBlend());
  EXPECT_EQ(window.lineSpacingFactor, 1.1f);
  EXPECT_EQ(window.inactiveTransparency, 0);
}

TEST(DialogValues, AngleTextsReadAsIntegersOrZero) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"0", 0},   {"45", 45}, {"-30", -30}, {"450", 450},      {"", 0},
               {"abc", 0}, {"1.5", 0}, {"９０", 0},  {"99999999999", 0}};
  for (const Case& c : cases) EXPECT_EQ(angleValue(c.text), c.value) << c.text;
}

TEST(DialogValues, TrackBarsKeepToTheirRanges) {
  MainWindowState window;
  SettingsValues s(window);
  s.setTrackBar4(-5);
  EXPECT_EQ(s.TrackBar4().position(), 0);
  s.setTrackBar4(250);
  EXPECT_EQ(s.TrackBar4().position(), 100);
  s.setTrackBar6(0);
  EXPECT_EQ(s.TrackBar6().position(), 1);
  s.setTrackBar7(9);
  EXPECT_EQ(s.TrackBar7().position(), 3);
}

TEST(DialogValues, LineSpacingHandlerKeepsTheFactor) {
  MainWindowState window;
  SettingsValues s(window);
  s.setTrackBar5(0);
  EXPECT_EQ(window.lineSpacingFactor, 1.0f);
  s.setTrackBar5(100);
  EXPECT_EQ(window.lineSpacingFactor, 2.0f);
  s.setTrackBar5(10);
  EXPECT_EQ(window.lineSpacingFactor, 1.1f);
  s.setTrackBar5(35);
  EXPECT_EQ(window.lineSpacingFactor, static_cast<float>(35 * 0.01 + 1));
}

TEST(DialogValues, TransparencyHandlerGivesTheFiveWindowsTheirOpacity) {
  struct Case {
    int percent, alpha;
  } cases[] = {{1, 252}, {2, 249}, {50, 127}, {90, 25}};
  for (const Case& c : cases) {
    MainWindowState window;
    SettingsValues s(window);
    s.setTrackBar6(c.percent);
    // Position 2 is where the bar starts: no change, no handler.
    EXPECT_EQ(window.inactiveTransparency, c.percent == 2 ? 0 : c.percent);
    EXPECT_EQ(s.windowAlpha(), c.percent == 2 ? 255 : c.alpha);
    EXPECT_EQ(s.ownAlphaBlend(), c.percent != 2);
    EXPECT_EQ(windowAlphaForTransparency(c.percent), c.alpha);
  }
  EXPECT_EQ(windowAlphaForTransparency(0), 255);
  EXPECT_EQ(windowAlphaForTransparency(99), 5);
}

TEST(DialogValues, CloseButtonEndsTheDialogsOwnTranslucency) {
  MainWindowState window;
  SettingsValues s(window);
  s.setTrackBar6(90);
  EXPECT_TRUE(s.ownAlphaBlend());
  s.closeButtonClicked();
  EXPECT_FALSE(s.ownAlphaBlend());
  EXPECT_EQ(s.windowAlpha(), 25);
}

}  // namespace
}  // namespace kov
