#pragma once
// The stretching copy without blending (every target pixel takes one source
// pixel, rows and columns are dropped or repeated) and the plain copy.

#include "platform/work_image.h"

namespace kov {

// Stretches `source` over a width x height rectangle at the top-left corner of
// `target`: pixel (x, y) takes source pixel (x * sw / width, y * sh / height).
// The part of the rectangle outside `target` is dropped; the rest of `target`
// is untouched. An empty source or rectangle draws nothing.
void plainStretch(const WorkImage& source, WorkImage& target, int width, int height);

// Stretches `source` over the whole of `target`.
inline void plainStretch(const WorkImage& source, WorkImage& target) {
  plainStretch(source, target, target.width(), target.height());
}

// Makes `target` width x height and copies into it, pixel for pixel, the
// rectangle of `source` at (left, top); what lies outside `source` comes out
// white. Only pixels are copied: `target` keeps its transparency settings.
void copyPixels(const WorkImage& source, int left, int top, int width, int height,
                WorkImage& target);
inline void copyPixels(const WorkImage& source, WorkImage& target) {
  copyPixels(source, 0, 0, source.width(), source.height(), target);
}

}  // namespace kov
