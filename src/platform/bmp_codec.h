#pragma once
// Windows bitmaps: read every kind Windows reads (palette, RLE, 16/24/32-bit, bit fields,
// OS/2 and V4/V5 headers), write 24-bit.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/work_image.h"

namespace kov {

constexpr int kBmpOk = 0;
constexpr int kBmpCannotOpen = -1;
constexpr int kBmpBadFile = -2;   // damaged, truncated or of a kind we do not read
constexpr int kBmpTooLarge = -3;  // more than maxPixels
constexpr int kBmpOutOfMemory = -4;

// On success `out` holds the picture (its transparency settings stay); on any failure it is
// left as it was.
int readBmpFile(const std::string& path, WorkImage& out,
                std::int64_t maxPixels = kMaxPicturePixels);
int readBmpMemory(const std::uint8_t* data, std::size_t size, WorkImage& out,
                  std::int64_t maxPixels = kMaxPicturePixels);

// 24-bit bottom-up, 300 dpi. Empty for an empty picture or one too large for the format.
std::string encodeBmp(const WorkImage& image);
// Written atomically: the old file stays whole on failure.
bool writeBmpFile(const std::string& path, const WorkImage& image);

}  // namespace kov
