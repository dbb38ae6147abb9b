#include "pipeline/tga_read.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "app/main_window_state.h"
#include "platform/file_util.h"

namespace kov {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr int kBytesPerTgaPixel = 4;  // blue, green, red, alpha
constexpr int kTypeUncompressed = 2;
constexpr int kTypeRunLength = 10;
constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopFirst = 0x20;

// The bytes of a file or of memory, handed out in pieces. A file is read through a buffer, so
// a large frame image never has to be held twice. Hands out fewer bytes only where the data
// ends, and never anything beyond it.
class ByteSource {
 public:
  ByteSource(const std::uint8_t* data, std::size_t size) : m_pos(data), m_end(data + size) {}
  explicit ByteSource(std::FILE* file) : m_file(file) {}

  // Up to n bytes from the current position, which moves past them.
  std::size_t take(std::size_t n, const std::uint8_t*& out) {
    if (available() < n && m_file) refill(n);
    const std::size_t got = std::min(n, available());
    out = m_pos;
    m_pos += got;
    return got;
  }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  std::size_t available() const { return std::size_t(m_end - m_pos); }

  void refill(std::size_t n) {
    std::size_t have = available();
    const std::size_t capacity = std::max(n, kChunk);
    if (m_buffer.size() < capacity) {
      std::vector<std::uint8_t> bigger(capacity);
      if (have) std::memcpy(bigger.data(), m_pos, have);
      m_buffer.swap(bigger);
    } else if (have) {
      std::memmove(m_buffer.data(), m_pos, have);
    }
    while (have < n) {
      const std::size_t got = std::fread(m_buffer.data() + have, 1, capacity - have, m_file);
      if (got == 0) {
        m_file = nullptr;  // end of file or a read error: nothing more will come
        break;
      }
      have += got;
    }
    m_pos = m_buffer.data();
    m_end = m_pos + have;
  }

  std::FILE* m_file = nullptr;
  std::vector<std::uint8_t> m_buffer;
  const std::uint8_t* m_pos = nullptr;
  const std::uint8_t* m_end = nullptr;
};

// Where decoded pixels go: stored rows and stored columns mapped to the image's rows and
// columns by the descriptor's origin bits.
class PixelSink {
 public:
  PixelSink(WorkImage& image, AlphaPlane& alpha, std::uint8_t descriptor)
      : m_image(image),
        m_alpha(alpha),
        m_width(image.width()),
        m_height(image.height()),
        m_topFirst(descriptor & kTopFirst),
        m_rightToLeft(descriptor & kRightToLeft) {}

  bool done() const { return m_row >= m_height; }

  // Writes up to n pixels from `src` (advancing by `srcStep` bytes a pixel: 0 repeats one
  // pixel) in stored order, running on into the following rows. Returns how many it wrote;
  // fewer than n only once the last row is full.
  int write(const std::uint8_t* src, int n, int srcStep) {
    int written = 0;
    while (written < n && !done()) {
      const int count = std::min(n - written, m_width - m_column);
      const int y = m_topFirst ? m_row : m_height - 1 - m_row;
      std::uint8_t* colour = m_image.row(y);
      std::uint8_t* alpha = m_alpha.row(y);
      int x = m_rightToLeft ? m_width - 1 - m_column : m_column;
      const int step = m_rightToLeft ? -1 : 1;
      for (int i = 0; i < count; ++i, x += step, src += srcStep) {
        std::uint8_t* p = colour + 3 * std::size_t(x);
        p[0] = src[0];
        p[1] = src[1];
        p[2] = src[2];
        alpha[x] = src[3];
      }
      written += count;
      m_column += count;
      if (m_column == m_width) {
        m_column = 0;
        ++m_row;
      }
    }
    return written;
  }

