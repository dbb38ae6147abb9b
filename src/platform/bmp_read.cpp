#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "platform/bmp_codec.h"
#include "platform/file_util.h"

namespace kov {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// Info header compression values.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;  // Huffman 1D in OS/2 2.x headers, not read
constexpr std::uint32_t kBiAlphaBitfields = 6;

// Above this many pixels an RLE picture must bring at least one byte of data per 1024 pixels.
// A run costs 2 bytes for at most 255 pixels, so only pictures left mostly unset by
// delta or end-of-line codes come near; it keeps a few bytes from claiming 600 MB.
constexpr std::int64_t kRleFreePixels = std::int64_t(1) << 20;
constexpr std::int64_t kRlePixelsPerByte = 1024;

std::uint16_t u16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t u32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

// Blue, green, red: the order of palette entries and of our pictures alike.
using Bgr = std::array<std::uint8_t, 3>;
// Always 256 entries, black beyond the file's palette, so any index is safe and a missing
// colour reads as black.
using Palette = std::array<Bgr, 256>;

// One colour field of a 16- or 32-bit pixel, scaled to 0..255 as value * 255 / max rounded
// to nearest (a 5-bit 3 gives 25, not the 24 of bit replication), as the reference pictures do.
class Channel {
 public:
  Channel() = default;
  explicit Channel(std::uint32_t mask) : m_mask(mask) {
    if (mask == 0) return;
    while (!((mask >> m_shift) & 1)) ++m_shift;
    m_max = mask >> m_shift;
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    if (m_max == 0) return 0;
    const std::uint64_t v = (pixel & m_mask) >> m_shift;  // never above m_max
    return std::uint8_t((v * 255 + m_max / 2) / m_max);
  }

 private:
  std::uint32_t m_mask = 0;
  int m_shift = 0;
  std::uint32_t m_max = 0;
};

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  bool useMasks = false;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue
  std::size_t paletteOffset = 0;
  std::size_t paletteEntrySize = 4;
  std::size_t paletteCount = 0;
  std::size_t pixelOffset = 0;
};

std::uint64_t rowStride(const Layout& l) {
  return (std::uint64_t(l.width) * std::uint64_t(l.bitCount) + 31) / 32 * 4;
}

bool isRle(const Layout& l) { return l.compression == kBiRle8 || l.compression == kBiRle4; }

bool validDepth(int bits, std::uint32_t compression, bool coreHeader, bool os2v2) {
  switch (compression) {
    case kBiRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
             (!coreHeader && (bits == 16 || bits == 32));
    case kBiRle8:
      return bits == 8;
    case kBiRle4:
      return bits == 4;
    case kBiBitfields:
      return !os2v2 && (bits == 16 || bits == 32);
    case kBiAlphaBitfields:
      return !os2v2 && (bits == 16 || bits == 32);
    default:
      return false;  // JPEG, PNG, OS/2 RLE24, CMYK kinds
  }
}

