#include "captions/caption_preview.h"

#include <algorithm>
#include <cstdint>

#include "app/main_window_state.h"
#include "captions/caption_layout.h"
#include "platform/host.h"
#include "platform/integer_text.h"
#include "platform/text_rasteriser.h"

namespace kov {

namespace {

constexpr unsigned kCentredLine = kDtNoClip | kDtSingleLine | kDtVCenter | kDtCenter;

void blank(WorkImage& image) {
  image.fill(kWhite);
  image.transparent = true;
  image.transparentColour = kWhite;
}

// A reduced side: trunc(side * scale) in single precision, never below 0.
std::int64_t reducedSide(int side, float scale) {
  constexpr float kHuge = 1e15f;
  const float v = static_cast<float>(side) * scale;
  if (!(v > 0.0f)) return 0;
  return static_cast<std::int64_t>(std::min(v, kHuge));
}

// `target` shows the top-left part of the source reduced to tw x th: each of its pixels takes
// the source pixel under its centre (rows and columns are dropped).
void reduceInto(const WorkImage& source, WorkImage& target, std::int64_t tw, std::int64_t th) {
  if (target.empty() || source.empty()) return;
  for (int y = 0; y < target.height(); ++y) {
    const int sy = static_cast<int>((2 * std::int64_t(y) + 1) * source.height() / (2 * th));
    const std::uint8_t* s = source.row(std::min(sy, source.height() - 1));
    std::uint8_t* d = target.row(y);
    for (int x = 0; x < target.width(); ++x, d += 3) {
      const int sx = static_cast<int>((2 * std::int64_t(x) + 1) * source.width() / (2 * tw));
      const std::uint8_t* p = s + 3 * std::size_t(std::min(sx, source.width() - 1));
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
    }
  }
}

}  // namespace

void renderCaptionPreview(WorkImage& layer, WorkImage& captionImage, float scale, float lineSpacing,
                          int angle, std::string_view text, const FontHolder& font) {
  const int a = reduceCaptionAngle(angle);
  const Font f(captionLogicalFont(font, a));
  const CaptionBlock block = measureCaption(f, text, lineSpacing);

  int bw = block.blockWidth, bh = block.blockHeight;
  TurnedPlacement turned;
  if (a != 0) {
    turned = placeTurnedBlock(block, a, lineSpacing);
    bw = turned.box.right - turned.box.left;
    bh = turned.box.bottom - turned.box.top;
  }
  bw = std::max(bw, 0);
  bh = std::max(bh, 0);

  // A box too large to hold is left out rather than ending the program.
  const bool drawable = std::int64_t(bw) * bh <= kMaxPicturePixels;
  layer.reset(drawable ? bw : 0, drawable ? bh : 0);
  blank(layer);
  if (drawable) {
    const TextRect box{0, 0, bw, bh};
    TextInk ink;
    if (a == 0) {
      int top = 0, bottom = block.lineHeight;
      for (std::string_view line : block.lines) {
        ink.add(f.drawText({0, top, bw, bottom}, line, kCentredLine, kTaLeftTop, box));
        top = nextLineTop(top, block.lineHeight, lineSpacing);
        bottom = nextLineTop(bottom, block.lineHeight, lineSpacing);
      }
    } else {
      Point ref = turned.first;
      for (std::string_view line : block.lines) {
        ink.add(f.textOut(ref.x, ref.y, line, kTaCenterTop, box));
        ref.x += turned.step.x;
        ref.y += turned.step.y;
      }
    }
    paintInk(layer, ink, font.colour);
  }

  // An image larger than any picture side shows only its top-left part.
  const std::int64_t fw = reducedSide(bw, scale), fh = reducedSide(bh, scale);
  captionImage.reset(static_cast<int>(std::min<std::int64_t>(fw, kMaxPlaneSize)),
                     static_cast<int>(std::min<std::int64_t>(fh, kMaxPlaneSize)));
  blank(captionImage);
  if (drawable) reduceInto(layer, captionImage, fw, fh);
}

void previewCaption(MainWindowState& window, Host& host, WorkImage& captionImage, int /*positionY*/,
                    int angle, bool /*vertical*/, std::string_view text, const FontHolder& font) {
  blank(captionImage);
  if (window.frameWidth == 0 || window.frameHeight == 0) {
    host.message(kPreviewZeroFrameMessage, "", Buttons::Ok, Icon::None);
    return;
  }
  const float scale =
      static_cast<float>(window.previewWidth) / static_cast<float>(window.frameWidth);
  renderCaptionPreview(window.captionBitmap, captionImage, scale, window.lineSpacingFactor, angle,
                       text, font);
}

void previewDialogCaption(MainWindowState& window, Host& host, const DialogPreviewFrame& frame,
                          WorkImage& captionImage, int /*positionY*/, int angle, bool /*vertical*/,
                          std::string_view text, const FontHolder& font) {
  const int frameWidth = parseInteger(frame.frameWidthText).value_or(kDialogDefaultFrameWidth);
  const int frameHeight = parseInteger(frame.frameHeightText).value_or(kDialogDefaultFrameHeight);
  if (frameWidth == 0 || frameHeight == 0) {
    host.message(kDialogPreviewZeroFrameMessage, "", Buttons::Ok, Icon::None);
    return;
  }
  blank(captionImage);
  const float scale = static_cast<float>(frame.framePictureWidth) / static_cast<float>(frameWidth);
  renderCaptionPreview(window.captionBitmap, captionImage, scale,
                       lineSpacingFactorFor(frame.lineSpacingPercent), angle, text, font);
}

}  // namespace kov
