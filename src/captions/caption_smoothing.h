#pragma once
// Softens the stair-stepped outline of a caption drawn hard-edged in one colour: background
// pixels touching the glyphs, and glyph pixels that stick out, become a weighted mix of the
// photo underneath and the caption colour.

#include "platform/work_image.h"

namespace kov {

// A rectangle of pixels: left and top included, right and bottom excluded.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Blur patterns A..D are 0..3.
inline constexpr int kBlurPatternCount = 4;

// Smooths the caption in `caption` (white elsewhere; a caption pixel is one exactly in
// `captionColour`, any other colour is background) against `photo`, the picture the caption
// will be copied onto. Only `caption` changes.
//
// How to call: draw the caption, then pass
//   box = its pixels' bounding box grown by two pixels on every side (it may reach beyond the
//         picture: it is clipped; {0, 0, width, height} smooths the whole picture),
//   blurPattern = SettingsValues::TrackBar7().position(), read at this call (outside 0..3 is
//         clamped).
// The result is then exactly that of smoothing the whole picture. In general: only the pixels
// inside the box's outermost ring are classified and blended, the ring itself is only looked
// at, and nothing outside the box is read or written. Column 0, row 0 and the last two columns
// and rows of the picture never change. Does nothing when the two pictures differ in size or
// the box holds no pixel of the picture.
void smoothCaptionEdges(WorkImage& caption, const WorkImage& photo, Colour captionColour,
                        int blurPattern, PixelRect box);

}  // namespace kov