 private:
  WorkImage& m_image;
  AlphaPlane& m_alpha;
  int m_width;
  int m_height;
  bool m_topFirst;
  bool m_rightToLeft;
  int m_row = 0;     // stored rows completed
  int m_column = 0;  // stored position within the current row
};

// A row that arrives incomplete is left out, like every row after it.
void decodeUncompressed(ByteSource& source, PixelSink& sink, int width) {
  const std::size_t rowBytes = std::size_t(width) * kBytesPerTgaPixel;
  while (!sink.done()) {
    const std::uint8_t* data = nullptr;
    if (source.take(rowBytes, data) < rowBytes) return;
    sink.write(data, width, kBytesPerTgaPixel);
  }
}

// Packets may run on from one row into the next. Where the data ends, decoding stops: every
// complete pixel that arrived is kept, the rest of the image stays as filled.
void decodeRunLength(ByteSource& source, PixelSink& sink) {
  while (!sink.done()) {
    const std::uint8_t* data = nullptr;
    if (source.take(1, data) < 1) return;
    const std::uint8_t header = data[0];
    const int count = (header & 0x7F) + 1;
    if (header & 0x80) {
      if (source.take(kBytesPerTgaPixel, data) < kBytesPerTgaPixel) return;
      sink.write(data, count, 0);
    } else {
      const std::size_t wanted = std::size_t(count) * kBytesPerTgaPixel;
      const std::size_t got = source.take(wanted, data);
      sink.write(data, int(got / kBytesPerTgaPixel), kBytesPerTgaPixel);
      if (got < wanted) return;
    }
  }
}

int readTga(ByteSource& source, WorkImage& target, AlphaPlane& alpha) {
  // A short file reads as if its missing header bytes were 0.
  std::uint8_t header[kHeaderSize] = {};
  const std::uint8_t* data = nullptr;
  const std::size_t got = source.take(kHeaderSize, data);
  if (got) std::memcpy(header, data, got);

  const int idLength = header[0];
  const int width = header[12] | (header[13] << 8);
  const int height = header[14] | (header[15] << 8);
  const int imageType = header[2];
  if (header[1] != 0) return kTgaColourMapped;
  if (imageType != kTypeUncompressed && imageType != kTypeRunLength) return kTgaNotTrueColour;
  if (header[16] != 8 * kBytesPerTgaPixel) return kTgaNot32Bit;
  if (width > kMaxPlaneSize || height > kMaxPlaneSize) return kTgaTooLarge;

  // Allocate before changing anything, so running out of memory loses nothing.
  AlphaPlane fresh;
  try {
    fresh.reset(width, height);
    target.reset(width, height);  // leaves the target as it was when it throws
  } catch (const std::bad_alloc&) {
    return kTgaOutOfMemory;
  }
  alpha = std::move(fresh);
  target.fill(kWhite);
  if (width == 0 || height == 0) return kTgaOk;

  if (idLength && source.take(std::size_t(idLength), data) < std::size_t(idLength)) return kTgaOk;
  PixelSink sink(target, alpha, header[17]);
  if (imageType == kTypeUncompressed)
    decodeUncompressed(source, sink, width);
  else
    decodeRunLength(source, sink);
  return kTgaOk;
}

bool hasTgaExtension(std::string_view path) {
  if (path.size() < 4) return false;
  std::string_view ext = path.substr(path.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 't' && (ext[2] | 0x20) == 'g' &&
         (ext[3] | 0x20) == 'a';
}

}  // namespace

int readTgaImage(const std::string& path, WorkImage& target, AlphaPlane& alpha) {
  if (!hasTgaExtension(path) || !fileExists(path)) return kTgaCannotOpen;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) return kTgaCannotOpen;
  ByteSource source(file.get());
  return readTga(source, target, alpha);
}

int readTgaMemory(const std::uint8_t* data, std::size_t size, WorkImage& target,
                  AlphaPlane& alpha) {
  ByteSource source(data, size);
  return readTga(source, target, alpha);
}

}  // namespace kov
