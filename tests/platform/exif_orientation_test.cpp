#include "platform/exif_orientation.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kov {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t count;
  std::uint32_t value;  // a SHORT value sits in the first two bytes of the field
};

constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kAscii = 2;

class BlockBuilder {
 public:
  explicit BlockBuilder(bool bigEndian) : m_bigEndian(bigEndian) {}

  void u16(std::uint32_t v) { put(v, 2); }
  void u32(std::uint32_t v) { put(v, 4); }
  void raw(std::initializer_list<std::uint8_t> bytes) { m_bytes.insert(m_bytes.end(), bytes); }
  Bytes bytes() const { return m_bytes; }

 private:
  void put(std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
      const int shift = m_bigEndian ? 8 * (size - 1 - i) : 8 * i;
      m_bytes.push_back(std::uint8_t(v >> shift));
    }
  }

  bool m_bigEndian;
  Bytes m_bytes;
};

// "Exif\0\0", a TIFF header pointing at IFD0 right after it, and IFD0 with the given entries.
Bytes exifBlock(bool bigEndian, const std::vector<Entry>& entries, std::uint32_t ifdOffset = 8) {
  BlockBuilder b(bigEndian);
  b.raw({'E', 'x', 'i', 'f', 0, 0});
  b.raw(bigEndian ? std::initializer_list<std::uint8_t>{'M', 'M'}
                  : std::initializer_list<std::uint8_t>{'I', 'I'});
  b.u16(42);
  b.u32(ifdOffset);
  b.u16(std::uint32_t(entries.size()));
  for (const Entry& e : entries) {
    b.u16(e.tag);
    b.u16(e.type);
    b.u32(e.count);
    if (e.type == kShort) {
      b.u16(e.value);
      b.u16(0);
    } else {
      b.u32(e.value);
    }
  }
  b.u32(0);  // no next IFD
  return b.bytes();
}

// Copies into a buffer of exactly the given size, so AddressSanitizer sees any read past it.
int orientationOf(const Bytes& block) {
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[block.size() + (block.empty() ? 1 : 0)]);
  std::copy(block.begin(), block.end(), exact.get());
  return exifOrientation(exact.get(), block.size());
}

Bytes withByte(Bytes block, std::size_t at, std::uint8_t value) {
  block[at] = value;
  return block;
}

const Entry kWidth{0x0100, kLong, 1, 640};
const Entry kMake{0x010F, kAscii, 6, 40};
const Entry kResolutionUnit{0x0128, kShort, 1, 2};

struct Case {
  const char* name;
  Bytes block;
  int expected;
};

TEST(ExifOrientation, TableOfBlocks) {
  const std::vector<Case> cases = {
      {"big endian", exifBlock(true, {{0x0112, kShort, 1, 6}}), 6},
      {"little endian", exifBlock(false, {{0x0112, kShort, 1, 8}}), 8},
      {"among other tags, big endian",
       exifBlock(true, {kWidth, kMake, {0x0112, kShort, 1, 3}, kResolutionUnit}), 3},
      {"among other tags, little endian",
       exifBlock(false, {kWidth, kMake, {0x0112, kShort, 1, 5}, kResolutionUnit}), 5},
      {"stored as LONG", exifBlock(true, {{0x0112, kLong, 1, 7}}), 7},
      {"IFD0 further on",
       [] {
         Bytes b = exifBlock(false, {{0x0112, kShort, 1, 2}}, 12);
         b.insert(b.begin() + 14, {0, 0, 0, 0});
         return b;
       }(),
       2},
      {"no orientation tag", exifBlock(true, {kWidth, kResolutionUnit}), 1},
      {"empty IFD0", exifBlock(true, {}), 1},
      {"orientation 0", exifBlock(true, {{0x0112, kShort, 1, 0}}), 1},
      {"orientation 9", exifBlock(false, {{0x0112, kShort, 1, 9}}), 1},
      {"LONG above 8", exifBlock(true, {{0x0112, kLong, 1, 0x10006}}), 1},
      {"wrong type", exifBlock(true, {{0x0112, kAscii, 1, 6}}), 1},
      {"count zero", exifBlock(true, {{0x0112, kShort, 0, 6}}), 1},
      {"not EXIF", withByte(exifBlock(true, {{0x0112, kShort, 1, 6}}), 0, 'X'), 1},
      {"unknown byte order", withByte(exifBlock(true, {{0x0112, kShort, 1, 6}}), 7, 'I'), 1},
      {"TIFF magic not 42", withByte(exifBlock(true, {{0x0112, kShort, 1, 6}}), 9, 43), 1},
      {"IFD0 offset past the end", exifBlock(true, {{0x0112, kShort, 1, 6}}, 4000), 1},
      {"IFD0 offset at the very end", exifBlock(true, {{0x0112, kShort, 1, 6}}, 0xFFFFFFFF), 1},
      {"entry count larger than the block", withByte(exifBlock(true, {kWidth}), 15, 200), 1},
      {"header only", Bytes{'E', 'x', 'i', 'f', 0, 0}, 1},
      {"empty", Bytes{}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(orientationOf(c.block), c.expected) << c.name;
  EXPECT_EQ(exifOrientation(nullptr, 100), 1);
}

// Every prefix of a valid block: the tag is found exactly when its value is whole.
TEST(ExifOrientation, EveryTruncationIsSafe) {
  for (bool bigEndian : {true, false}) {
    const Bytes full = exifBlock(bigEndian, {kWidth, kMake, {0x0112, kShort, 1, 6}});
    const std::size_t valueEnd = 6 + 8 + 2 + 2 * 12 + 10;
    for (std::size_t size = 0; size <= full.size(); ++size) {
      const Bytes prefix(full.begin(), full.begin() + std::ptrdiff_t(size));
      EXPECT_EQ(orientationOf(prefix), size >= valueEnd ? 6 : 1)
          << (bigEndian ? "MM" : "II") << " cut at " << size;
    }
  }
}

}  // namespace
}  // namespace kov
