#include "platform/bmp_codec.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_util.h"

#include "support/pam.h"
#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::testDataPath;

void putLe(std::string& s, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
}

std::uint32_t getLe(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(s[at + i]);
  return v;
}

// A hand-made bitmap: header of any known size, masks where that header keeps them,
// palette, pixels as given.
struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> masks;    // inside V2 and later headers, else after the header
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  std::string pixels;
  std::optional<std::uint32_t> offset;  // default: right after the palette

  std::string build() const {
    std::string info;
    putLe(info, headerSize, 4);
    if (headerSize == 12) {
      putLe(info, std::uint32_t(width), 2);
      putLe(info, std::uint32_t(height), 2);
      putLe(info, 1, 2);
      putLe(info, bits, 2);
    } else {
      putLe(info, std::uint32_t(width), 4);
      putLe(info, std::uint32_t(height), 4);
      putLe(info, 1, 2);
      putLe(info, bits, 2);
      if (headerSize >= 40) {
        putLe(info, compression, 4);
        putLe(info, pixels.size(), 4);
        putLe(info, 2835, 4);
        putLe(info, 2835, 4);
        putLe(info, clrUsed, 4);
        putLe(info, 0, 4);
      }
    }
    const bool masksInside = headerSize >= 52 && headerSize != 64;
    for (std::uint32_t m : masks)
      if (masksInside) putLe(info, m, 4);
    info.resize(headerSize, '\0');
    if (!masksInside)
      for (std::uint32_t m : masks) putLe(info, m, 4);
    for (std::uint32_t c : palette) putLe(info, c, headerSize == 12 ? 3 : 4);
    std::string file = "BM";
    const std::uint32_t at = offset.value_or(std::uint32_t(14 + info.size()));
    putLe(file, 14 + info.size() + pixels.size(), 4);
    putLe(file, 0, 4);
    putLe(file, at, 4);
    return file + info + pixels;
  }
};

int decode(const std::string& bytes, WorkImage& out, std::int64_t maxPixels = kMaxPicturePixels) {
  return readBmpMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out,
                       maxPixels);
}

std::vector<Colour> rowOf(const WorkImage& img, int y) {
  std::vector<Colour> row;
  for (int x = 0; x < img.width(); ++x) row.push_back(img.pixel(x, y));
  return row;
}

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);
constexpr Colour kGrey = makeColour(128, 128, 128);

// --- The BMP suite ----------------------------------------------------------------------------

std::vector<std::string> suiteFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".bmp") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Which reference each good file must equal. The files after the first eleven store one of
// those pictures another way (palette order, RLE, OS/2 or V4/V5 header, top-down, unused
// palette, 32-bit, bit fields) and are held to the same reference.
// The 8-bit references were drawn with green 42 for the palette level the files store as 43
// (255 / 6 rounded the other way); a palette index has one colour, the file's, so for those the
// reference's 42 stands for 43. Every other pixel must be equal.
struct Reference {
  const char* pam;
  bool green43 = false;
};
const std::map<std::string, Reference> kReferenceOf = {
    {"pal1", {"pal1"}},
    {"pal1bg", {"pal1bg"}},
    {"pal4", {"pal4"}},
    {"pal8", {"pal8", true}},
    {"pal8nonsquare", {"pal8nonsquare-e", true}},
    {"pal8w124", {"pal8w124", true}},
    {"pal8w125", {"pal8w125", true}},
    {"pal8w126", {"pal8w126", true}},
    {"rgb16", {"rgb16"}},
    {"rgb16-565", {"rgb16-565"}},
    {"rgb24", {"rgb24"}},
    {"pal1wb", {"pal1"}},
    {"pal4rle", {"pal4"}},
    {"pal8-0", {"pal8", true}},
    {"pal8os2", {"pal8", true}},
    {"pal8rle", {"pal8", true}},
    {"pal8topdown", {"pal8", true}},
    {"pal8v4", {"pal8", true}},
    {"pal8v5", {"pal8", true}},
    {"rgb16-565pal", {"rgb16-565"}},
    {"rgb24pal", {"rgb24"}},
    {"rgb32", {"rgb24"}},
    {"rgb32bf", {"rgb24"}},
};

