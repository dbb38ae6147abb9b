#pragma once
// Quarter turns and the eight EXIF orientations, copied row by row.

#include "platform/work_image.h"

namespace kov {

constexpr int kTurnOk = 0;
constexpr int kTurnTooLarge = -1;  // target wider or taller than kMaxPlaneSize: nothing written

// A quarter turn counter-clockwise: the source's top edge becomes the target's
// left edge. The caller sizes `target` to the turned size (sh x sw); pixels of
// a differently sized target that have no source pixel become black, and so
// does every pixel when the source is wider or taller than kMaxPlaneSize.
int turnQuarter(const WorkImage& source, WorkImage& target);

// Turns and mirrors a picture as stored in a JPEG into the way it is meant to
// be seen, for EXIF orientation 1 to 8 (anything else counts as 1). `upright`
// is resized.
void applyExifOrientation(const WorkImage& stored, WorkImage& upright, int orientation);

// Whether an orientation swaps width and height (5 to 8).
constexpr bool orientationSwapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

}  // namespace kov
