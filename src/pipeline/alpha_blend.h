#pragma once
// Lays a frame image over a picture with the frame's opacity.

#include "platform/alpha_plane.h"
#include "platform/work_image.h"

namespace kov {

constexpr int kBlendOk = 0;
constexpr int kBlendWidthDiffers = -1;   // target and frame image differ in width
constexpr int kBlendHeightDiffers = -2;  // ... or in height
constexpr int kBlendBadSize = -3;        // w or h below 1

// Blends the top-left w x h pixels (lowered to the target's size) of `frame` over `target`:
// each byte becomes (frame * a + (255 - a) * target) / 255. The opacity a comes from `alpha`
// at the frame file's size frameWidth x frameHeight, scaled proportionally when the picture
// is smaller (the preview). Refusals leave `target` unchanged.
int blendWithAlpha(int w, int h, const WorkImage& frame, WorkImage& target, const AlphaPlane& alpha,
                   int frameWidth, int frameHeight);

}  // namespace kov
