#include "platform/jpeg_codec.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_util.h"

#include "support/temp_dir.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

const std::uint8_t* bytesOf(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

int decode(const std::string& bytes, WorkImage& out, JpegInfo* info = nullptr,
           std::int64_t maxPixels = kMaxPicturePixels) {
  return decodeJpegMemory(bytesOf(bytes), bytes.size(), out, info, maxPixels);
}

// Smooth, with every channel running its own way, so swapped channels or mirrored rows show.
WorkImage gradientPicture(int width, int height) {
  WorkImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y,
                     makeColour(std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                                std::uint8_t(128 + (x - y) / 4)));
  return image;
}

std::string encoded(const WorkImage& image, int quality = 90) {
  std::string bytes;
  EXPECT_EQ(encodeJpeg(image, quality, bytes), kJpegOk);
  return bytes;
}

// Offset of the first marker `code` before the scan data, or npos.
std::size_t findMarker(const std::string& jpeg, std::uint8_t code) {
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
    const std::uint8_t marker = std::uint8_t(jpeg[at + 1]);
    if (marker == code) return at;
    if (marker == 0xDA) break;
    at += 2 + (std::uint8_t(jpeg[at + 2]) << 8 | std::uint8_t(jpeg[at + 3]));
  }
  return std::string::npos;
}

// A uniform picture written by libjpeg itself in colour spaces our encoder never writes.
struct MadeJpeg {
  const char* name;
  J_COLOR_SPACE input;
  J_COLOR_SPACE stored;
  bool adobeMarker;
  bool progressive;
  std::vector<std::uint8_t> sample;  // one pixel's components, repeated over the picture
  Colour expected;
};

std::string makeJpeg(const MadeJpeg& m) {
  constexpr int kSize = 24;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = kSize;
  cinfo.image_height = kSize;
  cinfo.input_components = int(m.sample.size());
  cinfo.in_color_space = m.input;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, m.stored);
  cinfo.write_Adobe_marker = m.adobeMarker;
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (m.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < kSize; ++x) row.insert(row.end(), m.sample.begin(), m.sample.end());
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  jpeg_destroy_compress(&cinfo);
  return bytes;
}

void expectUniform(const WorkImage& image, Colour expected, const char* name) {
  int worst = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Colour c = image.pixel(x, y);
      worst = std::max({worst, std::abs(redOf(c) - redOf(expected)),
                        std::abs(greenOf(c) - greenOf(expected)),
                        std::abs(blueOf(c) - blueOf(expected))});
    }
  EXPECT_LE(worst, 3) << name;
}

TEST(JpegDecode, EveryColourSpaceComesOutAsBgr) {
  const Colour grey = makeColour(90, 90, 90);
  const Colour orange = makeColour(200, 100, 40);
  // Ink 200/100/40 with black 200, as light: red = 200 * 200 / 255 = 157, and so on.
  const Colour fromInk = makeColour(157, 78, 31);
  const std::vector<MadeJpeg> cases = {
      {"grayscale", JCS_GRAYSCALE, JCS_GRAYSCALE, false, false, {90}, grey},
      {"grayscale progressive", JCS_GRAYSCALE, JCS_GRAYSCALE, false, true, {90}, grey},
      {"YCbCr", JCS_RGB, JCS_YCbCr, false, false, {200, 100, 40}, orange},
      {"YCbCr progressive", JCS_RGB, JCS_YCbCr, false, true, {200, 100, 40}, orange},
      {"RGB", JCS_RGB, JCS_RGB, true, false, {200, 100, 40}, orange},
      // With the Adobe marker the stored values are inverted: 255 is no ink.
      {"Adobe CMYK", JCS_CMYK, JCS_CMYK, true, false, {200, 100, 40, 200}, fromInk},
      {"Adobe CMYK progressive", JCS_CMYK, JCS_CMYK, true, true, {200, 100, 40, 200}, fromInk},
      {"Adobe YCCK", JCS_CMYK, JCS_YCCK, true, false, {200, 100, 40, 200}, fromInk},
      {"plain CMYK", JCS_CMYK, JCS_CMYK, false, false, {55, 155, 215, 55}, fromInk},
  };
  for (const MadeJpeg& m : cases) {
    WorkImage image;
    ASSERT_EQ(decode(makeJpeg(m), image), kJpegOk) << m.name;
    ASSERT_EQ(image.width(), 24) << m.name;
    ASSERT_EQ(image.height(), 24) << m.name;
    expectUniform(image, m.expected, m.name);
  }
}