// Checks every header field against the file before anything is allocated.
int readLayout(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels, Layout& l) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return kBmpBadFile;
  const std::uint32_t pixelOffset = u32(data + 10);
  const std::uint32_t headerSize = u32(data + 14);
  switch (headerSize) {
    case 12:   // OS/2 1.x, BITMAPCOREHEADER
    case 16:   // OS/2 2.x, short form
    case 40:   // BITMAPINFOHEADER
    case 52:   // with RGB masks
    case 56:   // with RGBA masks
    case 64:   // OS/2 2.x
    case 108:  // V4
    case 124:  // V5
      break;
    default:
      return kBmpBadFile;
  }
  if (size < kFileHeaderSize + headerSize) return kBmpBadFile;
  const std::uint8_t* h = data + kFileHeaderSize;
  const bool coreHeader = headerSize == 12;
  const bool os2v2 = headerSize == 16 || headerSize == 64;

  std::int64_t width, height;
  int planes, bits;
  std::uint32_t clrUsed = 0;
  if (coreHeader) {
    width = u16(h + 4);
    height = u16(h + 6);
    planes = u16(h + 8);
    bits = u16(h + 10);
    l.paletteEntrySize = 3;
  } else {
    width = std::int32_t(u32(h + 4));
    height = std::int32_t(u32(h + 8));
    planes = u16(h + 12);
    bits = u16(h + 14);
    if (headerSize >= 40) {
      l.compression = u32(h + 16);
      clrUsed = u32(h + 32);
    }
  }
  if (planes != 1 || width <= 0 || height == 0) return kBmpBadFile;
  l.topDown = height < 0;
  height = l.topDown ? -height : height;  // fits: the field is 32-bit
  if (!validDepth(bits, l.compression, coreHeader, os2v2)) return kBmpBadFile;
  // Top-down RLE is not a valid bitmap.
  if (l.topDown && (l.compression == kBiRle8 || l.compression == kBiRle4)) return kBmpBadFile;
  if (height > INT32_MAX || width * height > maxPixels) return kBmpTooLarge;
  l.width = int(width);
  l.height = int(height);
  l.bitCount = bits;

  std::size_t tablesAt = kFileHeaderSize + headerSize;
  if (l.compression == kBiBitfields || l.compression == kBiAlphaBitfields) {
    const std::uint8_t* m;
    if (headerSize >= 52) {
      m = h + 40;  // inside the header
    } else {
      const std::size_t maskBytes = l.compression == kBiAlphaBitfields ? 16 : 12;
      if (size < tablesAt + maskBytes) return kBmpBadFile;
      m = data + tablesAt;
      tablesAt += maskBytes;
    }
    l.masks = {u32(m), u32(m + 4), u32(m + 8)};
    l.useMasks = true;
    // Some writers declare bit fields and leave the masks zero; read the usual layout then.
    if (l.masks == std::array<std::uint32_t, 3>{})
      l.masks = bits == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                           : std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
  } else if (bits == 16) {
    l.masks = {0x7C00, 0x03E0, 0x001F};  // 5-5-5
    l.useMasks = true;
  }

  if (pixelOffset < tablesAt || pixelOffset >= size) return kBmpBadFile;
  l.pixelOffset = pixelOffset;

  if (bits <= 8) {
    const std::size_t entries = std::size_t(1) << bits;
    const std::size_t count = clrUsed == 0 ? entries : clrUsed;
    if (count > entries) return kBmpBadFile;
    // A palette runs up to the pixels at most (OS/2 1.x files give its size only that way).
    l.paletteOffset = tablesAt;
    l.paletteCount = std::min(count, (pixelOffset - tablesAt) / l.paletteEntrySize);
  }

  const std::uint64_t available = size - pixelOffset;
  if (isRle(l)) {
    const std::int64_t pixels = width * height;
    if (pixels > kRleFreePixels && std::uint64_t(pixels / kRlePixelsPerByte) > available)
      return kBmpBadFile;
  } else {
    // Every row must be there; only the last row's padding may be missing.
    const std::uint64_t lastRow = (std::uint64_t(width) * std::uint64_t(bits) + 7) / 8;
    if (lastRow > available || (available - lastRow) / rowStride(l) < std::uint64_t(height - 1))
      return kBmpBadFile;
  }
  return kBmpOk;
}

Palette readPalette(const std::uint8_t* data, const Layout& l) {
  Palette palette{};
  for (std::size_t i = 0; i < l.paletteCount; ++i)
    std::memcpy(palette[i].data(), data + l.paletteOffset + i * l.paletteEntrySize, 3);
  return palette;
}

