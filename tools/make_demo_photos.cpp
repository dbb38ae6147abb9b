// Writes photo-like JPEG photos to try kovanta-batch on: sky, sun, hills and
// grain, different for every photo; every third one stands upright. With
// --a4-frame it writes instead an A4 frame at 300 dpi with three captions
// (a4.ini and a4.bmp), the frame of the whole-run benchmark.
//
//   make_demo_photos FOLDER [COUNT [WIDTHxHEIGHT]]   default: 6 photos of 1600x1200
//   make_demo_photos --a4-frame FOLDER

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/font_size.h"
#include "frame/frame_file.h"
#include "platform/bmp_codec.h"
#include "platform/file_util.h"
#include "platform/jpeg_codec.h"
#include "platform/work_image.h"

namespace kov {
namespace {

constexpr int kPhotoQuality = 92;

std::uint32_t hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

// -range..range, fixed for a pixel and a seed.
int grain(int x, int y, std::uint32_t seed, int range) {
  const std::uint32_t h = hash(std::uint32_t(x) * 73856093U ^ std::uint32_t(y) * 19349663U ^ seed);
  return int(h % std::uint32_t(2 * range + 1)) - range;
}

std::uint8_t clampByte(double v) { return std::uint8_t(std::clamp(v, 0.0, 255.0)); }

struct Rgb {
  double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

WorkImage drawPhoto(int w, int h, int index) {
  const std::uint32_t seed = hash(std::uint32_t(index) + 1);
  const double phase = (seed % 1000) / 1000.0 * 6.283;
  const double sunX = 0.2 + (seed % 7) / 10.0, sunY = 0.12 + (seed % 5) / 50.0;
  const double warmth = (seed % 3) * 0.15;
  // The skyline of each hill range, per column.
  const std::size_t columns = std::size_t(w);
  std::vector<double> farLine(columns), nearLine(columns);
  for (int x = 0; x < w; ++x) {
    const double u = double(x) / w;
    farLine[std::size_t(x)] = 0.50 + 0.06 * std::sin(u * 7.0 + phase) + 0.02 * std::sin(u * 23.0);
    nearLine[std::size_t(x)] = 0.68 + 0.05 * std::sin(u * 4.0 - phase) + 0.015 * std::sin(u * 41.0);
  }
  const Rgb skyTop{40, 90 + 40 * warmth, 190}, skyLow{200 + 50 * warmth, 215, 235};
  const Rgb farHill{70, 120, 110}, nearHill{60 + 60 * warmth, 140, 50}, soil{120, 95, 60};
  WorkImage image(w, h);
  const double aspect = double(w) / h;
  for (int y = 0; y < h; ++y) {
    const double v = double(y) / h;
    std::uint8_t* row = image.row(y);
    for (int x = 0; x < w; ++x) {
      const double u = double(x) / w;
      Rgb c;
      if (v < farLine[std::size_t(x)]) {
        c = mix(skyTop, skyLow, v / farLine[std::size_t(x)]);
        const double dx = (u - sunX) * aspect, dy = v - sunY;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double glow = d < 0.05 ? 1.0 : std::exp(-(d - 0.05) * 18.0) * 0.6;
        c = mix(c, {255, 240, 190}, glow);
      } else if (v < nearLine[std::size_t(x)]) {
        c = mix(farHill, skyLow, 0.25 * (nearLine[std::size_t(x)] - v) * 8.0);
      } else {
        const double t = std::min((v - nearLine[std::size_t(x)]) * 3.0, 1.0);
        c = mix(nearHill, soil, t * t);
        const int leaf = grain(x / 3, y / 3, seed, 18);  // coarse texture: grass and leaves
        c = {c.r + leaf, c.g + leaf * 1.3, c.b + leaf * 0.5};
      }
      const int g = grain(x, y, seed ^ 0x5bd1e995U, 5);  // sensor grain
      row[3 * x] = clampByte(c.b + g);
      row[3 * x + 1] = clampByte(c.g + g);
      row[3 * x + 2] = clampByte(c.r + g);
    }
  }
  return image;
}

bool writePhotos(const std::string& folder, int count, int width, int height) {
  if (!createFolders(folder)) return false;
  for (int i = 1; i <= count; ++i) {
    const bool upright = i % 3 == 0;
    const int w = upright ? height : width, h = upright ? width : height;
    char name[64];
    std::snprintf(name, sizeof name, "%dx%d_%02d.jpg", w, h, i);
    if (writeJpegFile(joinPath(folder, name), drawPhoto(w, h, i), kPhotoQuality) != kJpegOk)
      return false;
  }
  return true;
}

// A4 upright at 300 dpi: 210 x 297 mm.
constexpr int kA4Width = 2480, kA4Height = 3508;
constexpr int kWindowLeft = 140, kWindowTop = 140, kWindowWidth = 2200, kWindowHeight = 2600;

CaptionItem caption(const char* text, const char* face, int size, bool bold, int y) {
  CaptionItem c;
  c.text = text;
  c.font.name = face;
  c.font.height = fontHeightFromSize(size);
  c.font.style.bold = bold;
  c.font.colour = makeColour(60, 50, 40);
  c.positionX = kA4Width / 2;
  c.positionY = y;
  return c;
}

bool writeA4Frame(const std::string& folder) {
  if (!createFolders(folder)) return false;
  WorkImage image(kA4Width, kA4Height);
  image.fill(makeColour(248, 244, 236));
  const Colour line = makeColour(150, 120, 90);
  for (int y = kWindowTop - 24; y < kWindowTop + kWindowHeight + 24; ++y)
    for (int x = kWindowLeft - 24; x < kWindowLeft + kWindowWidth + 24; ++x) {
      const bool inside = x >= kWindowLeft && x < kWindowLeft + kWindowWidth && y >= kWindowTop &&
                          y < kWindowTop + kWindowHeight;
      const bool edge = x < kWindowLeft - 16 || x >= kWindowLeft + kWindowWidth + 16 ||
                        y < kWindowTop - 16 || y >= kWindowTop + kWindowHeight + 16;
      if (inside)
        image.setPixel(x, y, kBlack);  // the photo shows through pure black
      else if (edge)
        image.setPixel(x, y, line);
    }
  FrameFileContents c;
  c.sizeTexts = {
      std::to_string(kA4Width),     std::to_string(kA4Height),
      std::to_string(kWindowWidth), std::to_string(kWindowHeight),
      std::to_string(kWindowLeft),  std::to_string(kA4Width - kWindowLeft - kWindowWidth),
      std::to_string(kWindowTop),   std::to_string(kA4Height - kWindowTop - kWindowHeight)};
  c.captions = {caption("卒業記念 2025", "ＭＳ Ｐゴシック", 130, true, 2860),
                caption("2025年3月14日", "ＭＳ Ｐ明朝", 60, false, 3110),
                caption("第42回卒業生 一同", "ＭＳ Ｐゴシック", 48, false, 3240)};
  c.titleX = c.dateX = kA4Width / 2;
  c.otherX = kA4Width / 2;
  c.titleY = c.captions[0].positionY;
  c.dateY = c.captions[1].positionY;
  c.otherY = c.captions[2].positionY;
  c.referencePosition = TrimmingReference::Centre;
  const std::string ini = joinPath(folder, "a4.ini");
  std::error_code ec;
  std::filesystem::remove(ini, ec);  // written afresh, never merged into an old file
  return writeBmpFile(joinPath(folder, "a4.bmp"), image) && writeFrameFile(ini, c);
}

}  // namespace
}  // namespace kov

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--a4-frame" && argc == 3) {
    if (kov::writeA4Frame(argv[2])) return 0;
    std::fprintf(stderr, "cannot write the frame into %s\n", argv[2]);
    return 1;
  }
  int count = 6, width = 1600, height = 1200;
  bool ok = argc >= 2 && argc <= 4 && first.rfind("-", 0) != 0;
  if (ok && argc >= 3) ok = std::sscanf(argv[2], "%d", &count) == 1 && count > 0 && count < 1000;
  if (ok && argc == 4)
    ok = std::sscanf(argv[3], "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
         std::int64_t(width) * height <= 100'000'000;
  if (!ok) {
    std::fprintf(stderr,
                 "usage: %s FOLDER [COUNT [WIDTHxHEIGHT]]\n"
                 "       %s --a4-frame FOLDER\n",
                 argv[0], argv[0]);
    return 2;
  }
  if (kov::writePhotos(first, count, width, height)) return 0;
  std::fprintf(stderr, "cannot write the photos into %s\n", first.c_str());
  return 1;
}
