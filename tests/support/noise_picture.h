#pragma once
// A picture of random bytes, the same for the same seed.

#include <cstdint>
#include <random>

#include "platform/work_image.h"

namespace kov::test {

inline WorkImage noise(int w, int h, std::uint32_t seed) {
  WorkImage image(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < image.stride(); ++i) image.row(y)[i] = std::uint8_t(rng());
  return image;
}

}  // namespace kov::test
