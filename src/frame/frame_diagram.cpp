#include "frame/frame_diagram.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/work_image.h"

namespace kov {

namespace {

// [start, start + length) clipped to [0, limit), in 64 bits so that a window
// reaching past the largest int does not wrap around.
struct Span {
  int begin, end;
};

Span clip(int start, int length, int limit) {
  const std::int64_t begin = std::clamp<std::int64_t>(start, 0, limit);
  const std::int64_t end = std::clamp<std::int64_t>(std::int64_t(start) + length, begin, limit);
  return {int(begin), int(end)};
}

}  // namespace

bool drawFrameDiagram(WorkImage& picture, const FrameDiagramSizes& s) {
  if (s.frameWidth <= 0 || s.frameHeight <= 0 || s.photoWidth <= 0 || s.photoHeight <= 0)
    return false;
  if (std::int64_t(s.frameWidth) * s.frameHeight > kMaxPicturePixels) return false;
  try {
    picture.reset(s.frameWidth, s.frameHeight);  // leaves the picture as it was when it throws
  } catch (const std::bad_alloc&) {
    return false;
  }

  const Span columns = clip(s.leftMargin, s.photoWidth, s.frameWidth);
  const Span rows = clip(s.topMargin, s.photoHeight, s.frameHeight);
  const std::size_t stride = picture.stride();
  const std::size_t blackBegin = std::size_t(columns.begin) * WorkImage::kBytesPerPixel;
  const std::size_t blackEnd = std::size_t(columns.end) * WorkImage::kBytesPerPixel;
  for (int y = 0; y < s.frameHeight; ++y) {
    std::uint8_t* row = picture.row(y);
    if (y < rows.begin || y >= rows.end || blackBegin == blackEnd) {
      std::memset(row, 0xFF, stride);
      continue;
    }
    std::memset(row, 0xFF, blackBegin);
    std::memset(row + blackBegin, 0x00, blackEnd - blackBegin);
    std::memset(row + blackEnd, 0xFF, stride - blackEnd);
  }
  return true;
}

}  // namespace kov
