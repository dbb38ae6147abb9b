// Writes the frame designs shipped in Frame/: frame001 (the default, portrait
// L-size with a BMP image) and frame002 (landscape L-size with a TGA image whose
// window fades softly into the photo). Every run gives the same bytes.
//
//   make_default_frames <folder>

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
#include "platform/profile.h"
#include "platform/work_image.h"

namespace kov {
namespace {

struct Rect {
  int left, top, right, bottom;  // right and bottom excluded
};

struct Design {
  const char* name;
  int frameWidth, frameHeight;
  Rect window;
  Colour paper, line, text;
};

// L-size (89 x 127 mm) at 300 dpi, upright: cream paper, a brown line around the window.
constexpr Design kFrame001{.name = "frame001",
                           .frameWidth = 1051,
                           .frameHeight = 1500,
                           .window = {64, 64, 987, 1244},
                           .paper = makeColour(250, 244, 228),
                           .line = makeColour(176, 141, 100),
                           .text = makeColour(92, 64, 40)};
// L-size lying: pale blue paper with a double line along its edge.
constexpr Design kFrame002{.name = "frame002",
                           .frameWidth = 1500,
                           .frameHeight = 1051,
                           .window = {230, 72, 1270, 852},
                           .paper = makeColour(226, 236, 246),
                           .line = makeColour(122, 150, 186),
                           .text = makeColour(56, 76, 106)};
// How far into the window frame002's edge fades.
constexpr int kFadeWidth = 40;

void fillRect(WorkImage& image, Rect r, Colour c) {
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.height()); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.right, image.width()); ++x)
      image.setPixel(x, y, c);
}

// A line `thickness` wide just outside `r`, `gap` pixels away from it.
void outline(WorkImage& image, Rect r, int gap, int thickness, Colour c) {
  const Rect o{r.left - gap - thickness, r.top - gap - thickness, r.right + gap + thickness,
               r.bottom + gap + thickness};
  fillRect(image, {o.left, o.top, o.right, o.top + thickness}, c);
  fillRect(image, {o.left, o.bottom - thickness, o.right, o.bottom}, c);
  fillRect(image, {o.left, o.top, o.left + thickness, o.bottom}, c);
  fillRect(image, {o.right - thickness, o.top, o.right, o.bottom}, c);
}

// Paper with a thin line along its edge, `inset` pixels in.
WorkImage drawPaper(const Design& d, int inset) {
  WorkImage image(d.frameWidth, d.frameHeight);
  image.fill(d.paper);
  const int t = 2;
  outline(image, {inset + t, inset + t, d.frameWidth - inset - t, d.frameHeight - inset - t}, 0, t,
          d.line);
  return image;
}

CaptionItem caption(const char* text, const char* face, int size, bool bold, Colour colour, int x,
                    int y) {
  CaptionItem c;
  c.text = text;
  c.font.name = face;
  c.font.height = fontHeightFromSize(size);
  c.font.style.bold = bold;
  c.font.colour = colour;
  c.positionX = x;
  c.positionY = y;
  return c;
}

FrameFileContents contentsFor(const Design& d, const CaptionItem& title, const CaptionItem& date,
                              const CaptionItem& other) {
  const Rect& w = d.window;
  FrameFileContents c;
  c.sizeTexts = {std::to_string(d.frameWidth),
                 std::to_string(d.frameHeight),
                 std::to_string(w.right - w.left),
                 std::to_string(w.bottom - w.top),
                 std::to_string(w.left),
                 std::to_string(d.frameWidth - w.right),
                 std::to_string(w.top),
                 std::to_string(d.frameHeight - w.bottom)};
  c.titleX = title.positionX;
  c.titleY = title.positionY;
  c.dateX = date.positionX;
  c.dateY = date.positionY;
  c.otherX = other.positionX;
  c.otherY = other.positionY;
  c.captions = {title, date, other};
  c.lineSpacing = 10;
  c.referencePosition = TrimmingReference::Centre;
  return c;
}

// frame002's opacity: 255 on the paper and at the window's edge, falling
// smoothly to 0 over kFadeWidth pixels inwards; the window's corners are
// rounded off by measuring from the inner rectangle where the fade ends.
std::uint8_t fadeAlpha(const Rect& w, int x, int y) {
  if (x < w.left || x >= w.right || y < w.top || y >= w.bottom) return 255;
  const int dx = std::max({w.left + kFadeWidth - x, 0, x - (w.right - 1 - kFadeWidth)});
  const int dy = std::max({w.top + kFadeWidth - y, 0, y - (w.bottom - 1 - kFadeWidth)});
  const double t = std::min(std::sqrt(double(dx * dx + dy * dy)) / kFadeWidth, 1.0);
  return std::uint8_t(std::lround(255.0 * t * t * (3.0 - 2.0 * t)));
}

