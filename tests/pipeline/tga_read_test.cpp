#include "pipeline/tga_read.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_util.h"

#include "support/pam.h"
#include "support/temp_dir.h"
#include "support/tga_header.h"

namespace kov {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kRaw = 2;
constexpr int kRle = 10;

struct Pixel {
  std::uint8_t b, g, r, a;
  bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
  return out << "(b " << int(p.b) << ", g " << int(p.g) << ", r " << int(p.r) << ", a " << int(p.a)
             << ")";
}

constexpr Pixel kBlank{255, 255, 255, 0};

// Distinct for every stored index used here.
Pixel storedPixel(int k) {
  return {std::uint8_t(k), std::uint8_t(k * 3 + 1), std::uint8_t(k * 5 + 2),
          std::uint8_t(k * 7 + 3)};
}

using test::tgaHeader;

void append(Bytes& out, const Pixel& p) { out.insert(out.end(), {p.b, p.g, p.r, p.a}); }

// Stored pixels first..first+count-1 as one raw packet.
void rawPacket(Bytes& out, int first, int count) {
  out.push_back(std::uint8_t(count - 1));
  for (int k = first; k < first + count; ++k) append(out, storedPixel(k));
}

void runPacket(Bytes& out, int count, const Pixel& p) {
  out.push_back(std::uint8_t(0x80 | (count - 1)));
  append(out, p);
}

struct Decoded {
  int result = 0;
  WorkImage image;
  AlphaPlane alpha;