// Thousands of repeated scans in a small file would each cost a pass over the picture.
TEST(JpegDecode, RefusesEndlessScans) {
  const std::string jpeg =
      makeJpeg({"progressive", JCS_GRAYSCALE, JCS_GRAYSCALE, false, true, {90}, kBlack});
  const std::size_t lastScan = jpeg.rfind("\xFF\xDA");
  ASSERT_NE(lastScan, std::string::npos);
  const std::string body = jpeg.substr(0, jpeg.size() - 2);  // without the end marker
  const std::string scan = body.substr(lastScan);
  auto withExtraScans = [&](int extra) {
    std::string bytes = body;
    for (int i = 0; i < extra; ++i) bytes += scan;
    return bytes + "\xFF\xD9";
  };
  WorkImage image;
  JpegInfo info;
  EXPECT_EQ(decode(withExtraScans(900), image, &info), kJpegOk);
  EXPECT_TRUE(info.warned);
  EXPECT_EQ(decode(withExtraScans(1100), image), kJpegDamaged);
}

TEST(JpegCodec, RoundTripIsCloseAndKeepsSize) {
  const WorkImage original = gradientPicture(101, 67);  // not a multiple of the 16-pixel MCU
  WorkImage decoded;
  JpegInfo info;
  info.orientation = 5;
  ASSERT_EQ(decode(encoded(original, 95), decoded, &info), kJpegOk);
  ASSERT_EQ(decoded.width(), 101);
  ASSERT_EQ(decoded.height(), 67);
  EXPECT_EQ(info.orientation, 1);
  EXPECT_FALSE(info.warned);
  long total = 0;
  int worst = 0;
  for (int y = 0; y < 67; ++y)
    for (int x = 0; x < 3 * 101; ++x) {
      const int d = std::abs(original.row(y)[x] - decoded.row(y)[x]);
      total += d;
      worst = std::max(worst, d);
    }
  EXPECT_LT(double(total) / (101 * 67 * 3), 1.5);
  EXPECT_LE(worst, 12);
}

TEST(JpegEncode, WritesBaselineJfifAt300Dpi) {
  const std::string jpeg = encoded(gradientPicture(40, 30));
  ASSERT_GE(jpeg.size(), 18u);
  const std::string expected("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x01\x2C\x01\x2C", 18);
  EXPECT_EQ(jpeg.substr(0, 18), expected);  // units 1 (dots per inch), 300 x 300
  const std::size_t sof = findMarker(jpeg, 0xC0);
  ASSERT_NE(sof, std::string::npos) << "no baseline frame header";
  EXPECT_EQ(std::uint8_t(jpeg[sof + 9]), 3) << "components";
  EXPECT_EQ(findMarker(jpeg, 0xC2), std::string::npos);
}

TEST(JpegEncode, QualityIsClamped) {
  const WorkImage image = gradientPicture(48, 32);
  EXPECT_EQ(encoded(image, 0), encoded(image, 1));
  EXPECT_EQ(encoded(image, -20), encoded(image, 1));
  EXPECT_EQ(encoded(image, 250), encoded(image, 100));
  EXPECT_NE(encoded(image, 1), encoded(image, 100));
}

TEST(JpegEncode, RefusesWhatJpegCannotHold) {
  std::string bytes = "left over";
  EXPECT_EQ(encodeJpeg(WorkImage(), 90, bytes), kJpegEmptyPicture);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(encodeJpeg(WorkImage(70000, 1), 90, bytes), kJpegTooLarge);
  EXPECT_TRUE(bytes.empty());
}

