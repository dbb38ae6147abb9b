// Any bytes: a result code, never a crash, a read outside the input or a huge allocation.
#include <cstddef>
#include <cstdint>

#include "platform/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::int64_t kMaxPixels = 4'000'000;
  kov::WorkImage image;
  const int rc = kov::readBmpMemory(data, size, image, kMaxPixels);
  if (rc == kov::kBmpOk &&
      (image.empty() || std::int64_t(image.width()) * image.height() > kMaxPixels))
    __builtin_trap();
  return 0;
}