  Pixel at(int x, int y) const {
    const std::uint8_t* p = image.row(y) + 3 * x;
    return {p[0], p[1], p[2], alpha.at(x, y)};
  }
};

// Decodes from a buffer of exactly the file's size, so a read past its end shows under ASan.
Decoded decode(const Bytes& bytes) {
  Decoded d;
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
  if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
  d.result = readTgaMemory(exact.get(), bytes.size(), d.image, d.alpha);
  return d;
}

std::string asString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A picture and plane with recognisable contents, to see that a refusal leaves them alone.
void fillMarker(WorkImage& image, AlphaPlane& alpha) {
  image.reset(3, 2);
  image.fill(makeColour(1, 2, 3));
  alpha.reset(3, 2);
  alpha.row(1)[2] = 77;
}

void expectMarker(const WorkImage& image, const AlphaPlane& alpha) {
  WorkImage expected(3, 2);
  expected.fill(makeColour(1, 2, 3));
  EXPECT_TRUE(samePixels(image, expected));
  ASSERT_EQ(alpha.width(), 3);
  ASSERT_EQ(alpha.height(), 2);
  EXPECT_EQ(alpha.at(2, 1), 77);
  EXPECT_EQ(alpha.at(0, 0), 0);
}

// --- Files made with GIMP -------------------------------------------------------------------

TEST(TgaReadTest, GimpRgbaFilesLoadExactlyAsThePamReference) {
  const std::string pamPath = test::testDataPath("tga/200x32_rgba.pam");
  if (pamPath.empty()) GTEST_SKIP() << "no shared test data";
  const test::PamPicture expected = test::readPam(pamPath);
  ASSERT_EQ(expected.alpha.size(), std::size_t(expected.width * expected.height));

  // bl: descriptor 8 (bottom row first); tl: descriptor 40 (top row first).
  for (const char* name : {"200x32_rgba_bl_raw.tga", "200x32_rgba_bl_rle.tga",
                           "200x32_rgba_tl_raw.tga", "200x32_rgba_tl_rle.tga"}) {
    SCOPED_TRACE(name);
    WorkImage image;
    AlphaPlane alpha;
    ASSERT_EQ(readTgaImage(test::testDataPath(std::string("tga/") + name), image, alpha), kTgaOk);
    EXPECT_TRUE(samePixels(image, expected.image));
    ASSERT_EQ(alpha.width(), expected.width);
    ASSERT_EQ(alpha.height(), expected.height);
    for (int y = 0; y < alpha.height(); ++y)
      ASSERT_EQ(0, std::memcmp(alpha.row(y), expected.alpha.data() + y * expected.width,
                               std::size_t(expected.width)))
          << "alpha row " << y;
    EXPECT_EQ(alpha.at(200, 0), 0);
    EXPECT_EQ(alpha.at(0, 32), 0);
  }
}

TEST(TgaReadTest, GimpFilesOfOtherKindsAreRefusedByTheirHeader) {
  if (test::testDataPath("tga").empty()) GTEST_SKIP() << "no shared test data";
  struct Case {
    const char* name;
    int expected;
  };
  // Header bytes 1 (colour map type), 2 (image type), 16 (depth) decide, checked in that order.
  const Case cases[] = {
      {"1x1_l_bl_raw.tga", kTgaNotTrueColour},              // 0, 3, 8
      {"1x1_l_tl_rle.tga", kTgaNotTrueColour},              // 0, 11, 8
      {"200x32_l_bl_raw.tga", kTgaNotTrueColour},           // 0, 3, 8
      {"200x32_l_tl_rle.tga", kTgaNotTrueColour},           // 0, 11, 8
      {"200x32_la_bl_raw.tga", kTgaNotTrueColour},          // 0, 3, 16: type before depth
      {"200x32_la_tl_rle.tga", kTgaNotTrueColour},          // 0, 11, 16
      {"200x32_p_bl_raw.tga", kTgaColourMapped},            // 1, 1, 8
      {"200x32_p_tl_rle.tga", kTgaColourMapped},            // 1, 9, 8
      {"p_16.tga", kTgaColourMapped},                       // 1, 1, 8 (16-bit palette, ID field)
      {"cross_scan_line_truncated.tga", kTgaColourMapped},  // 1, 9, 8
      {"200x32_rgb_bl_raw.tga", kTgaNot32Bit},              // 0, 2, 24
      {"200x32_rgb_bl_rle.tga", kTgaNot32Bit},              // 0, 10, 24
      {"200x32_rgb_tl_raw.tga", kTgaNot32Bit},  // 0, 10, 24 (run-length despite its name)
      {"200x32_rgb_tl_rle.tga", kTgaNot32Bit},  // 0, 10, 24
      {"rgba16.tga", kTgaNot32Bit},             // 0, 2, 16
      {"tga_id_field.tga", kTgaNot32Bit},       // 0, 2, 24 with a 6-byte ID field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkImage image;
    AlphaPlane alpha;
    fillMarker(image, alpha);
    EXPECT_EQ(readTgaImage(test::testDataPath(std::string("tga/") + c.name), image, alpha),
              c.expected);
    expectMarker(image, alpha);
  }
}

// The truncated file's pixel data, read as if it were 32-bit run-length data, runs out long
// before the image is full: decoding stops at the end of the data.
TEST(TgaReadTest, TruncatedFileNeverReadsPastItsEnd) {
  const std::string path = test::testDataPath("tga/cross_scan_line_truncated.tga");
  if (path.empty()) GTEST_SKIP() << "no shared test data";
  const std::optional<std::string> file = readFileBytes(path);
  ASSERT_TRUE(file);
  Bytes bytes(file->begin(), file->end());
  bytes[1] = 0;
  bytes[2] = kRle;
  bytes[16] = 32;
  for (std::size_t size : {bytes.size(), bytes.size() - 1, bytes.size() / 2, std::size_t(19)}) {
    SCOPED_TRACE(size);
    const Decoded d = decode(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(size)));
    EXPECT_EQ(d.result, kTgaOk);
    EXPECT_EQ(d.image.width(), 64);
    EXPECT_EQ(d.image.height(), 64);
    EXPECT_EQ(d.at(63, 0), kBlank);  // the last stored pixel is never reached
  }
}

// --- Header, results and the state left behind ----------------------------------------------

