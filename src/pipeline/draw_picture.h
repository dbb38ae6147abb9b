#pragma once
// Drawing one picture onto another at an offset, clipped to the target.

#include "platform/work_image.h"

namespace kov {

// Every pixel of `source` replaces the target pixel below it.
void drawPicture(const WorkImage& source, WorkImage& target, int left, int top);
// Pixels of exactly the colour `key` are left out, so the target shows through.
void drawPictureKeyed(const WorkImage& source, WorkImage& target, int left, int top, Colour key);

}  // namespace kov
