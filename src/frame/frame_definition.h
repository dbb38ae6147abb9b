#pragma once
// One frame file: the frame and window sizes in frame pixels, the trimming
// reference, the line spacing and the three captions. Texts are UTF-8.

#include <array>
#include <string>

#include "app/dialog_values.h"

namespace kov {

inline constexpr int kMaxFrameSide = 6787;
inline constexpr const char* kDefaultTitleText = "[タイトル文字列]";
inline constexpr int kDefaultFontSize = 54;

// Who reads the frame: the main window applies a few more rules than the editor.
enum class FrameContext { EditorLoad, MainWindowLoad };

struct CaptionItem {
  std::string text;
  FontHolder font;  // height from the stored point size
  int angle = 0;
  bool vertical = false;
  int positionX = 0;
  int positionY = 0;
};

struct FrameDefinition {
  std::string photoFile;
  std::string imagePath;  // resolved, not stored
  bool imageExists = false;
  int frameWidth = 0;
  int frameHeight = 0;
  int photoWidth = 0;
  int photoHeight = 0;
  int leftWidth = 0;
  int rightWidth = 0;
  int topHeight = 0;
  int bottomHeight = 0;
  TrimmingReference referencePosition = TrimmingReference::Top;
  int lineSpacing = 10;
  std::array<CaptionItem, 3> captions;  // Title, Date, Other

  CaptionItem& operator[](CaptionKind k) { return captions[std::size_t(k)]; }
  const CaptionItem& operator[](CaptionKind k) const { return captions[std::size_t(k)]; }
};

}  // namespace kov
