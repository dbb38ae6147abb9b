#pragma once
// 32-bit true-colour TGA frame images, uncompressed or run-length encoded: colour into a
// WorkImage, opacity into an AlphaPlane sized to the image.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/alpha_plane.h"
#include "platform/work_image.h"

namespace kov {

constexpr int kTgaOk = 0;  // also when the pixel data ends early: the rest stays white, alpha 0
constexpr int kTgaColourMapped = -1;   // colour map type is not 0
constexpr int kTgaNotTrueColour = -2;  // image type is neither 2 nor 10 (or the header is short)
constexpr int kTgaTooLarge = -4;       // a side above kMaxPlaneSize
constexpr int kTgaNot32Bit = -5;       // pixel depth is not 32
constexpr int kTgaCannotOpen = -6;     // no ".tga" name, no such file, or it cannot be read
constexpr int kTgaOutOfMemory = -7;

// On every failure `target` and `alpha` are left as they were.
int readTgaImage(const std::string& path, WorkImage& target, AlphaPlane& alpha);
int readTgaMemory(const std::uint8_t* data, std::size_t size, WorkImage& target, AlphaPlane& alpha);

}  // namespace kov
