#include "captions/caption_draw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/main_window_state.h"
#include "captions/caption_smoothing.h"

namespace kov {

namespace {

// The smoothing looks two pixels beyond the glyphs.
constexpr int kSmoothingMargin = 2;

constexpr unsigned kSingleLine = kDtNoClip | kDtSingleLine;
constexpr unsigned kCentredLine = kDtNoClip | kDtSingleLine | kDtVCenter | kDtCenter;

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

// The layer's see-through colour is white; a white caption would vanish into it,
// so a white caption is drawn on black instead.
Colour layerKeyFor(Colour captionColour) { return captionColour == kWhite ? kBlack : kWhite; }

void fillKey(WorkImage& image, const PixelRect& area, Colour key) {
  if (area.right <= area.left) return;
  const std::size_t bytes = std::size_t(area.right - area.left) * WorkImage::kBytesPerPixel;
  for (int y = area.top; y < area.bottom; ++y)
    std::memset(image.row(y) + std::size_t(area.left) * WorkImage::kBytesPerPixel,
                key == kWhite ? 0xFF : 0x00, bytes);
}

}  // namespace

TextInk captionInk(const Font& font, const CaptionBlock& block, int reducedAngle, int x, int y,
                   float lineSpacing, const TextRect& clip) {
  TextInk ink;
  const int bw = block.blockWidth;
  const int lh = block.lineHeight;
  if (reducedAngle == 0) {
    if (!block.hasLineBreak) {
      ink.add(font.drawText({x, y, x + bw, y + lh}, block.lines.front(), kSingleLine, kTaLeftTop,
                            clip));
      return ink;
    }
    int top = y;
    for (std::string_view line : block.lines) {
      ink.add(font.drawText({x, top, x + bw, top + lh}, line, kCentredLine, kTaLeftTop, clip));
      top = nextLineTop(top, lh, lineSpacing);
    }
    return ink;
  }
  const TurnedPlacement p = placeTurnedBlock(block, reducedAngle, lineSpacing);
  Point ref{x + p.first.x, y + p.first.y};
  if (!block.hasLineBreak) {
    // With the centre-top alignment this lands where TextOut at the reference point would.
    ink.add(font.drawText({ref.x, ref.y, ref.x + bw, ref.y + lh}, block.lines.front(), kCentredLine,
                          kTaCenterTop, clip));
    return ink;
  }
  for (std::string_view line : block.lines) {
    ink.add(font.textOut(ref.x, ref.y, line, kTaCenterTop, clip));
    ref.x += p.step.x;
    ref.y += p.step.y;
  }
  return ink;
}

void transferCaption(const WorkImage& caption, WorkImage& target, const PixelRect& area,
                     Colour key) {
  if (caption.width() != target.width() || caption.height() != target.height()) return;
  if (key != kWhite && key != kBlack) return;
  const PixelRect a = intersect(area, PixelRect{0, 0, target.width(), target.height()});
  // White key: skip pixels whose bytes are all 0xFF; black key: all 0x00.
  const std::uint8_t keyByte = key == kWhite ? 0xFF : 0x00;
  const std::uint64_t keyWord = key == kWhite ? ~std::uint64_t(0) : 0;
  const auto copyPixel = [keyByte](const std::uint8_t* s, std::uint8_t* d) {
    if (s[0] == keyByte && s[1] == keyByte && s[2] == keyByte) return;
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
  };
  for (int y = a.top; y < a.bottom; ++y) {
    const std::uint8_t* s = caption.row(y) + std::size_t(a.left) * 3;
    std::uint8_t* d = target.row(y) + std::size_t(a.left) * 3;
    int x = a.left;
    // Most of the area is the key: eight pixels at a time are skipped when all are.
    for (; x + 8 <= a.right; x += 8, s += 24, d += 24) {
      std::uint64_t words[3];
      std::memcpy(words, s, sizeof words);
      if (words[0] == keyWord && words[1] == keyWord && words[2] == keyWord) continue;
      for (int k = 0; k < 8; ++k) copyPixel(s + 3 * k, d + 3 * k);
    }
    for (; x < a.right; ++x, s += 3, d += 3) copyPixel(s, d);
  }
}

void drawCaptionOn(WorkImage& target, WorkImage& layer, int x, int y, int angle,
                   std::string_view text, const FontHolder& font, float lineSpacing,
                   int blurPattern) {
  const int a = reduceCaptionAngle(angle);
  const Font f(captionLogicalFont(font, a));
  const CaptionBlock block = measureCaption(f, text, lineSpacing);
  const TextRect picture{0, 0, target.width(), target.height()};
  const TextInk ink = captionInk(f, block, a, x, y, lineSpacing, picture);
  const Colour key = layerKeyFor(font.colour);
  layer.reset(target.width(), target.height());
  layer.transparent = true;
  layer.transparentColour = key;
  // Nothing drawn leaves the picture as it was, which is what clearing, smoothing and copying
  // an empty layer would give.
  if (ink.empty()) return;
  const TextRect inked = ink.bounds();
  const PixelRect box{inked.left - kSmoothingMargin, inked.top - kSmoothingMargin,
                      inked.right + kSmoothingMargin, inked.bottom + kSmoothingMargin};
  const PixelRect area = intersect(box, PixelRect{0, 0, target.width(), target.height()});
  fillKey(layer, area, key);
  paintInk(layer, ink, font.colour);
  smoothCaptionEdges(layer, target, font.colour, blurPattern, box);
  // The smoothing changes nothing farther than one pixel from the glyphs.
  transferCaption(layer, target,
                  PixelRect{inked.left - 1, inked.top - 1, inked.right + 1, inked.bottom + 1}, key);
}

void drawCaption(MainWindowState& window, const SettingsValues& settings, int width, int angle,
                 bool /*vertical*/, std::string_view text, const FontHolder& font,
                 WorkImage& target, int y, int x, int height) {
  // Callers pass the target's size; the target's own size is what bounds the drawing.
  (void)width;
  (void)height;
  drawCaptionOn(target, window.captionBitmap, x, y, angle, text, font, window.lineSpacingFactor,
                settings.TrackBar7().position());
}

}  // namespace kov
