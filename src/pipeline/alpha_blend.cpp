#include "pipeline/alpha_blend.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kov {

namespace {

// The alpha column or row for picture position i of n: the same position at the frame file's
// size, else i * frameSize / n lowered to frameSize - 1.
std::int64_t sourceIndex(int i, int n, int frameSize, bool direct) {
  if (direct) return i;
  const std::int64_t scaled = std::int64_t(i) * frameSize / n;
  return std::min(scaled, std::int64_t(frameSize) - 1);
}

}  // namespace

int blendWithAlpha(int w, int h, const WorkImage& frame, WorkImage& target, const AlphaPlane& alpha,
                   int frameWidth, int frameHeight) {
  if (w < 1 || h < 1) return kBlendBadSize;
  if (target.width() != frame.width()) return kBlendWidthDiffers;
  if (target.height() != frame.height()) return kBlendHeightDiffers;
  w = std::min(w, target.width());
  h = std::min(h, target.height());
  // Both the columns and the rows use the direct lookup when the width matches.
  const bool direct = frameWidth == w;

  // Alpha 0 leaves a pixel as it is, and outside the plane alpha reads 0. The source columns
  // never decrease with x, so the columns inside the plane are a prefix of the row.
  std::vector<int> columns;
  columns.reserve(std::size_t(w));
  for (int x = 0; x < w; ++x) {
    const std::int64_t sx = sourceIndex(x, w, frameWidth, direct);
    if (sx < 0 || sx >= alpha.width()) break;
    columns.push_back(int(sx));
  }
  const int inside = int(columns.size());

  for (int y = 0; y < h; ++y) {
    const std::int64_t sy = sourceIndex(y, h, frameHeight, direct);
    if (sy < 0 || sy >= alpha.height()) continue;
    const std::uint8_t* a = alpha.row(int(sy));
    const std::uint8_t* f = frame.row(y);
    std::uint8_t* t = target.row(y);
    for (int x = 0; x < inside; ++x, f += 3, t += 3) {
      const unsigned opacity = a[columns[std::size_t(x)]];
      const unsigned rest = 255 - opacity;
      // Division by a constant: the compiler makes it an exact multiply and shift.
      t[0] = std::uint8_t((f[0] * opacity + rest * t[0]) / 255);
      t[1] = std::uint8_t((f[1] * opacity + rest * t[1]) / 255);
      t[2] = std::uint8_t((f[2] * opacity + rest * t[2]) / 255);
    }
  }
  return kBlendOk;
}

}  // namespace kov
