#pragma once
// The orientation tag of a JPEG's EXIF block.

#include <cstddef>
#include <cstdint>

namespace kov {

// `app1Payload` is the contents of an APP1 marker after its length field ("Exif\0\0"
// and a TIFF header follow). Returns the orientation 1..8 from IFD0, or 1 when the
// block is not EXIF, has no such tag, or is damaged. Never reads outside the bytes given.
int exifOrientation(const std::uint8_t* app1Payload, std::size_t size);

}  // namespace kov
