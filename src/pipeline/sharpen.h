#pragma once
// The second pass of the high-quality reduction: writes the averaged pixels
// back into the bitmap, correcting each inner pixel's brightness against a
// 3 x 3 blur of its neighbourhood (an unsharp step on the luminance while
// sharpening is on; otherwise only pixels of luminance 0 turn black).

#include "platform/work_image.h"

namespace kov {

class Host;
struct MainWindowState;

constexpr int kSharpenOk = 0;
constexpr int kSharpenAborted = -2;

// Reads `width` x `height` packed pixels 0x00RRGGBB from state.workPlane, row
// by row (pixel (x, y) at y * width + x), and writes them into `bitmap`, made
// width x height. Sharpens when state.CheckBox2 is on. Stops with
// kSharpenAborted when state.abortRequested is set: the rows before written,
// the rest white.
int sharpenPass(MainWindowState& state, Host& host, WorkImage& bitmap, int width, int height);

// The luminance the pass works with: blue weighs most.
constexpr int sharpenLuminance(int r, int g, int b) { return (28 * r + 77 * g + 151 * b) / 255; }

}  // namespace kov
