#pragma once
// The 18-byte header of a hand-made TGA file for tests.

#include <cstdint>
#include <vector>

namespace kov::test {

inline std::vector<std::uint8_t> tgaHeader(int type, int width, int height, int descriptor,
                                           int depth = 32, int colourMapType = 0,
                                           int idLength = 0) {
  std::vector<std::uint8_t> h(18, 0);
  h[0] = std::uint8_t(idLength);
  h[1] = std::uint8_t(colourMapType);
  h[2] = std::uint8_t(type);
  h[12] = std::uint8_t(width);
  h[13] = std::uint8_t(width >> 8);
  h[14] = std::uint8_t(height);
  h[15] = std::uint8_t(height >> 8);
  h[16] = std::uint8_t(depth);
  h[17] = std::uint8_t(descriptor);
  return h;
}

}  // namespace kov::test
