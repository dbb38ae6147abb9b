#include "platform/exif_orientation.h"

#include <cstring>

namespace kov {

namespace {

constexpr std::size_t kExifHeaderSize = 6;  // "Exif\0\0"
constexpr std::uint32_t kOrientationTag = 0x0112;
constexpr std::uint32_t kTypeShort = 3;
constexpr std::uint32_t kTypeLong = 4;

// Reads the TIFF structure after the EXIF header. Offsets come from the file, so they are
// 64-bit here and checked against the size before every read.
class TiffReader {
 public:
  TiffReader(const std::uint8_t* data, std::size_t size, bool bigEndian)
      : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

  bool u16(std::uint64_t offset, std::uint32_t& value) const {
    if (offset > m_size || m_size - offset < 2) return false;
    const std::uint8_t* p = m_data + offset;
    value = m_bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
    return true;
  }

  bool u32(std::uint64_t offset, std::uint32_t& value) const {
    std::uint32_t first = 0, second = 0;
    if (!u16(offset, first) || !u16(offset + 2, second)) return false;
    value = m_bigEndian ? (first << 16) | second : (second << 16) | first;
    return true;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  bool m_bigEndian;
};

int validOrNormal(std::uint32_t value) { return value >= 1 && value <= 8 ? int(value) : 1; }

}  // namespace

int exifOrientation(const std::uint8_t* app1Payload, std::size_t size) {
  // The sixth header byte should be zero; some writers put 0xFF there, which harms nothing.
  if (!app1Payload || size < kExifHeaderSize || std::memcmp(app1Payload, "Exif\0", 5) != 0)
    return 1;
  const std::uint8_t* tiff = app1Payload + kExifHeaderSize;
  const std::size_t tiffSize = size - kExifHeaderSize;
  if (tiffSize < 8) return 1;
  bool bigEndian;
  if (tiff[0] == 'M' && tiff[1] == 'M')
    bigEndian = true;
  else if (tiff[0] == 'I' && tiff[1] == 'I')
    bigEndian = false;
  else
    return 1;
  const TiffReader reader(tiff, tiffSize, bigEndian);
  std::uint32_t magic = 0, ifd = 0, entries = 0;
  if (!reader.u16(2, magic) || magic != 42 || !reader.u32(4, ifd) || !reader.u16(ifd, entries))
    return 1;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint64_t entry = std::uint64_t(ifd) + 2 + 12 * std::uint64_t(i);
    std::uint32_t tag = 0, type = 0, count = 0, value = 0;
    if (!reader.u16(entry, tag)) return 1;  // the directory runs past the block
    if (tag != kOrientationTag) continue;
    if (!reader.u16(entry + 2, type) || !reader.u32(entry + 4, count) || count == 0) return 1;
    // The value sits in the first bytes of the 4-byte value field, in the file's byte order.
    if (type == kTypeShort && reader.u16(entry + 8, value)) return validOrNormal(value);
    if (type == kTypeLong && reader.u32(entry + 8, value)) return validOrNormal(value);
    return 1;
  }
  return 1;
}

}  // namespace kov
