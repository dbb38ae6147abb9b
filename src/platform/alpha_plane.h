#pragma once
// The frame image's opacity per pixel, 0 (photo shows through) to 255 (frame
// covers), sized to the image it came from. Outside the image it reads 0.

#include <cstdint>
#include <vector>

namespace kov {

class AlphaPlane {
 public:
  int width() const { return m_width; }
  int height() const { return m_height; }

  // New size, every entry 0. Throws std::bad_alloc.
  void reset(int width, int height) {
    m_values.assign(std::size_t(width) * std::size_t(height), 0);
    m_width = width;
    m_height = height;
  }

  std::uint8_t at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_values[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
  }
  std::uint8_t* row(int y) { return m_values.data() + std::size_t(y) * std::size_t(m_width); }
  const std::uint8_t* row(int y) const {
    return m_values.data() + std::size_t(y) * std::size_t(m_width);
  }

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<std::uint8_t> m_values;
};

}  // namespace kov
