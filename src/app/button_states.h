#pragma once
// Which tool-bar buttons of the main window can be pressed. The window shows
// this model; the commands change it.

namespace kov {

struct ButtonStates {
  // "高画質プレビュー" BitBtn8, "１枚実行" BitBtn3, "スキップ" BitBtn11, "一括実行" BitBtn12:
  // enabled once a photo folder gave a first photo that loads.
  bool processing = false;
  // "新規作成" BitBtn5, "写真選択" BitBtn6, "枠選択" BitBtn7, "設定" BitBtn16.
  bool commands = true;
  // "中断", "終了(&C)" and the two browse buttons are always enabled.

  bool BitBtn8() const { return processing; }
  bool BitBtn3() const { return processing; }
  bool BitBtn11() const { return processing; }
  bool BitBtn12() const { return processing; }
  bool BitBtn5() const { return commands; }
  bool BitBtn6() const { return commands; }
  bool BitBtn7() const { return commands; }
  bool BitBtn16() const { return commands; }
};

inline void enableProcessingButtons(ButtonStates& b) { b.processing = true; }
inline void disableProcessingButtons(ButtonStates& b) { b.processing = false; }
// While a processing command runs: all eight disabled.
inline void lockCommandButtons(ButtonStates& b) {
  b.processing = false;
  b.commands = false;
}
// At its end all eight are enabled again, the processing buttons included.
inline void unlockCommandButtons(ButtonStates& b) {
  b.processing = true;
  b.commands = true;
}

}  // namespace kov