TEST(TgaReadTest, HeaderChecksInOrderLeaveImageAndPlaneAlone) {
  struct Case {
    const char* what;
    Bytes bytes;
    int expected;
  };
  const Case cases[] = {
      {"colour-mapped, wrong type and depth", tgaHeader(1, 2, 2, 8, 16, 1), kTgaColourMapped},
      {"greyscale, 32-bit", tgaHeader(3, 2, 2, 8), kTgaNotTrueColour},
      {"run-length greyscale, 16-bit, too wide", tgaHeader(11, 9601, 2, 8, 16), kTgaNotTrueColour},
      {"24-bit and too wide", tgaHeader(kRaw, 9601, 2, 8, 24), kTgaNot32Bit},
      {"16-bit", tgaHeader(kRle, 2, 2, 8, 16), kTgaNot32Bit},
      {"too wide", tgaHeader(kRaw, 9601, 1, 8), kTgaTooLarge},
      {"too high", tgaHeader(kRle, 1, 9601, 8), kTgaTooLarge},
      {"widest field", tgaHeader(kRle, 65535, 65535, 8), kTgaTooLarge},
      {"empty file", {}, kTgaNotTrueColour},
      {"two bytes", {0, 0}, kTgaNotTrueColour},
      {"type but no depth", {0, 0, kRaw}, kTgaNot32Bit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Decoded d;
    fillMarker(d.image, d.alpha);
    EXPECT_EQ(readTgaMemory(c.bytes.data(), c.bytes.size(), d.image, d.alpha), c.expected);
    expectMarker(d.image, d.alpha);
  }
}

TEST(TgaReadTest, HeaderCutShortReadsMissingBytesAsZero) {
  // 17 bytes: everything but the descriptor, which reads as 0 (bottom row first). No pixel
  // data follows, so the image stays white.
  Bytes bytes = tgaHeader(kRaw, 2, 1, 0xFF);
  bytes.pop_back();
  const Decoded d = decode(bytes);
  EXPECT_EQ(d.result, kTgaOk);
  ASSERT_EQ(d.image.width(), 2);
  ASSERT_EQ(d.image.height(), 1);
  EXPECT_EQ(d.at(0, 0), kBlank);
  EXPECT_EQ(d.at(1, 0), kBlank);
}

TEST(TgaReadTest, LargestSideIsAccepted) {
  // Header only: the 9600 x 9600 image is allocated and left white.
  const Decoded d = decode(tgaHeader(kRle, 9600, 9600, 8));
  EXPECT_EQ(d.result, kTgaOk);
  EXPECT_EQ(d.image.width(), 9600);
  EXPECT_EQ(d.image.height(), 9600);
  EXPECT_EQ(d.alpha.width(), 9600);
  EXPECT_EQ(d.alpha.height(), 9600);
  EXPECT_EQ(d.at(9599, 9599), kBlank);
}

TEST(TgaReadTest, ZeroSideGivesAnEmptyImage) {
  for (const auto& [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    Bytes bytes = tgaHeader(kRle, w, h, 8);
    runPacket(bytes, 128, storedPixel(1));
    Decoded d;
    fillMarker(d.image, d.alpha);
    EXPECT_EQ(readTgaMemory(bytes.data(), bytes.size(), d.image, d.alpha), kTgaOk);
    EXPECT_TRUE(d.image.empty());
    EXPECT_EQ(d.image.width(), w);
    EXPECT_EQ(d.image.height(), h);
    EXPECT_EQ(d.alpha.width(), w);
    EXPECT_EQ(d.alpha.height(), h);
    EXPECT_EQ(d.alpha.at(0, 0), 0);
  }
}

// --- Pixel data -----------------------------------------------------------------------------

// A 3 x 2 image with stored pixels 0..5, for every combination of the origin bits and with
// bit 3 (alpha depth 8) set and clear: bit 5 set = top row first, bit 4 = right to left.
TEST(TgaReadTest, DescriptorOriginBitsPlaceRowsAndColumns) {
  struct Case {
    int descriptor;
    int layout[2][3];  // stored index at each (x, y), top row first
  };
  const Case cases[] = {
      {0, {{3, 4, 5}, {0, 1, 2}}},  {8, {{3, 4, 5}, {0, 1, 2}}},  {16, {{5, 4, 3}, {2, 1, 0}}},
      {24, {{5, 4, 3}, {2, 1, 0}}}, {32, {{0, 1, 2}, {3, 4, 5}}}, {40, {{0, 1, 2}, {3, 4, 5}}},
      {48, {{2, 1, 0}, {5, 4, 3}}}, {56, {{2, 1, 0}, {5, 4, 3}}},
  };
  for (const Case& c : cases) {
    Bytes raw = tgaHeader(kRaw, 3, 2, c.descriptor);
    for (int k = 0; k < 6; ++k) append(raw, storedPixel(k));
    Bytes rle = tgaHeader(kRle, 3, 2, c.descriptor);
    rawPacket(rle, 0, 2);  // packets run on across the row end
    rawPacket(rle, 2, 4);
    for (const Bytes* bytes : {&raw, &rle}) {
      SCOPED_TRACE(testing::Message() << "descriptor " << c.descriptor
                                      << (bytes == &raw ? " uncompressed" : " run-length"));
      const Decoded d = decode(*bytes);
      ASSERT_EQ(d.result, kTgaOk);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
          EXPECT_EQ(d.at(x, y), storedPixel(c.layout[y][x])) << "at " << x << ", " << y;
    }
  }
}

TEST(TgaReadTest, IdFieldIsSkipped) {
  for (int idLength : {1, 6, 255}) {
    SCOPED_TRACE(idLength);
    for (int type : {kRaw, kRle}) {
      Bytes bytes = tgaHeader(type, 2, 1, 40, 32, 0, idLength);
      bytes.insert(bytes.end(), std::size_t(idLength), 0x81);  // would read as a run packet
      if (type == kRle)
        rawPacket(bytes, 0, 2);
      else
        for (int k = 0; k < 2; ++k) append(bytes, storedPixel(k));
      const Decoded d = decode(bytes);
      ASSERT_EQ(d.result, kTgaOk);
      EXPECT_EQ(d.at(0, 0), storedPixel(0));
      EXPECT_EQ(d.at(1, 0), storedPixel(1));
    }
  }
  // An ID field longer than the file: nothing to decode.
  const Decoded d = decode(tgaHeader(kRaw, 1, 1, 40, 32, 0, 10));
  EXPECT_EQ(d.result, kTgaOk);
  EXPECT_EQ(d.at(0, 0), kBlank);
}

TEST(TgaReadTest, RunPacketContinuesIntoTheNextRow) {
  // 130 wide, top row first: 120 raw pixels, then a run of 128 fills the last 10 pixels of
  // row 0 and the first 118 of row 1. The data ends there.
  const Pixel run{10, 20, 30, 40};
  Bytes bytes = tgaHeader(kRle, 130, 3, 40);
  rawPacket(bytes, 0, 120);
  runPacket(bytes, 128, run);
  const Decoded d = decode(bytes);
  ASSERT_EQ(d.result, kTgaOk);
  EXPECT_EQ(d.at(119, 0), storedPixel(119));
  for (int x = 120; x < 130; ++x) EXPECT_EQ(d.at(x, 0), run) << x;
  for (int x = 0; x < 118; ++x) EXPECT_EQ(d.at(x, 1), run) << x;
  for (int x = 118; x < 130; ++x) EXPECT_EQ(d.at(x, 1), kBlank) << x;
  for (int x = 0; x < 130; ++x) EXPECT_EQ(d.at(x, 2), kBlank) << x;
}

TEST(TgaReadTest, PacketsBeyondTheLastPixelAreIgnored) {
  // The run reaches past the image's last pixel, and more packets follow.
  const Pixel run{10, 20, 30, 40};
  for (int descriptor : {8, 56}) {
    SCOPED_TRACE(descriptor);
    Bytes bytes = tgaHeader(kRle, 4, 2, descriptor);
    rawPacket(bytes, 0, 6);
    runPacket(bytes, 128, run);
    rawPacket(bytes, 0, 128);
    const Decoded d = decode(bytes);
    ASSERT_EQ(d.result, kTgaOk);
    // The last two stored pixels: right end of the last stored row.
    const int lastRow = descriptor & 32 ? 1 : 0;
    const int x0 = descriptor & 16 ? 0 : 2;
    EXPECT_EQ(d.at(x0, lastRow), run);
    EXPECT_EQ(d.at(x0 + 1, lastRow), run);
    EXPECT_EQ(d.at(descriptor & 16 ? 3 : 0, 1 - lastRow), storedPixel(0));
  }
}

// Cut a run-length file after every byte: the complete pixels that arrived are placed, the
// rest of the image stays white with alpha 0.
TEST(TgaReadTest, RunLengthDataEndingEarlyLeavesTheRestBlank) {
  const Pixel run{10, 20, 30, 40};
  Bytes full = tgaHeader(kRle, 4, 2, 32);
  rawPacket(full, 0, 3);    // bytes 18..30
  runPacket(full, 3, run);  // bytes 31..35
  rawPacket(full, 6, 2);    // bytes 36..44
  const Pixel complete[8] = {storedPixel(0), storedPixel(1), storedPixel(2), run, run, run,
                             storedPixel(6), storedPixel(7)};
  for (std::size_t size = 18; size <= full.size(); ++size) {
    SCOPED_TRACE(testing::Message() << size << " bytes");
    // Pixels present: raw pixels once their 4 bytes are in, the run once its pixel is.
    int present = 0;
    if (size >= 19) present = int(std::min<std::size_t>(3, (size - 19) / 4));
    if (size >= 36) present = 6;
    if (size >= 37) present = 6 + int((size - 37) / 4);
    const Decoded d = decode(Bytes(full.begin(), full.begin() + std::ptrdiff_t(size)));
    ASSERT_EQ(d.result, kTgaOk);
    for (int k = 0; k < 8; ++k)
      EXPECT_EQ(d.at(k % 4, k / 4), k < present ? complete[k] : kBlank) << "stored pixel " << k;
  }
}

TEST(TgaReadTest, UncompressedDataEndingEarlyStopsAtTheIncompleteRow) {
  // Top row first, 3 x 3: one whole row and part of the second arrive.
  Bytes bytes = tgaHeader(kRaw, 3, 3, 32);
  for (int k = 0; k < 4; ++k) append(bytes, storedPixel(k));
  bytes.push_back(9);
  const Decoded d = decode(bytes);
  ASSERT_EQ(d.result, kTgaOk);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(d.at(x, 0), storedPixel(x));
    EXPECT_EQ(d.at(x, 1), kBlank);
    EXPECT_EQ(d.at(x, 2), kBlank);
  }
}

TEST(TgaReadTest, ReloadReplacesAPreviousLargerImage) {
  Decoded d;
  Bytes big = tgaHeader(kRle, 5, 4, 40);
  runPacket(big, 20, storedPixel(9));
  ASSERT_EQ(readTgaMemory(big.data(), big.size(), d.image, d.alpha), kTgaOk);
  Bytes small = tgaHeader(kRaw, 2, 2, 40);
  for (int k = 0; k < 2; ++k) append(small, storedPixel(k));
  ASSERT_EQ(readTgaMemory(small.data(), small.size(), d.image, d.alpha), kTgaOk);
  ASSERT_EQ(d.image.width(), 2);
  ASSERT_EQ(d.alpha.width(), 2);
  EXPECT_EQ(d.at(1, 0), storedPixel(1));
  EXPECT_EQ(d.at(1, 1), kBlank);
  EXPECT_EQ(d.alpha.at(4, 3), 0);
}

// --- Opening files --------------------------------------------------------------------------

TEST(TgaReadTest, FileReadsAsItsBytes) {
  // Larger than the reader's buffer, so the file is read in several pieces.
  test::TempDir dir;
  Bytes bytes = tgaHeader(kRle, 300, 200, 8);
  for (int row = 0; row < 200; ++row) {
    rawPacket(bytes, row, 100);
    runPacket(bytes, 100, storedPixel(row));
    rawPacket(bytes, row + 1, 100);
  }
  ASSERT_GT(bytes.size(), 128u * 1024);
  dir.write("frame.TgA", asString(bytes));
  Decoded fromFile;
  ASSERT_EQ(readTgaImage(dir.file("frame.TgA"), fromFile.image, fromFile.alpha), kTgaOk);
  const Decoded fromMemory = decode(bytes);
  EXPECT_TRUE(samePixels(fromFile.image, fromMemory.image));
  for (int y = 0; y < 200; ++y)
    ASSERT_EQ(0, std::memcmp(fromFile.alpha.row(y), fromMemory.alpha.row(y), 300)) << y;
  EXPECT_EQ(fromFile.at(150, 199), storedPixel(0));
}

TEST(TgaReadTest, FileThatCannotBeOpenedHasItsOwnResult) {
  test::TempDir dir;
  Bytes bytes = tgaHeader(kRaw, 1, 1, 8);
  append(bytes, storedPixel(1));
  dir.write("frame.bmp", asString(bytes));
  dir.write("frametga", asString(bytes));
  std::filesystem::create_directory(dir.file("folder.tga"));
  for (const std::string& path : {dir.file("missing.tga"), dir.file("frame.bmp"),
                                  dir.file("frametga"), dir.file("folder.tga"), std::string()}) {
    SCOPED_TRACE(path);
    Decoded d;
    fillMarker(d.image, d.alpha);
    EXPECT_EQ(readTgaImage(path, d.image, d.alpha), kTgaCannotOpen);
    expectMarker(d.image, d.alpha);
  }
}

}  // namespace
}  // namespace kov