TEST(JpegDecode, PixelLimitRefusesBeforeDecoding) {
  const std::string jpeg = encoded(gradientPicture(40, 30));
  WorkImage image;
  EXPECT_EQ(decode(jpeg, image, nullptr, 40 * 30 - 1), kJpegTooLarge);
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(decode(jpeg, image, nullptr, 40 * 30), kJpegOk);

  // A small file claiming 60000 x 60000 pixels is refused from its header alone.
  std::string huge = jpeg;
  const std::size_t sof = findMarker(huge, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  huge.replace(sof + 5, 4, "\xEA\x60\xEA\x60");
  EXPECT_EQ(decode(huge, image), kJpegTooLarge);
  EXPECT_TRUE(image.empty());
}

TEST(JpegDecode, BadBytesFailAndLeaveNoPicture) {
  const std::string jpeg = encoded(gradientPicture(40, 30));
  const std::size_t sos = jpeg.find("\xFF\xDA");
  ASSERT_NE(sos, std::string::npos);
  std::string zeroHeight = jpeg;
  zeroHeight.replace(findMarker(jpeg, 0xC0) + 5, 2, std::string(2, '\0'));
  std::string fourComponentsClaimed = jpeg;
  fourComponentsClaimed[findMarker(jpeg, 0xC0) + 9] = 4;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"text", "this is not a picture at all"},
      {"start of image only", "\xFF\xD8"},
      {"PNG signature", "\x89PNG\r\n\x1A\n"},
      {"headers without scan", jpeg.substr(0, sos)},
      {"zero height", zeroHeight},
      {"frame header inconsistent", fourComponentsClaimed},
  };
  for (const auto& c : cases) {
    WorkImage image = gradientPicture(8, 8);
    JpegInfo info;
    EXPECT_EQ(decode(c.bytes, image, &info), kJpegDamaged) << c.name;
    EXPECT_TRUE(image.empty()) << c.name;
  }
  WorkImage image;
  EXPECT_EQ(decodeJpegMemory(nullptr, 0, image), kJpegDamaged);
}

TEST(JpegDecode, TruncatedScanStillDecodesWithWarning) {
  const std::string jpeg = encoded(gradientPicture(64, 64));
  WorkImage image;
  JpegInfo info;
  ASSERT_EQ(decode(jpeg.substr(0, jpeg.size() * 6 / 10), image, &info), kJpegOk);
  EXPECT_EQ(image.width(), 64);
  EXPECT_EQ(image.height(), 64);
  EXPECT_TRUE(info.warned);
}

TEST(JpegFile, ReadFailures) {
  test::TempDir dir;
  dir.write("empty.jpg", "");
  dir.write("junk.jpg", std::string(1000, '\x5A'));
  WorkImage image = gradientPicture(4, 4);
  EXPECT_EQ(decodeJpegFile(dir.file("missing.jpg"), image), kJpegCannotOpen);
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(decodeJpegFile(dir.path(), image), kJpegCannotOpen);
  EXPECT_EQ(decodeJpegFile(dir.file("empty.jpg"), image), kJpegDamaged);
  EXPECT_EQ(decodeJpegFile(dir.file("junk.jpg"), image), kJpegDamaged);
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(JpegFile, WriteReplacesAtomically) {
  test::TempDir dir;
  const WorkImage image = gradientPicture(40, 30);
  const std::string path = dir.file("out.jpg");
  dir.write("out.jpg", "an older file");

  ASSERT_EQ(writeJpegFile(path, image, 90), kJpegOk);
  EXPECT_EQ(dir.read("out.jpg"), encoded(image, 90));
  EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"out.jpg"});
  WorkImage fromFile, fromMemory;
  ASSERT_EQ(decodeJpegFile(path, fromFile), kJpegOk);
  ASSERT_EQ(decode(encoded(image, 90), fromMemory), kJpegOk);
  EXPECT_TRUE(samePixels(fromFile, fromMemory));

  // Nothing is written when there is nothing to encode: the existing file stays.
  const std::string before = dir.read("out.jpg");
  EXPECT_EQ(writeJpegFile(path, WorkImage(), 90), kJpegEmptyPicture);
  EXPECT_EQ(dir.read("out.jpg"), before);

  // A folder that does not exist cannot be written into, even by root.
  EXPECT_EQ(writeJpegFile(dir.file("no such folder/out.jpg"), image, 90), kJpegWriteFailed);
  EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"out.jpg"});
  // Writing onto a folder fails and leaves it alone.
  EXPECT_EQ(writeJpegFile(dir.path(), image, 90), kJpegWriteFailed);
  EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"out.jpg"});
}