void decodeRows(const std::uint8_t* data, const Layout& l, const Palette& palette, WorkImage& img) {
  const int w = l.width;
  const std::size_t stride = std::size_t(rowStride(l));
  const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
  for (int r = 0; r < l.height; ++r) {
    const std::uint8_t* src = data + l.pixelOffset + std::size_t(r) * stride;
    std::uint8_t* dst = img.row(l.topDown ? r : l.height - 1 - r);
    switch (l.bitCount) {
      case 1:
        for (int x = 0; x < w; ++x)
          std::memcpy(dst + 3 * x, palette[(src[x >> 3] >> (7 - (x & 7))) & 1].data(), 3);
        break;
      case 4:
        for (int x = 0; x < w; ++x)
          std::memcpy(dst + 3 * x, palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15].data(), 3);
        break;
      case 8:
        for (int x = 0; x < w; ++x) std::memcpy(dst + 3 * x, palette[src[x]].data(), 3);
        break;
      case 16:
      case 32:
        if (l.useMasks) {
          for (int x = 0; x < w; ++x) {
            const std::uint32_t px = l.bitCount == 16 ? u16(src + 2 * x) : u32(src + 4 * x);
            dst[3 * x] = blue(px);
            dst[3 * x + 1] = green(px);
            dst[3 * x + 2] = red(px);
          }
        } else {  // 32-bit BI_RGB: blue, green, red, unused
          for (int x = 0; x < w; ++x) std::memcpy(dst + 3 * x, src + 4 * x, 3);
        }
        break;
      case 24:
        std::memcpy(dst, src, std::size_t(w) * 3);
        break;
    }
  }
}

// Pixels the data never sets (skipped by delta, end-of-line or end-of-bitmap) get palette
// entry 0, the picture's background index. Runs past the right edge are cut off, not
// wrapped. Data that ends before end-of-bitmap and before the last pixel is truncated.
int decodeRle(const std::uint8_t* data, std::size_t size, const Layout& l, const Palette& palette,
              WorkImage& img) {
  const bool four = l.compression == kBiRle4;
  const int w = l.width, h = l.height;
  img.fill(makeColour(palette[0][2], palette[0][1], palette[0][0]));
  std::size_t i = l.pixelOffset;
  int x = 0, y = 0;  // y counts rows from the bottom; x stops at w
  auto put = [&](int index) {
    std::memcpy(img.row(h - 1 - y) + 3 * x, palette[index].data(), 3);
    ++x;
  };
  for (;;) {
    if (y >= h) return kBmpOk;  // whatever follows falls outside the picture
    if (size - i < 2) return y == h - 1 && x == w ? kBmpOk : kBmpBadFile;
    const int count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {  // a run of one index (RLE4: two alternating)
      for (int k = 0; k < count && x < w; ++k) put(!four ? value : k & 1 ? value & 15 : value >> 4);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return kBmpOk;
      case 2:  // delta: right, then up the picture
        if (size - i < 2) return kBmpBadFile;
        x = std::min(x + data[i], w);
        y += data[i + 1];
        i += 2;
        break;
      default: {  // absolute: `value` indices, padded to a 16-bit boundary
        const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
        if (size - i < bytes) return kBmpBadFile;
        const std::uint8_t* p = data + i;
        for (int k = 0; k < value && x < w; ++k)
          put(!four ? p[k] : k & 1 ? p[k / 2] & 15 : p[k / 2] >> 4);
        i += std::min(size - i, (bytes + 1) & ~std::size_t(1));
      }
    }
  }
}

}  // namespace

int readBmpMemory(const std::uint8_t* data, std::size_t size, WorkImage& out,
                  std::int64_t maxPixels) {
  if (data == nullptr) return kBmpBadFile;
  Layout layout;
  if (const int rc = readLayout(data, size, maxPixels, layout); rc != kBmpOk) return rc;
  const Palette palette = readPalette(data, layout);
  WorkImage img;
  try {
    img.reset(layout.width, layout.height);
  } catch (const std::bad_alloc&) {
    return kBmpOutOfMemory;
  }
  if (isRle(layout)) {
    if (const int rc = decodeRle(data, size, layout, palette, img); rc != kBmpOk) return rc;
  } else {
    decodeRows(data, layout, palette, img);
  }
  // The caller's drawing flags stay; only the pixels are the file's.
  img.transparent = out.transparent;
  img.transparentColour = out.transparentColour;
  out = std::move(img);
  return kBmpOk;
}

int readBmpFile(const std::string& path, WorkImage& out, std::int64_t maxPixels) {
  try {
    const std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) return kBmpCannotOpen;
    return readBmpMemory(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size(), out,
                         maxPixels);
  } catch (const std::bad_alloc&) {
    return kBmpOutOfMemory;
  }
}

}  // namespace kov
