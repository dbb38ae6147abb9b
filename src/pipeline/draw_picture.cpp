#include "pipeline/draw_picture.h"

#include <algorithm>
#include <cstring>

namespace kov {

namespace {

struct Span {
  int sx, sy, dx, dy, width, height;
};

// The part of `source` at (left, top) that lands on `target`.
Span clip(const WorkImage& source, const WorkImage& target, int left, int top) {
  const long long x0 = std::max<long long>(0, left), y0 = std::max<long long>(0, top);
  const long long x1 = std::min<long long>(target.width(), 0LL + left + source.width());
  const long long y1 = std::min<long long>(target.height(), 0LL + top + source.height());
  if (x1 <= x0 || y1 <= y0) return {0, 0, 0, 0, 0, 0};
  return {int(x0 - left), int(y0 - top), int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

}  // namespace

void drawPicture(const WorkImage& source, WorkImage& target, int left, int top) {
  const Span s = clip(source, target, left, top);
  for (int y = 0; y < s.height; ++y)
    std::memcpy(target.row(s.dy + y) + 3 * s.dx, source.row(s.sy + y) + 3 * s.sx,
                std::size_t(s.width) * 3);
}

void drawPictureKeyed(const WorkImage& source, WorkImage& target, int left, int top, Colour key) {
  const Span s = clip(source, target, left, top);
  const std::uint8_t kb = blueOf(key), kg = greenOf(key), kr = redOf(key);
  for (int y = 0; y < s.height; ++y) {
    const std::uint8_t* from = source.row(s.sy + y) + 3 * s.sx;
    std::uint8_t* to = target.row(s.dy + y) + 3 * s.dx;
    for (int x = 0; x < s.width; ++x, from += 3, to += 3)
      if (from[0] != kb || from[1] != kg || from[2] != kr) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
      }
  }
}

}  // namespace kov