// Real files from cameras and other programs.
class JpegPhotos : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = test::testDataPath("photos");
    if (m_folder.empty() || !fs::is_directory(m_folder)) GTEST_SKIP() << "no test photos";
  }
  std::string photo(const std::string& name) const { return m_folder + "/" + name; }

  std::string m_folder;
};

TEST_F(JpegPhotos, EveryPhotoDecodesOrFailsCleanly) {
  // libjpeg works around the damage in these, as djpeg does.
  const std::set<std::string> damaged = {"corrupted.jpg", "pillow_truncated_jpeg.jpg",
                                         "pillow_junk_jpeg_header.jpg"};
  int decoded = 0;
  for (const auto& entry : fs::directory_iterator(m_folder)) {
    const std::string name = entry.path().filename().string();
    WorkImage image;
    JpegInfo info;
    const int result = decodeJpegFile(entry.path().string(), image, &info);
    if (result != kJpegOk) {
      EXPECT_EQ(result, kJpegDamaged) << name;
      EXPECT_TRUE(image.empty()) << name;
      continue;
    }
    ++decoded;
    EXPECT_FALSE(image.empty()) << name;
    EXPECT_EQ(info.warned, damaged.count(name) == 1) << name;
    // The same bytes from memory give the same picture.
    const std::optional<std::string> bytes = readFileBytes(entry.path().string());
    ASSERT_TRUE(bytes) << name;
    WorkImage fromMemory;
    ASSERT_EQ(decode(*bytes, fromMemory), kJpegOk) << name;
    EXPECT_TRUE(samePixels(image, fromMemory)) << name;
  }
  EXPECT_GT(decoded, 30);
}

TEST_F(JpegPhotos, OrientationIsReadNotApplied) {
  const struct {
    const char* name;
    int orientation;
    int width;
    int height;
  } cases[] = {
      {"landscape_1.jpg", 1, 600, 450},        {"landscape_6.jpg", 6, 450, 600},  // stored sideways
      {"portrait_1.jpg", 1, 450, 600},         {"portrait_6.jpg", 6, 600, 450},
      {"invalid_exif_01088.jpg", 1, 425, 120},
  };
  for (const auto& c : cases) {
    WorkImage image;
    JpegInfo info;
    ASSERT_EQ(decodeJpegFile(photo(c.name), image, &info), kJpegOk) << c.name;
    EXPECT_EQ(info.orientation, c.orientation) << c.name;
    EXPECT_EQ(image.width(), c.width) << c.name;
    EXPECT_EQ(image.height(), c.height) << c.name;
  }
}

// Photoshop's CMYK sample: the word RED in red on black, with a red bar at the top left.
// Decoded without the Adobe inversion it would be cyan on white.
TEST_F(JpegPhotos, AdobeCmykIsNotInverted) {
  WorkImage image;
  ASSERT_EQ(decodeJpegFile(photo("pillow_pil_sample_cmyk.jpg"), image), kJpegOk);
  ASSERT_EQ(image.width(), 100);
  ASSERT_EQ(image.height(), 100);
  for (int x = 0; x < 12; ++x) {
    const Colour bar = image.pixel(x, 1);
    EXPECT_GE(redOf(bar), 230) << x;
    EXPECT_LE(greenOf(bar), 40) << x;
    EXPECT_LE(blueOf(bar), 40) << x;
  }
  for (const auto& [x, y] : {std::pair{50, 90}, {90, 10}, {5, 50}, {95, 95}}) {
    const Colour background = image.pixel(x, y);
    EXPECT_LE(std::max({redOf(background), greenOf(background), blueOf(background)}), 20)
        << x << "," << y;
  }
}

TEST_F(JpegPhotos, GrayscaleBecomesColour) {
  WorkImage image;
  ASSERT_EQ(decodeJpegFile(photo("pillow_hopper_gray.jpg"), image), kJpegOk);
  ASSERT_EQ(image.width(), 128);
  ASSERT_EQ(image.height(), 128);
  int darkest = 255, lightest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const std::uint8_t* p = image.row(y) + 3 * x;
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
      darkest = std::min<int>(darkest, p[0]);
      lightest = std::max<int>(lightest, p[0]);
    }
  EXPECT_GT(lightest - darkest, 150);  // a real picture, not a flat grey
}

}  // namespace
}  // namespace kov
