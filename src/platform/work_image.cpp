#include "platform/work_image.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/huge_pages.h"

namespace kov {

namespace {

std::size_t byteCount(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative picture size");
  return std::size_t(width) * std::size_t(height) * WorkImage::kBytesPerPixel;
}

}  // namespace

WorkImage::WorkImage(int width, int height) { resize(width, height); }

WorkImage::WorkImage(const WorkImage& other)
    : transparent(other.transparent), transparentColour(other.transparentColour) {
  reset(other.m_width, other.m_height);
  if (!other.empty()) std::memcpy(data(), other.data(), byteCount(m_width, m_height));
}

WorkImage& WorkImage::operator=(const WorkImage& other) {
  if (this == &other) return *this;
  reset(other.m_width, other.m_height);
  if (!other.empty()) std::memcpy(data(), other.data(), byteCount(m_width, m_height));
  transparent = other.transparent;
  transparentColour = other.transparentColour;
  return *this;
}

WorkImage::WorkImage(WorkImage&& other) noexcept { *this = std::move(other); }

// A moved-from picture is empty and owns nothing, so reusing it allocates afresh.
WorkImage& WorkImage::operator=(WorkImage&& other) noexcept {
  if (this == &other) return *this;
  m_pixels = std::move(other.m_pixels);
  m_width = std::exchange(other.m_width, 0);
  m_height = std::exchange(other.m_height, 0);
  m_capacity = std::exchange(other.m_capacity, 0);
  transparent = other.transparent;
  transparentColour = other.transparentColour;
  return *this;
}

void WorkImage::reset(int width, int height) {
  const std::size_t bytes = byteCount(width, height);
  if (bytes > m_capacity) {
    m_pixels = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
    m_capacity = bytes;
    preferHugePages(m_pixels.get(), bytes);
  }
  m_width = width;
  m_height = height;
}

void WorkImage::resize(int width, int height) {
  if (width == m_width && height == m_height) return;
  WorkImage next;
  next.reset(width, height);
  if (!next.empty()) std::memset(next.data(), 0, byteCount(width, height));
  const int keepW = std::min(width, m_width);
  const int keepH = std::min(height, m_height);
  if (keepW > 0)
    for (int y = 0; y < keepH; ++y)
      std::memcpy(next.row(y), row(y), std::size_t(keepW) * kBytesPerPixel);
  m_pixels = std::move(next.m_pixels);
  m_capacity = next.m_capacity;
  m_width = width;
  m_height = height;
}

void WorkImage::fill(Colour c) {
  if (empty()) return;
  const std::uint8_t b = blueOf(c), g = greenOf(c), r = redOf(c);
  if (b == g && g == r) {
    std::memset(data(), b, byteCount(m_width, m_height));
    return;
  }
  std::uint8_t* first = row(0);
  for (int x = 0; x < m_width; ++x) {
    first[3 * x] = b;
    first[3 * x + 1] = g;
    first[3 * x + 2] = r;
  }
  for (int y = 1; y < m_height; ++y) std::memcpy(row(y), first, stride());
}

Colour WorkImage::pixel(int x, int y) const {
  const std::uint8_t* p = row(y) + 3 * std::size_t(x);
  return makeColour(p[2], p[1], p[0]);
}

void WorkImage::setPixel(int x, int y, Colour c) {
  std::uint8_t* p = row(y) + 3 * std::size_t(x);
  p[0] = blueOf(c);
  p[1] = greenOf(c);
  p[2] = redOf(c);
}

bool samePixels(const WorkImage& a, const WorkImage& b) {
  if (a.m_width != b.m_width || a.m_height != b.m_height) return false;
  if (a.empty()) return true;
  return std::memcmp(a.data(), b.data(), byteCount(a.m_width, a.m_height)) == 0;
}

}  // namespace kov
