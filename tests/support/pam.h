#pragma once
// Reads PAM pictures (the reference form of test pictures): depth 1 gray, 2 gray + alpha,
// 3 RGB, 4 RGB + alpha; MAXVAL 255 only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/work_image.h"

namespace kov::test {

struct PamPicture {
  int width = 0;
  int height = 0;
  WorkImage image;                  // gray expanded to equal red, green and blue
  std::vector<std::uint8_t> alpha;  // one byte per pixel, rows top to bottom; empty when none
};

// Throws std::runtime_error saying what is wrong.
PamPicture parsePam(std::string_view bytes);
PamPicture readPam(const std::string& path);

}  // namespace kov::test
