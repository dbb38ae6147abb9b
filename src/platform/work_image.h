#pragma once
// The one picture type of the program: 24-bit, blue-green-red bytes per pixel,
// row 0 at the top, rows packed without padding.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kov {

// A colour as the frame files store it: red in the low byte, then green, then blue.
using Colour = std::uint32_t;

constexpr Colour makeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16);
}
constexpr std::uint8_t redOf(Colour c) { return std::uint8_t(c); }
constexpr std::uint8_t greenOf(Colour c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t blueOf(Colour c) { return std::uint8_t(c >> 16); }

// The largest picture a reader accepts: 200 megapixels (600 MB as 24-bit).
// Anything larger is refused with a clear result instead of failing later.
constexpr std::int64_t kMaxPicturePixels = 200'000'000;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

class WorkImage {
 public:
  static constexpr int kBytesPerPixel = 3;

  WorkImage() = default;
  WorkImage(int width, int height);  // contents black
  WorkImage(const WorkImage& other);
  WorkImage& operator=(const WorkImage& other);
  WorkImage(WorkImage&& other) noexcept;
  WorkImage& operator=(WorkImage&& other) noexcept;

  int width() const { return m_width; }
  int height() const { return m_height; }
  bool empty() const { return m_width == 0 || m_height == 0; }
  std::size_t stride() const { return std::size_t(m_width) * kBytesPerPixel; }

  std::uint8_t* row(int y) { return m_pixels.get() + std::size_t(y) * stride(); }
  const std::uint8_t* row(int y) const { return m_pixels.get() + std::size_t(y) * stride(); }
  std::uint8_t* data() { return m_pixels.get(); }
  const std::uint8_t* data() const { return m_pixels.get(); }

  // Keeps the overlapping top-left part, new pixels are black. Throws std::bad_alloc.
  void resize(int width, int height);
  // New size with undefined contents, for callers that overwrite every pixel.
  // Reuses the buffer when it is large enough. Throws std::bad_alloc.
  void reset(int width, int height);

  void fill(Colour c);
  Colour pixel(int x, int y) const;
  void setPixel(int x, int y, Colour c);

  // Bitmaps drawn with one colour left out (the frame's see-through black, the
  // captions' white background).
  bool transparent = false;
  Colour transparentColour = kBlack;

  friend bool samePixels(const WorkImage& a, const WorkImage& b);

 private:
  int m_width = 0;
  int m_height = 0;
  std::size_t m_capacity = 0;
  std::unique_ptr<std::uint8_t[]> m_pixels;
};

}  // namespace kov
