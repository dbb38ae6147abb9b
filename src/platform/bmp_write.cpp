#include <cstring>
#include <new>

#include "platform/bmp_codec.h"
#include "platform/file_util.h"

namespace kov {

namespace {

constexpr std::size_t kHeadersSize = 14 + 40;
constexpr std::uint32_t kPixelsPerMetre = 11811;  // 300 dpi

void put16(char* p, std::uint32_t v) {
  p[0] = char(v & 0xFF);
  p[1] = char((v >> 8) & 0xFF);
}
void put32(char* p, std::uint32_t v) {
  put16(p, v & 0xFFFF);
  put16(p + 2, v >> 16);
}

}  // namespace

std::string encodeBmp(const WorkImage& image) {
  if (image.empty()) return {};
  const std::uint64_t stride = (std::uint64_t(image.width()) * 3 + 3) & ~std::uint64_t(3);
  const std::uint64_t pixelBytes = stride * std::uint64_t(image.height());
  if (kHeadersSize + pixelBytes > UINT32_MAX) return {};  // the size fields are 32-bit
  std::string out;
  try {
    out.assign(kHeadersSize + pixelBytes, '\0');  // also zeroes the row padding
  } catch (const std::bad_alloc&) {
    return {};
  }
  char* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  put32(p + 2, std::uint32_t(out.size()));
  put32(p + 10, kHeadersSize);
  put32(p + 14, 40);
  put32(p + 18, std::uint32_t(image.width()));
  put32(p + 22, std::uint32_t(image.height()));  // positive: bottom-up
  put16(p + 26, 1);                              // planes
  put16(p + 28, 24);                             // bits per pixel
  put32(p + 34, std::uint32_t(pixelBytes));      // compression (+30) stays BI_RGB
  put32(p + 38, kPixelsPerMetre);
  put32(p + 42, kPixelsPerMetre);
  const int h = image.height();
  for (int y = 0; y < h; ++y)
    std::memcpy(p + kHeadersSize + std::size_t(h - 1 - y) * stride, image.row(y), image.stride());
  return out;
}

bool writeBmpFile(const std::string& path, const WorkImage& image) {
  const std::string bytes = encodeBmp(image);
  return !bytes.empty() && writeFileAtomic(path, bytes);
}

}  // namespace kov
