#include "frame/frame_check.h"

#include <cstdio>

namespace kov {

std::string checkFrame(const FrameDefinition& f, FrameContext context) {
  std::string errors;
  auto rule = [&errors](bool fails, const char* message) {
    if (fails) errors += message;
  };
  // Sums in 64 bits: stored values may be anything a file holds.
  const long long frameW = f.frameWidth, frameH = f.frameHeight;
  rule(!f.imageExists, "枠画像ファイルが存在しません。\n");
  rule(f.frameWidth <= 0 || f.frameHeight <= 0, "枠サイズ設定が０以下になっています。");
  rule(f.photoWidth <= 0 || f.photoHeight <= 0, "写真サイズ設定が０以下になっています。");
  rule(f.frameWidth < f.photoWidth || f.frameHeight < f.photoHeight,
       "枠サイズ設定が写真サイズ以下になっています。");
  rule(f.leftWidth < 0, "左余白サイズ設定が０以下になっています。");
  rule(f.rightWidth < 0, "右余白サイズ設定が０以下になっています。");
  rule(f.topHeight < 0, "上余白サイズ設定が０以下になっています。");
  rule(f.bottomHeight < 0, "下余白サイズ設定が０以下になっています。");
  const int titleY = f[CaptionKind::Title].positionY;
  rule(titleY < 0, "フォント上位置設定が０以下になっています。");
  rule(titleY > f.frameHeight, "フォント上位置設定がフレームサイズ外になっています。");
  rule(frameW - f.leftWidth - f.rightWidth < 0, "横余白サイズ設定が枠サイズを超えています。");
  rule(frameH - f.topHeight - f.bottomHeight < 0, "縦余白サイズ設定が枠サイズを超えています。");
  rule(0LL + f.photoWidth + f.leftWidth + f.rightWidth != frameW,
       "枠サイズ設定（横）と写真幅+余白設定の値が合致しません。");
  rule(0LL + f.photoHeight + f.topHeight + f.bottomHeight != frameH,
       "枠サイズ設定（縦）と写真高さ+余白設定の値が合致しません。");
  if (context == FrameContext::MainWindowLoad) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "フレーム幅が処理可能な最大値を超えています。最大：%dpix\n", kMaxFrameSide);
    rule(f.frameWidth > kMaxFrameSide, message);
    std::snprintf(message, sizeof message,
                  "フレーム高が処理可能な最大値を超えています。最大：%dpix\n", kMaxFrameSide);
    rule(f.frameHeight > kMaxFrameSide, message);
  }
  return errors;
}

}  // namespace kov
