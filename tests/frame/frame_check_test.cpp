#include "frame/frame_check.h"

#include <functional>
#include <gtest/gtest.h>

namespace kov {
namespace {

// 100 x 100 frame, 60 x 60 window, margins 20 all round, an existing image.
FrameDefinition wellFormed() {
  FrameDefinition f;
  f.imageExists = true;
  f.frameWidth = f.frameHeight = 100;
  f.photoWidth = f.photoHeight = 60;
  f.leftWidth = f.rightWidth = f.topHeight = f.bottomHeight = 20;
  return f;
}

constexpr const char* kMissing = "枠画像ファイルが存在しません。\n";
constexpr const char* kFrameZero = "枠サイズ設定が０以下になっています。";
constexpr const char* kPhotoZero = "写真サイズ設定が０以下になっています。";
constexpr const char* kFrameBelowPhoto = "枠サイズ設定が写真サイズ以下になっています。";
constexpr const char* kLeft = "左余白サイズ設定が０以下になっています。";
constexpr const char* kRight = "右余白サイズ設定が０以下になっています。";
constexpr const char* kTop = "上余白サイズ設定が０以下になっています。";
constexpr const char* kBottom = "下余白サイズ設定が０以下になっています。";
constexpr const char* kTitleNegative = "フォント上位置設定が０以下になっています。";
constexpr const char* kTitleOutside = "フォント上位置設定がフレームサイズ外になっています。";
constexpr const char* kHorizontalMargins = "横余白サイズ設定が枠サイズを超えています。";
constexpr const char* kVerticalMargins = "縦余白サイズ設定が枠サイズを超えています。";
constexpr const char* kWidthSum = "枠サイズ設定（横）と写真幅+余白設定の値が合致しません。";
constexpr const char* kHeightSum = "枠サイズ設定（縦）と写真高さ+余白設定の値が合致しません。";
constexpr const char* kTooWide = "フレーム幅が処理可能な最大値を超えています。最大：6787pix\n";
constexpr const char* kTooHigh = "フレーム高が処理可能な最大値を超えています。最大：6787pix\n";

TEST(FrameCheck, RulesInOrderWithTheirExactMessages) {
  struct Case {
    const char* name;
    std::function<void(FrameDefinition&)> change;
    std::string mainWindow;
    std::string editor;
  } cases[] = {
      {"well formed", [](FrameDefinition&) {}, "", ""},
      {"window as large as the frame, no margins",
       [](FrameDefinition& f) {
         f.photoWidth = f.photoHeight = 100;
         f.leftWidth = f.rightWidth = f.topHeight = f.bottomHeight = 0;
       },
       "", ""},
      {"sums off on both sides run on in one line",
       [](FrameDefinition& f) { f.leftWidth = f.rightWidth = f.topHeight = f.bottomHeight = 10; },
       std::string(kWidthSum) + kHeightSum, std::string(kWidthSum) + kHeightSum},
      {"missing image and a negative left margin",
       [](FrameDefinition& f) {
         f.imageExists = false;
         f.leftWidth = -1;
         f.rightWidth = 41;
       },
       std::string(kMissing) + kLeft, std::string(kMissing) + kLeft},
      {"negative frame width", [](FrameDefinition& f) { f.frameWidth = -5; },
       std::string(kFrameZero) + kFrameBelowPhoto + kHorizontalMargins + kWidthSum,
       std::string(kFrameZero) + kFrameBelowPhoto + kHorizontalMargins + kWidthSum},
      {"zero photo height",
       [](FrameDefinition& f) {
         f.photoHeight = 0;
         f.topHeight = 100;
         f.bottomHeight = 0;
       },
       kPhotoZero, kPhotoZero},
      {"every margin negative",
       [](FrameDefinition& f) {
         f.leftWidth = f.rightWidth = f.topHeight = f.bottomHeight = -1;
         f.photoWidth = f.photoHeight = 102;
       },
       std::string(kFrameBelowPhoto) + kLeft + kRight + kTop + kBottom,
       std::string(kFrameBelowPhoto) + kLeft + kRight + kTop + kBottom},
      {"title on the bottom edge", [](FrameDefinition& f) { f.captions[0].positionY = 100; }, "",
       ""},
      {"title below the frame", [](FrameDefinition& f) { f.captions[0].positionY = 101; },
       kTitleOutside, kTitleOutside},
      {"title above the frame", [](FrameDefinition& f) { f.captions[0].positionY = -1; },
       kTitleNegative, kTitleNegative},
      {"date and other anchors are not judged",
       [](FrameDefinition& f) {
         f.captions[1].positionY = -50;
         f.captions[2].positionX = 9999;
       },
       "", ""},
      {"vertical margins wider than the frame",
       [](FrameDefinition& f) { f.topHeight = f.bottomHeight = 60; },
       std::string(kVerticalMargins) + kHeightSum, std::string(kVerticalMargins) + kHeightSum},
      {"widest frame the main window takes",
       [](FrameDefinition& f) {
         f.frameWidth = 6787;
         f.photoWidth = 6747;
       },
       "", ""},
      {"one pixel too wide and too high",
       [](FrameDefinition& f) {
         f.frameWidth = f.frameHeight = 6788;
         f.photoWidth = f.photoHeight = 6748;
       },
       std::string(kTooWide) + kTooHigh, ""},
  };
  for (const Case& c : cases) {
    FrameDefinition f = wellFormed();
    c.change(f);
    EXPECT_EQ(checkFrame(f, FrameContext::MainWindowLoad), c.mainWindow) << c.name;
    EXPECT_EQ(checkFrame(f, FrameContext::EditorLoad), c.editor) << c.name;
  }
}

TEST(FrameCheck, HugeStoredValuesDoNotOverflow) {
  FrameDefinition f = wellFormed();
  f.frameWidth = INT32_MIN;
  f.leftWidth = INT32_MAX;
  f.rightWidth = INT32_MAX;
  const std::string errors = checkFrame(f, FrameContext::EditorLoad);
  EXPECT_NE(errors.find(kHorizontalMargins), std::string::npos);
  EXPECT_NE(errors.find(kWidthSum), std::string::npos);
}

}  // namespace
}  // namespace kov
