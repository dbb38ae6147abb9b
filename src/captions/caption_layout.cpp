#include "captions/caption_layout.h"

#include <algorithm>
#include <cmath>

namespace kov {

int countCaptionLines(std::string_view text) {
  int breaks = 0;
  std::size_t last = std::string_view::npos;
  for (std::size_t pos = text.find(kCaptionLineBreak); pos != std::string_view::npos;
       pos = text.find(kCaptionLineBreak, pos + kCaptionLineBreak.size())) {
    ++breaks;
    last = pos;
  }
  if (breaks == 0) return 1;
  const bool textAfterLast = last + kCaptionLineBreak.size() < text.size();
  return breaks + (textAfterLast ? 1 : 0);
}

std::vector<std::string_view> splitCaptionLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::string_view rest = text;
  for (std::size_t pos = rest.find(kCaptionLineBreak); pos != std::string_view::npos;
       pos = rest.find(kCaptionLineBreak)) {
    lines.push_back(rest.substr(0, pos));
    rest.remove_prefix(pos + kCaptionLineBreak.size());
  }
  if (!rest.empty() || lines.empty()) lines.push_back(rest);
  return lines;
}

Point rotatePointInBox(int px, int py, double angle, int boxHeight, int boxWidth) {
  const int cx = boxWidth / 2;
  const int cy = boxHeight / 2;
  const double r = angle * kCaptionPi / 180;
  const double c = std::cos(r);
  const double sg = std::sin(r);
  const int dx = px - cx;
  const int dy = py - cy;
  return Point{cx + static_cast<int>(dx * c - dy * sg), cy + static_cast<int>(dx * sg + dy * c)};
}

PixelRect rotatedBounds(const PixelRect& r, double angle) {
  const int h = r.bottom - r.top;
  const int w = r.right - r.left;
  const Point corners[4] = {rotatePointInBox(r.left, r.top, angle, h, w),
                            rotatePointInBox(r.right, r.top, angle, h, w),
                            rotatePointInBox(r.left, r.bottom, angle, h, w),
                            rotatePointInBox(r.right, r.bottom, angle, h, w)};
  PixelRect out{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const Point& p : corners) {
    out.left = std::min(out.left, p.x);
    out.top = std::min(out.top, p.y);
    out.right = std::max(out.right, p.x);
    out.bottom = std::max(out.bottom, p.y);
  }
  return out;
}

int reduceCaptionAngle(int angle) { return angle % 360; }

int captionBlockHeight(int lineCount, int lineHeight, float lineSpacing) {
  const float gaps = static_cast<float>((lineCount - 1) * lineHeight) * (lineSpacing - 1.0f);
  return static_cast<int>(gaps + static_cast<float>(lineCount * lineHeight));
}

int nextLineTop(int top, int lineHeight, float lineSpacing) {
  return static_cast<int>(static_cast<float>(top) + static_cast<float>(lineHeight) * lineSpacing);
}

LogicalFont captionLogicalFont(const FontHolder& font, int reducedAngle) {
  LogicalFont lf;
  lf.faceName = cutFaceName(font.name);
  lf.height = font.height;
  lf.width = font.height / 2;
  lf.escapement = reducedAngle * 10;
  lf.weight = font.style.bold ? 700 : 400;
  lf.italic = font.style.italic;
  lf.underline = font.style.underline;
  lf.strikeOut = font.style.strikeOut;
  lf.charset = font.charset;
  return lf;
}

CaptionBlock measureCaption(const Font& font, std::string_view text, float lineSpacing) {
  CaptionBlock block;
  block.lineCount = countCaptionLines(text);
  block.hasLineBreak = text.find(kCaptionLineBreak) != std::string_view::npos;
  block.lines = splitCaptionLines(text);
  if (block.lineCount <= 1) {
    const TextSize size = font.measure(text);
    block.blockWidth = size.width;
    block.lineHeight = size.height;
  } else {
    for (std::string_view line : block.lines) {
      const TextSize size = font.measure(line);
      block.blockWidth = std::max(block.blockWidth, size.width);
      block.lineHeight = size.height;
    }
  }
  block.blockHeight = captionBlockHeight(block.lineCount, block.lineHeight, lineSpacing);
  return block;
}

TurnedPlacement placeTurnedBlock(const CaptionBlock& block, int reducedAngle, float lineSpacing) {
  TurnedPlacement p;
  const double angle = -reducedAngle;
  p.box = rotatedBounds(PixelRect{0, 0, block.blockWidth, block.blockHeight}, angle);
  const Point top =
      rotatePointInBox(block.blockWidth / 2, 0, angle, block.blockHeight, block.blockWidth);
  p.first = Point{top.x - p.box.left, top.y - p.box.top};
  // Single precision, as everywhere in the layout: at 90 degrees the step is exactly
  // lineHeight * s.
  const float r = static_cast<float>(reducedAngle) * static_cast<float>(kCaptionPi) / 180.0f;
  const float lineHeight = static_cast<float>(block.lineHeight);
  p.step = Point{static_cast<int>(std::sin(r) * lineSpacing * lineHeight),
                 static_cast<int>(std::cos(r) * lineSpacing * lineHeight)};
  return p;
}

}  // namespace kov
