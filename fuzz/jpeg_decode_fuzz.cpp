// Any bytes through the memory decoder: it must return a result, never crash or hang.

#include <cstddef>
#include <cstdint>

#include "platform/jpeg_codec.h"

namespace {

// Small enough to keep each input fast, large enough for real photos in the seed corpus.
constexpr std::int64_t kFuzzMaxPixels = 4'000'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kov::WorkImage image;
  kov::JpegInfo info;
  const int result = kov::decodeJpegMemory(data, size, image, &info, kFuzzMaxPixels);
  if (result == kov::kJpegOk) {
    // A decoded picture is whole: touch its last row so any short allocation shows.
    if (image.empty() || std::int64_t(image.width()) * image.height() > kFuzzMaxPixels)
      __builtin_trap();
    volatile std::uint8_t last = image.row(image.height() - 1)[image.stride() - 1];
    (void)last;
    if (info.orientation < 1 || info.orientation > 8) __builtin_trap();
  } else if (!image.empty()) {
    __builtin_trap();
  }
  return 0;
}
