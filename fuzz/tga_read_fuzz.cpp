// Feeds arbitrary bytes to the TGA reader. Besides the sanitizers' checks it stops on a
// success whose image or plane does not have the header's size.

#include <cstddef>
#include <cstdint>

#include "pipeline/tga_read.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Huge headers only spend time filling white; the decoding does not depend on the size.
  if (size >= 16) {
    const long width = data[12] | (data[13] << 8);
    const long height = data[14] | (data[15] << 8);
    if (width * height > 1L << 20) return 0;
  }
  // Kept between runs, as the program keeps its frame image.
  static kov::WorkImage image;
  static kov::AlphaPlane alpha;
  if (kov::readTgaMemory(data, size, image, alpha) != kov::kTgaOk) return 0;
  const int width = size >= 14 ? data[12] | (data[13] << 8) : 0;
  const int height = size >= 16 ? data[14] | (data[15] << 8) : 0;
  if (image.width() != width || image.height() != height || alpha.width() != width ||
      alpha.height() != height)
    __builtin_trap();
  return 0;
}
