#pragma once
// How a caption is laid out: its lines (split at the two characters backslash and n), the
// block they make, and where each line goes when the block is turned. The output drawing and
// the previews share these rules.

#include <string_view>
#include <vector>

#include "app/dialog_values.h"
#include "captions/caption_smoothing.h"
#include "platform/text_rasteriser.h"

namespace kov {

// The line break a caption's text carries: a backslash and a lowercase n.
inline constexpr std::string_view kCaptionLineBreak = "\\n";
// The layout's pi; placements depend on it.
inline constexpr double kCaptionPi = 3.141592;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// 1 without a line break; else the number of breaks, plus 1 when text follows the last one.
int countCaptionLines(std::string_view text);
// The pieces between line breaks, and the text after the last one when it is not empty; the
// whole text when there is no break.
std::vector<std::string_view> splitCaptionLines(std::string_view text);

// (px, py) turned by `angle` degrees (clockwise on screen for positive angles) about the
// box's centre (boxWidth / 2, boxHeight / 2).
Point rotatePointInBox(int px, int py, double angle, int boxHeight, int boxWidth);
// The rectangle holding the four corners of `r` turned by rotatePointInBox() with the box
// height bottom - top and width right - left: {minX, minY, maxX, maxY}.
PixelRect rotatedBounds(const PixelRect& r, double angle);

// A caption angle modulo 360 with its sign kept: -359..359.
int reduceCaptionAngle(int angle);
// trunc((n - 1) * lineHeight * (s - 1) + n * lineHeight) in single precision.
int captionBlockHeight(int lineCount, int lineHeight, float lineSpacing);
// The next line's top: trunc(top + lineHeight * s), truncated at every line.
int nextLineTop(int top, int lineHeight, float lineSpacing);

// The logical font of a caption turned by `reducedAngle` degrees.
LogicalFont captionLogicalFont(const FontHolder& font, int reducedAngle);

struct CaptionBlock {
  int lineCount = 0;                    // countCaptionLines()
  bool hasLineBreak = false;            // the text holds a line break
  std::vector<std::string_view> lines;  // the lines drawn (views into the text)
  int blockWidth = 0;                   // the widest line measured
  int lineHeight = 0;                   // the height of the last measurement
  int blockHeight = 0;
};

// Splits and measures: one measurement of the whole text for a single line (breaks
// included), else one per line.
CaptionBlock measureCaption(const Font& font, std::string_view text, float lineSpacing);

// Where a turned block goes inside the box that holds it.
struct TurnedPlacement {
  PixelRect box;  // rotatedBounds() of the block turned by -angle
  Point first;    // the first line's reference point (the midpoint of its top edge),
                  // relative to the box's top-left corner
  Point step;     // from one line's reference point to the next
};
TurnedPlacement placeTurnedBlock(const CaptionBlock& block, int reducedAngle, float lineSpacing);

}  // namespace kov
