#include "pipeline/quarter_turn.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/main_window_state.h"

namespace kov {

namespace {

// Target rows made together: each source row then gives 16 adjacent pixels per
// visit instead of one, while the 16 rows written at once stay in the cache
// (measured on 3264 x 2448 to 6000 x 4000 photos: 16 beats 8 and 64 by 1.5 to 3 times).
constexpr int kBlockRows = 16;

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}

// A pixel moved as four bytes, one load and one store: the fourth byte read
// belongs to the next pixel and the fourth byte written is overwritten later
// with its own pixel. Only where both stay inside the picture.
inline void copyPixelWide(std::uint8_t* to, const std::uint8_t* from) {
  std::uint32_t v;
  std::memcpy(&v, from, 4);
  std::memcpy(to, &v, 4);
}

// target (x, y) = source (column of y, row of x): target is sh x sw.
// flipColumns reads columns from the right, flipRows rows from the bottom.
void transposedCopy(const WorkImage& source, WorkImage& target, bool flipColumns, bool flipRows) {
  const int sw = source.width();
  const int sh = source.height();
  const int tw = target.width();   // sh
  const int th = target.height();  // sw
  std::uint8_t* rows[kBlockRows];
  for (int top = 0; top < th; top += kBlockRows) {
    const int count = std::min(kBlockRows, th - top);
    for (int i = 0; i < count; ++i) rows[i] = target.row(top + i);
    // Source columns of this block's rows, left to right in the source.
    const int firstColumn = flipColumns ? sw - top - count : top;
    // Reading four bytes from the source's last column would run past the picture.
    const bool wideReads = firstColumn + count < sw;
    for (int x = 0; x < tw; ++x) {
      const std::uint8_t* in = source.row(flipRows ? sh - 1 - x : x) + 3 * std::size_t(firstColumn);
      const std::size_t at = 3 * std::size_t(x);
      if (wideReads && x + 1 < tw) {  // the last target column is written exactly
        if (flipColumns) {
          for (int i = 0; i < count; ++i) copyPixelWide(rows[i] + at, in + 3 * (count - 1 - i));
        } else {
          for (int i = 0; i < count; ++i) copyPixelWide(rows[i] + at, in + 3 * i);
        }
      } else if (flipColumns) {
        for (int i = 0; i < count; ++i) copyPixel(rows[i] + at, in + 3 * (count - 1 - i));
      } else {
        for (int i = 0; i < count; ++i) copyPixel(rows[i] + at, in + 3 * i);
      }
    }
  }
}

// target (x, y) = source (x or sw-1-x, y or sh-1-y): same size.
void straightCopy(const WorkImage& source, WorkImage& target, bool mirrorX, bool mirrorY) {
  const int w = source.width();
  const int h = source.height();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* in = source.row(mirrorY ? h - 1 - y : y);
    std::uint8_t* out = target.row(y);
    if (!mirrorX) {
      std::memcpy(out, in, std::size_t(w) * 3);
      continue;
    }
    // Target pixel x comes from source pixel w-1-x. Four bytes read from the
    // source's last pixel would run past the row, so that one is copied
    // exactly, and so is the row's last target pixel.
    if (w > 0) copyPixel(out, in + 3 * std::size_t(w - 1));
    for (int x = 1; x + 1 < w; ++x)
      copyPixelWide(out + 3 * std::size_t(x), in + 3 * std::size_t(w - 1 - x));
    if (w > 1) copyPixel(out + 3 * std::size_t(w - 1), in);
  }
}

}  // namespace

int turnQuarter(const WorkImage& source, WorkImage& target) {
  if (&source == &target) {  // turning a picture onto itself: from a copy
    const WorkImage copy = source;
    return turnQuarter(copy, target);
  }
  const int sw = source.width();
  const int sh = source.height();
  const int tw = target.width();
  const int th = target.height();
  if (tw > kMaxPlaneSize || th > kMaxPlaneSize) return kTurnTooLarge;
  const bool sourceFits = sw <= kMaxPlaneSize && sh <= kMaxPlaneSize;
  if (sourceFits && tw == sh && th == sw) {
    transposedCopy(source, target, /*flipColumns=*/true, /*flipRows=*/false);
    return kTurnOk;
  }
  // A target of another size: each pixel on its own, black where there is no
  // source pixel (or no source at all, when it is too large to be held).
  for (int y = 0; y < th; ++y)
    for (int x = 0; x < tw; ++x) {
      const int column = th - 1 - y;
      const int row = x;
      const bool inside = sourceFits && column < sw && row < sh;
      target.setPixel(x, y, inside ? source.pixel(column, row) : kBlack);
    }
  return kTurnOk;
}

void applyExifOrientation(const WorkImage& stored, WorkImage& upright, int orientation) {
  if (&stored == &upright) {
    const WorkImage copy = stored;
    applyExifOrientation(copy, upright, orientation);
    return;
  }
  const int w = stored.width();
  const int h = stored.height();
  if (orientationSwapsSides(orientation)) {
    upright.reset(h, w);
    if (upright.empty()) return;
    // 5 transposed, 6 turned clockwise, 7 transverse, 8 turned anticlockwise.
    const bool flipColumns = orientation == 7 || orientation == 8;
    const bool flipRows = orientation == 6 || orientation == 7;
    transposedCopy(stored, upright, flipColumns, flipRows);
    return;
  }
  upright.reset(w, h);
  if (upright.empty()) return;
  // 2 mirrored, 3 half turn, 4 mirrored upside down; anything else as it is.
  const bool mirrorX = orientation == 2 || orientation == 3;
  const bool mirrorY = orientation == 3 || orientation == 4;
  straightCopy(stored, upright, mirrorX, mirrorY);
}

}  // namespace kov
