#pragma once
// The pixels a piece of drawn text covers, as a set, for comparing drawings.

#include <set>
#include <utility>

#include "platform/text_rasteriser.h"

namespace kov::test {

using PixelSet = std::set<std::pair<int, int>>;  // (y, x)

inline PixelSet pixelsOf(const TextInk& ink) {
  PixelSet out;
  for (const InkRun& r : ink.runs())
    for (int x = r.x0; x < r.x1; ++x) out.emplace(r.y, x);
  return out;
}

inline PixelSet shifted(const PixelSet& in, int dx, int dy) {
  PixelSet out;
  for (auto [y, x] : in) out.emplace(y + dy, x + dx);
  return out;
}

}  // namespace kov::test