TEST(BmpSuite, EveryGoodFileDecodesToItsReference) {
  const std::string good = testDataPath("bmp/good");
  if (good.empty()) GTEST_SKIP() << "no test data";
  const std::vector<std::string> names = suiteFiles(good);
  EXPECT_EQ(names.size(), kReferenceOf.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    WorkImage img;
    ASSERT_EQ(readBmpFile(good + "/" + name + ".bmp", img), kBmpOk);
    const auto ref = kReferenceOf.find(name);
    ASSERT_NE(ref, kReferenceOf.end()) << "new file without a reference";
    test::PamPicture pam =
        test::readPam(testDataPath(std::string("bmp/reference/") + ref->second.pam + ".pam"));
    ASSERT_EQ(img.width(), pam.width);
    ASSERT_EQ(img.height(), pam.height);
    if (ref->second.green43) {
      for (int y = 0; y < pam.height; ++y)
        for (int x = 0; x < pam.width; ++x)
          if (pam.image.row(y)[3 * x + 1] == 42) pam.image.row(y)[3 * x + 1] = 43;
    }
    for (int y = 0; y < img.height(); ++y) ASSERT_EQ(rowOf(img, y), rowOf(pam.image, y)) << y;
  }
}

// What each damaged file gives. Fields no decoder needs (image size, resolution, file size)
// are ignored; an index beyond the palette reads as black.
const std::map<std::string, int> kBadResult = {
    {"badbitcount", kBmpBadFile},     // 30000 bits per pixel
    {"badbitssize", kBmpOk},          // absurd image size field
    {"baddens1", kBmpOk},             // absurd resolution
    {"baddens2", kBmpOk},             //
    {"badfilesize", kBmpOk},          // absurd file size field
    {"badheadersize", kBmpBadFile},   // info header of 66 bytes
    {"badpalettesize", kBmpBadFile},  // more colours than 8 bits can index
    {"badplanes", kBmpBadFile},       // 30000 planes
    {"badrle", kBmpOk},               // runs past the right edge are cut off
    {"badwidth", kBmpBadFile},        // negative width
    {"pal8badindex", kBmpOk},         // indices beyond the palette
    {"reallybig", kBmpTooLarge},      // 3000000 x 2000000
    {"rletopdown", kBmpBadFile},      // RLE with negative height
    {"shortfile", kBmpBadFile},       // pixel rows missing
};

TEST(BmpSuite, BadFilesGiveAClearResult) {
  const std::string bad = testDataPath("bmp/bad");
  if (bad.empty()) GTEST_SKIP() << "no test data";
  for (const std::string& name : suiteFiles(bad)) {
    SCOPED_TRACE(name);
    WorkImage img(2, 1);
    img.fill(kGrey);
    const int rc = readBmpFile(bad + "/" + name + ".bmp", img);
    const auto expected = kBadResult.find(name);
    ASSERT_NE(expected, kBadResult.end()) << "new file without an expected result";
    EXPECT_EQ(rc, expected->second);
    if (rc != kBmpOk) {
      EXPECT_EQ(rowOf(img, 0), (std::vector<Colour>{kGrey, kGrey}));
    }
  }
}

TEST(BmpSuite, IndexBeyondThePaletteIsBlack) {
  const std::string path = testDataPath("bmp/bad/pal8badindex.bmp");
  if (path.empty()) GTEST_SKIP() << "no test data";
  const std::string bytes = *readFileBytes(path);
  WorkImage img;
  ASSERT_EQ(decode(bytes, img), kBmpOk);
  const std::size_t colours = getLe(bytes, 46, 4), offset = getLe(bytes, 10, 4);
  int beyond = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const std::uint8_t index = bytes[offset + std::size_t(img.height() - 1 - y) * 128 + x];
      if (index < colours) continue;
      ++beyond;
      ASSERT_EQ(img.pixel(x, y), kBlack) << x << "," << y;
    }
  }
  EXPECT_GT(beyond, 0);
}

// --- Hand-made files for what the suite lacks ------------------------------------------------

