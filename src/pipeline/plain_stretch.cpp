#include "pipeline/plain_stretch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kov {

void plainStretch(const WorkImage& source, WorkImage& target, int width, int height) {
  const int sw = source.width();
  const int sh = source.height();
  if (source.empty() || width < 1 || height < 1) return;
  const int drawW = std::min(width, target.width());
  const int drawH = std::min(height, target.height());
  if (drawW < 1 || drawH < 1) return;

  // Byte offset of the source pixel for each target column.
  std::vector<std::size_t> columnOffset(std::size_t(drawW), 0);
  for (int x = 0; x < drawW; ++x)
    columnOffset[std::size_t(x)] = std::size_t(std::int64_t(x) * sw / width) * 3;
  const bool sameWidth = sw == width;

  int previousSourceRow = -1;
  for (int y = 0; y < drawH; ++y) {
    const int sy = int(std::int64_t(y) * sh / height);
    std::uint8_t* out = target.row(y);
    if (sy == previousSourceRow) {  // a repeated row: copy the row just made
      std::memcpy(out, target.row(y - 1), std::size_t(drawW) * 3);
      continue;
    }
    previousSourceRow = sy;
    const std::uint8_t* in = source.row(sy);
    if (sameWidth) {
      std::memcpy(out, in, std::size_t(drawW) * 3);
      continue;
    }
    for (int x = 0; x < drawW; ++x, out += 3) {
      const std::uint8_t* p = in + columnOffset[std::size_t(x)];
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
    }
  }
}

void copyPixels(const WorkImage& source, int left, int top, int width, int height,
                WorkImage& target) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (&source == &target) {  // copying a picture onto itself: through a copy
    const WorkImage copy = source;
    copyPixels(copy, left, top, width, height, target);
    return;
  }
  target.reset(width, height);
  // The columns of the rectangle that the source has.
  const int fromX = std::clamp(-left, 0, width);
  const int toX = std::clamp(source.width() - left, fromX, width);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = target.row(y);
    const int sy = top + y;
    if (sy < 0 || sy >= source.height() || fromX == toX) {
      std::memset(out, 0xFF, std::size_t(width) * 3);
      continue;
    }
    std::memset(out, 0xFF, std::size_t(fromX) * 3);
    std::memcpy(out + std::size_t(fromX) * 3, source.row(sy) + std::size_t(left + fromX) * 3,
                std::size_t(toX - fromX) * 3);
    std::memset(out + std::size_t(toX) * 3, 0xFF, std::size_t(width - toX) * 3);
  }
}

}  // namespace kov
