#pragma once
// Point size <-> font height in pixels at a fixed 96 logical pixels per inch,
// so that output never depends on the screen.

namespace kov {

inline constexpr int kLogicalPixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDivRounded(int a, int b, int c);

// Negative heights are character heights: size 54 gives -72.
int fontHeightFromSize(int pointSize);
// The inverse: height -72 gives 54.
int fontSizeFromHeight(int height);

}  // namespace kov
