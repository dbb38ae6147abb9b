#include "app/font_size.h"

#include <cstdint>

namespace kov {

int mulDivRounded(int a, int b, int c) {
  const std::int64_t product = std::int64_t(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = c < 0 ? -std::int64_t(c) : c;
  const std::int64_t q = (magnitude + divisor / 2) / divisor;
  return static_cast<int>(negative ? -q : q);
}

int fontHeightFromSize(int pointSize) {
  return -mulDivRounded(pointSize, kLogicalPixelsPerInch, 72);
}

int fontSizeFromHeight(int height) { return -mulDivRounded(height, 72, kLogicalPixelsPerInch); }

}  // namespace kov
