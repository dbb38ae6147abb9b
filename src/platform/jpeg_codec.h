#pragma once
// JPEG reading and writing on libjpeg-turbo. Every picture comes out as 24-bit BGR,
// whatever the file's colour space (grayscale, YCbCr, RGB, CMYK, YCCK).

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/work_image.h"

namespace kov {

constexpr int kJpegOk = 0;
constexpr int kJpegCannotOpen = -1;    // the file cannot be opened or read
constexpr int kJpegDamaged = -2;       // not a JPEG, or too damaged to decode
constexpr int kJpegTooLarge = -3;      // more pixels than allowed, or too large for JPEG
constexpr int kJpegOutOfMemory = -4;   // the picture cannot be held
constexpr int kJpegWriteFailed = -5;   // the file cannot be written (the old one stays)
constexpr int kJpegEmptyPicture = -6;  // nothing to encode

struct JpegInfo {
  int orientation = 1;  // EXIF orientation 1..8, 1 when absent or invalid; not applied
  bool warned = false;  // the data was damaged but libjpeg could still decode it
};

// On failure `out` is left empty. `info`, when given, is filled on success.
int decodeJpegFile(const std::string& path, WorkImage& out, JpegInfo* info = nullptr,
                   std::int64_t maxPixels = kMaxPicturePixels);
int decodeJpegMemory(const std::uint8_t* data, std::size_t size, WorkImage& out,
                     JpegInfo* info = nullptr, std::int64_t maxPixels = kMaxPicturePixels);

// Baseline colour JPEG at 300 dots per inch. Quality is clamped to 1..100 (0 means 1).
// On failure `bytes` is left empty.
int encodeJpeg(const WorkImage& image, int quality, std::string& bytes);
// Replaces `path` atomically: on failure an existing file is untouched.
int writeJpegFile(const std::string& path, const WorkImage& image, int quality);

}  // namespace kov