// A 32-bit run-length encoded TGA, bottom row first (descriptor 8), no packet
// crossing a row.
std::string encodeTga(const WorkImage& image, const std::vector<std::uint8_t>& alpha) {
  const int w = image.width(), h = image.height();
  std::string out(18, '\0');
  out[2] = 10;
  out[12] = char(w & 0xFF);
  out[13] = char(w >> 8);
  out[14] = char(h & 0xFF);
  out[15] = char(h >> 8);
  out[16] = 32;
  out[17] = 8;
  std::vector<std::uint32_t> row(std::size_t(w), 0);
  const auto put = [&](std::uint32_t p) {
    for (int k = 0; k < 4; ++k) out += char((p >> (8 * k)) & 0xFF);
  };
  for (int y = h - 1; y >= 0; --y) {
    const std::uint8_t* src = image.row(y);
    for (int x = 0; x < w; ++x)  // B, G, R, A in the file
      row[std::size_t(x)] = std::uint32_t(src[3 * x]) | std::uint32_t(src[3 * x + 1]) << 8 |
                            std::uint32_t(src[3 * x + 2]) << 16 |
                            std::uint32_t(alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)])
                                << 24;
    for (int x = 0; x < w;) {
      int run = 1;
      while (x + run < w && run < 128 && row[std::size_t(x + run)] == row[std::size_t(x)]) ++run;
      if (run > 1) {
        out += char(0x80 | (run - 1));
        put(row[std::size_t(x)]);
        x += run;
        continue;
      }
      int n = 1;
      while (x + n < w && n < 128 &&
             !(x + n + 1 < w && row[std::size_t(x + n)] == row[std::size_t(x + n + 1)]))
        ++n;
      out += char(n - 1);
      for (int k = 0; k < n; ++k) put(row[std::size_t(x + k)]);
      x += n;
    }
  }
  return out;
}

bool writeDesign(const std::string& folder, const Design& d, const FrameFileContents& contents) {
  const std::string ini = joinPath(folder, std::string(d.name) + ".ini");
  std::error_code ec;
  std::filesystem::remove(ini, ec);  // written afresh, never merged into an old file
  return writeFrameFile(ini, contents);
}

bool makeFrame001(const std::string& folder) {
  const Design& d = kFrame001;
  WorkImage image = drawPaper(d, 24);
  outline(image, d.window, 12, 3, d.line);
  fillRect(image, d.window, kBlack);  // the photo shows through pure black
  const int mid = d.frameWidth / 2;
  const FrameFileContents contents =
      contentsFor(d, caption("記念撮影", "ＭＳ Ｐゴシック", 60, true, d.text, mid, 1290),
                  caption("20xx年xx月xx日", "ＭＳ Ｐ明朝", 27, false, d.text, mid, 1392),
                  caption("", "ＭＳ Ｐゴシック", 21, false, d.text, mid, 1436));
  return writeBmpFile(joinPath(folder, "frame001.bmp"), image) && writeDesign(folder, d, contents);
}

bool makeFrame002(const std::string& folder) {
  const Design& d = kFrame002;
  WorkImage image = drawPaper(d, 20);
  outline(image, {30, 30, d.frameWidth - 30, d.frameHeight - 30}, 0, 1, d.line);
  std::vector<std::uint8_t> alpha(std::size_t(d.frameWidth) * std::size_t(d.frameHeight));
  for (int y = 0; y < d.frameHeight; ++y)
    for (int x = 0; x < d.frameWidth; ++x)
      alpha[std::size_t(y) * std::size_t(d.frameWidth) + std::size_t(x)] =
          fadeAlpha(d.window, x, y);
  const int mid = d.frameWidth / 2;
  const FrameFileContents contents =
      contentsFor(d, caption("記念撮影", "ＭＳ Ｐゴシック", 54, true, d.text, mid, 872),
                  caption("20xx年xx月xx日", "ＭＳ Ｐ明朝", 22, false, d.text, mid, 962),
                  caption("", "ＭＳ Ｐゴシック", 21, false, d.text, mid, 34));
  if (!writeFileAtomic(joinPath(folder, "frame002.tga"), encodeTga(image, alpha)) ||
      !writeDesign(folder, d, contents))
    return false;
  // The writer names a BMP; this design's image is the TGA, so that the frame
  // editor finds it as well as the main window.
  const std::string ini = joinPath(folder, "frame002.ini");
  std::optional<Profile> file = Profile::load(ini);
  if (!file) return false;
  file->write("Frame", "PhotoFile", "frame002.tga");
  return file->save(ini);
}

}  // namespace
}  // namespace kov

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  if (!kov::createFolders(folder) || !kov::makeFrame001(folder) || !kov::makeFrame002(folder)) {
    std::fprintf(stderr, "cannot write the frames into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