// The same 3 x 2 picture (red green blue / white grey black) under every header size and in
// 16-, 24- and 32-bit forms, so header layouts and mask positions are checked one by one.
TEST(BmpRead, HeaderKindsAndDepths) {
  const std::vector<Colour> top = {kRed, kGreen, kBlue};
  // Palette: 0 red, 1 green, 2 blue, 3 white, 4 grey, 5 black.
  const std::vector<std::uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF,
                                              0xFFFFFF, 0x808080, 0x000000};
  const std::string pal8 = std::string("\3\4\5\0\0\1\2\0", 8);
  const std::string pal4 = std::string("\x34\x50\x00\x00\x01\x20\x00\x00", 8);
  // 24-bit rows, bottom first, padded to 12 bytes.
  const std::string rgb24 = std::string(
      "\xFF\xFF\xFF\x80\x80\x80\x00\x00\x00\0\0\0"
      "\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\0\0\0",
      24);
  // 32-bit with 10-bit fields: grey is 514 of 1023, which scales to 128.
  auto px1010 = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    std::string s;
    putLe(s, (r << 20) | (g << 10) | b, 4);
    return s;
  };
  const std::string rgb1010 = px1010(1023, 1023, 1023) + px1010(514, 514, 514) + px1010(0, 0, 0) +
                              px1010(1023, 0, 0) + px1010(0, 1023, 0) + px1010(0, 0, 1023);
  const std::vector<std::uint32_t> masks1010 = {0x3FF00000, 0xFFC00, 0x3FF};
  // 16-bit 5-6-5: grey is red 16 of 31, green 32 of 63, blue 16 of 31, scaling to 132, 130, 132.
  auto px565 = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    std::string s;
    putLe(s, (r << 11) | (g << 5) | b, 2);
    return s;
  };
  const std::string rgb565 = px565(31, 63, 31) + px565(16, 32, 16) + px565(0, 0, 0) +
                             std::string(2, '\0') + px565(31, 0, 0) + px565(0, 63, 0) +
                             px565(0, 0, 31) + std::string(2, '\0');
  const std::vector<std::uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
  const Colour grey565 = makeColour(132, 130, 132);

  struct Case {
    const char* what;
    std::uint32_t headerSize;
    std::uint16_t bits;
    std::uint32_t compression;
    std::vector<std::uint32_t> masks;
    std::vector<std::uint32_t> palette;
    std::string pixels;
    Colour grey = kGrey;
  };
  const std::vector<Case> cases = {
      {"OS/2 1.x 8-bit", 12, 8, 0, {}, palette, pal8},
      {"OS/2 2.x short 8-bit", 16, 8, 0, {}, palette, pal8},
      {"OS/2 2.x 4-bit", 64, 4, 0, {}, palette, pal4},
      {"info 24-bit", 40, 24, 0, {}, {}, rgb24},
      {"info 24-bit with a palette", 40, 24, 0, {}, palette, rgb24},
      {"info 32-bit 10-bit fields", 40, 32, 3, masks1010, {}, rgb1010},
      {"info 32-bit alpha bit fields",
       40,
       32,
       6,
       {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
       {},
       rgb1010},
      {"V2 16-bit 5-6-5", 52, 16, 3, masks565, {}, rgb565, grey565},
      {"V3 16-bit 5-6-5", 56, 16, 3, {0xF800, 0x07E0, 0x001F, 0}, {}, rgb565, grey565},
      {"V4 32-bit 10-bit fields", 108, 32, 3, masks1010, {}, rgb1010},
      {"V5 16-bit 5-6-5", 124, 16, 3, masks565, {}, rgb565, grey565},
      {"V5 4-bit", 124, 4, 0, {}, palette, pal4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BmpFile f;
    f.headerSize = c.headerSize;
    f.width = 3;
    f.height = 2;
    f.bits = c.bits;
    f.compression = c.compression;
    f.masks = c.masks;
    f.palette = c.palette;
    f.clrUsed = c.headerSize == 12 || c.bits > 8 ? 0 : std::uint32_t(c.palette.size());
    f.pixels = c.pixels;
    WorkImage img;
    ASSERT_EQ(decode(f.build(), img), kBmpOk);
    ASSERT_EQ(img.width(), 3);
    ASSERT_EQ(img.height(), 2);
    EXPECT_EQ(rowOf(img, 0), top);
    EXPECT_EQ(rowOf(img, 1), (std::vector<Colour>{kWhite, c.grey, kBlack}));
  }
}

TEST(BmpRead, TopDownRowsAndTheFourthByteOf32Bit) {
  BmpFile f;
  f.width = 1;
  f.height = -2;  // top-down
  f.bits = 32;
  f.pixels = std::string("\x00\x00\xFF\x7F\xFF\x00\x00\xFF", 8);  // red, then blue
  WorkImage img;
  ASSERT_EQ(decode(f.build(), img), kBmpOk);
  EXPECT_EQ(img.pixel(0, 0), kRed);
  EXPECT_EQ(img.pixel(0, 1), kBlue);
}

TEST(BmpRead, IndexBeyondAShortPaletteIsBlack) {
  BmpFile f;
  f.width = 8;
  f.height = 1;
  f.bits = 1;
  f.clrUsed = 1;
  f.palette = {0xFF0000};
  f.pixels = std::string("\x0F\0\0\0", 4);
  WorkImage img;
  ASSERT_EQ(decode(f.build(), img), kBmpOk);
  EXPECT_EQ(rowOf(img, 0),
            (std::vector<Colour>{kRed, kRed, kRed, kRed, kBlack, kBlack, kBlack, kBlack}));

  // Without a colour count the palette still ends where the pixels begin.
  f.clrUsed = 0;
  f.bits = 8;
  f.width = 2;
  f.palette = {0x0000FF};
  f.pixels = std::string("\0\x01\0\0", 4);
  ASSERT_EQ(decode(f.build(), img), kBmpOk);
  EXPECT_EQ(rowOf(img, 0), (std::vector<Colour>{kBlue, kBlack}));
}

// RLE8, 4 x 3, palette 0 grey, 1 red, 2 green, 3 blue. Rows are listed bottom first.
BmpFile rle8(std::string data, int width = 4, int height = 3) {
  BmpFile f;
  f.width = width;
  f.height = height;
  f.bits = 8;
  f.compression = 1;
  f.palette = {0x808080, 0xFF0000, 0x00FF00, 0x0000FF};
  f.clrUsed = 4;
  f.pixels = std::move(data);
  return f;
}

TEST(BmpRead, Rle8RunsAbsoluteDeltaAndUnsetPixels) {
  // Bottom row: run of 2 red, absolute green blue red (padded; red falls off the edge).
  // End of line, then a delta of 1 right and 1 up to the top row, where a run of 5 blue is
  // cut at the edge. The middle row and the top row's first pixel are never set.
  const std::string data = std::string(
      "\x02\x01"
      "\x00\x03\x02\x03\x01\x00"
      "\x00\x00"
      "\x00\x02\x01\x01"
      "\x05\x03"
      "\x00\x01",
      18);
  WorkImage img;
  ASSERT_EQ(decode(rle8(data).build(), img), kBmpOk);
  EXPECT_EQ(rowOf(img, 2), (std::vector<Colour>{kRed, kRed, kGreen, kBlue}));
  EXPECT_EQ(rowOf(img, 1), (std::vector<Colour>{kGrey, kGrey, kGrey, kGrey}));
  EXPECT_EQ(rowOf(img, 0), (std::vector<Colour>{kGrey, kBlue, kBlue, kBlue}));
}

TEST(BmpRead, Rle4RunsAlternateAndAbsoluteRunsArePadded) {
  BmpFile f = rle8(std::string("\x05\x12"                  // 1 2 1 2 1
                               "\x00\x00"                  // end of line
                               "\x00\x05\x32\x13\x30\x00"  // absolute 3 2 1 3 3, padded
                               "\x00\x01",
                               12),
                   5, 2);
  f.bits = 4;
  f.compression = 2;
  WorkImage img;
  ASSERT_EQ(decode(f.build(), img), kBmpOk);
  EXPECT_EQ(rowOf(img, 1), (std::vector<Colour>{kRed, kGreen, kRed, kGreen, kRed}));
  EXPECT_EQ(rowOf(img, 0), (std::vector<Colour>{kBlue, kGreen, kRed, kBlue, kBlue}));
}

TEST(BmpRead, RleEndsAndTruncation) {
  struct Case {
    const char* what;
    std::string data;
    int result;
  };
  const std::vector<Case> cases = {
      {"delta past the top ends the picture", std::string("\x02\x01\x00\x02\x00\x09\x04\x01", 8),
       kBmpOk},
      {"delta past the right edge drops the rest of the row",
       std::string("\x00\x02\xFF\x00\x04\x01\x00\x00\x04\x01\x00\x01", 12), kBmpOk},
      {"no end of bitmap after the last pixel", std::string("\x00\x00\x00\x00\x04\x01", 6), kBmpOk},
      {"no end of bitmap after the last line", std::string("\x00\x00\x00\x00\x00\x00", 6), kBmpOk},
      {"data ends mid-picture", std::string("\x04\x01\x00\x00", 4), kBmpBadFile},
      {"data ends inside a code", std::string("\x04", 1), kBmpBadFile},
      {"delta cut short", std::string("\x00\x02\x01", 3), kBmpBadFile},
      {"absolute run cut short", std::string("\x00\x05\x01\x01", 4), kBmpBadFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkImage img;
    EXPECT_EQ(decode(rle8(c.data).build(), img), c.result);
  }
  WorkImage img;
  ASSERT_EQ(decode(rle8(cases[1].data).build(), img), kBmpOk);
  EXPECT_EQ(rowOf(img, 2), (std::vector<Colour>{kGrey, kGrey, kGrey, kGrey}));
  EXPECT_EQ(rowOf(img, 1), (std::vector<Colour>{kRed, kRed, kRed, kRed}));
}

// Refused from the headers alone, before any pixel is allocated.
TEST(BmpRead, RefusedHeaders) {
  auto with = [](auto change) {
    BmpFile f;
    f.width = 2;
    f.height = 2;
    f.pixels = std::string(16, '\0');
    change(f);
    return f.build();
  };
  auto tinyRle = [](int side) {
    return [side](BmpFile& f) {
      f.width = f.height = side;
      f.bits = 8;
      f.compression = 1;
      f.pixels = std::string("\0\1", 2);  // end of bitmap
    };
  };
  std::string notBm = with([](BmpFile&) {});
  notBm[1] = 'A';
  struct Case {
    const char* what;
    std::string bytes;
    int result;
    std::int64_t maxPixels = 100'000'000;
  };
  const std::vector<Case> cases = {
      {"empty", "", kBmpBadFile},
      {"not BM", notBm, kBmpBadFile},
      {"width 0", with([](BmpFile& f) { f.width = 0; }), kBmpBadFile},
      {"negative width", with([](BmpFile& f) { f.width = -2; }), kBmpBadFile},
      {"height 0", with([](BmpFile& f) { f.height = 0; }), kBmpBadFile},
      {"height -2^31", with([](BmpFile& f) { f.height = INT32_MIN; }), kBmpTooLarge},
      {"2 bits", with([](BmpFile& f) { f.bits = 2; }), kBmpBadFile},
      {"RLE8 with 4 bits", with([](BmpFile& f) {
         f.bits = 4;
         f.compression = 1;
       }),
       kBmpBadFile},
      {"bit fields with 24 bits", with([](BmpFile& f) { f.compression = 3; }), kBmpBadFile},
      {"JPEG inside", with([](BmpFile& f) { f.compression = 4; }), kBmpBadFile},
      {"OS/2 Huffman", with([](BmpFile& f) {
         f.headerSize = 64;
         f.bits = 1;
         f.compression = 3;
       }),
       kBmpBadFile},
      {"OS/2 1.x 16-bit", with([](BmpFile& f) {
         f.headerSize = 12;
         f.bits = 16;
       }),
       kBmpBadFile},
      {"offset beyond the file", with([](BmpFile& f) { f.offset = 1000; }), kBmpBadFile},
      {"offset inside the headers", with([](BmpFile& f) { f.offset = 50; }), kBmpBadFile},
      {"masks cut off", with([](BmpFile& f) {
         f.bits = 16;
         f.compression = 3;
         f.pixels = "";
         f.offset = 54;
       }),
       kBmpBadFile},
      {"2 x 2 above a limit of 3", with([](BmpFile&) {}), kBmpTooLarge, 3},
      {"40000 x 40000 RLE", with(tinyRle(40000)), kBmpTooLarge},
      {"2000 x 2000 RLE in a few bytes", with(tinyRle(2000)), kBmpBadFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorkImage img;
    EXPECT_EQ(decode(c.bytes, img, c.maxPixels), c.result);
    EXPECT_TRUE(img.empty());
  }
  // Below the free allowance a bare end of bitmap is a whole picture of entry 0.
  WorkImage img;
  EXPECT_EQ(decode(with(tinyRle(1000)), img), kBmpOk);
}

TEST(BmpRead, EveryCutOfTheRowsIsRefused) {
  BmpFile f;
  f.width = 4;  // 12 bytes a row, no padding
  f.height = 3;
  f.pixels = std::string(36, '\x40');
  const std::string whole = f.build();
  WorkImage img;
  ASSERT_EQ(decode(whole, img), kBmpOk);
  for (std::size_t size = 0; size < whole.size(); ++size)
    ASSERT_EQ(decode(whole.substr(0, size), img), kBmpBadFile) << size;
  // Only the last row's padding may be missing.
  f.width = 3;
  f.pixels = std::string(36 - 3, '\x40');
  EXPECT_EQ(decode(f.build(), img), kBmpOk);
}

TEST(BmpRead, FileThatCannotBeOpened) {
  TempDir dir;
  WorkImage img;
  EXPECT_EQ(readBmpFile(dir.file("missing.bmp"), img), kBmpCannotOpen);
  EXPECT_EQ(readBmpFile(dir.path(), img), kBmpCannotOpen);
}

// --- Writing ----------------------------------------------------------------------------------

WorkImage oddPicture() {
  WorkImage img(5, 3);  // 15 bytes a row, padded to 16
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) img.setPixel(x, y, makeColour(x * 50, y * 100, 7 + x + y));
  return img;
}

TEST(BmpWrite, HeaderFields) {
  const std::string bytes = encodeBmp(oddPicture());
  ASSERT_EQ(bytes.size(), 54u + 3 * 16);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(getLe(bytes, 2, 4), bytes.size());
  EXPECT_EQ(getLe(bytes, 10, 4), 54u);
  EXPECT_EQ(getLe(bytes, 14, 4), 40u);
  EXPECT_EQ(getLe(bytes, 18, 4), 5u);
  EXPECT_EQ(getLe(bytes, 22, 4), 3u);  // positive: bottom-up
  EXPECT_EQ(getLe(bytes, 26, 2), 1u);
  EXPECT_EQ(getLe(bytes, 28, 2), 24u);
  EXPECT_EQ(getLe(bytes, 30, 4), 0u);  // BI_RGB
  EXPECT_EQ(getLe(bytes, 34, 4), 48u);
  EXPECT_EQ(getLe(bytes, 38, 4), 11811u);  // 300 dpi
  EXPECT_EQ(getLe(bytes, 42, 4), 11811u);
  EXPECT_EQ(getLe(bytes, 46, 4), 0u);
  // The first stored row is the bottom one, blue first; padding is zero.
  EXPECT_EQ(bytes.substr(54, 3), std::string("\x09\xC8\x00", 3));
  EXPECT_EQ(bytes[54 + 15], '\0');
}

TEST(BmpWrite, RoundTripThroughAFile) {
  TempDir dir;
  const WorkImage picture = oddPicture();
  ASSERT_TRUE(writeBmpFile(dir.file("out.bmp"), picture));
  WorkImage back;
  ASSERT_EQ(readBmpFile(dir.file("out.bmp"), back), kBmpOk);
  EXPECT_TRUE(samePixels(back, picture));
  EXPECT_EQ(dir.read("out.bmp"), encodeBmp(picture));
}

TEST(BmpWrite, FailuresLeaveNothing) {
  TempDir dir;
  EXPECT_EQ(encodeBmp(WorkImage()), "");
  EXPECT_FALSE(writeBmpFile(dir.file("empty.bmp"), WorkImage()));
  EXPECT_FALSE(writeBmpFile(dir.file("no/such/folder.bmp"), oddPicture()));
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace kov
