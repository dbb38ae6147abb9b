#include "captions/caption_smoothing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace kov {

namespace {

// Each pixel gets a code:
//   0      background touching no caption pixel
//   1..4   background: the caption pixels among its four neighbours, or the corner fill's 1 or 2
//   -1     caption pixel
//   -2     caption pixel that sticks out, blended too
// The caption test is kept apart from the picture as flags, because blending a row changes
// colours that the rows below still need to test in their original state.
constexpr std::uint8_t kCaptionFlag = 1;  // exactly the caption colour
constexpr std::uint8_t kCentreFlag = 2;   // a caption pixel that is classified (and maybe blended)

// (photo weight, caption weight) for codes 1, 2, 3, 4 and -2, per pattern A..D.
constexpr int kWeightSlots = 5;
constexpr int kBlurWeightTable[kBlurPatternCount][kWeightSlots][2] = {
    {{4, 1}, {1, 1}, {1, 2}, {1, 3}, {1, 4}},
    {{3, 1}, {3, 5}, {1, 4}, {1, 7}, {0, 10}},
    {{2, 1}, {2, 5}, {1, 5}, {1, 9}, {0, 10}},
    {{1, 1}, {1, 5}, {1, 7}, {1, 9}, {0, 10}},
};

// Blended channel for every code slot, channel (blue, green, red) and photo value.
using BlendTable = std::array<std::array<std::uint8_t, 3 * 256>, kWeightSlots>;

void buildBlendTable(int pattern, Colour captionColour, BlendTable& table) {
  const int caption[3] = {blueOf(captionColour), greenOf(captionColour), redOf(captionColour)};
  for (int slot = 0; slot < kWeightSlots; ++slot) {
    const int wp = kBlurWeightTable[pattern][slot][0];
    const int wc = kBlurWeightTable[pattern][slot][1];
    // Both weights are non-negative, so the mix never leaves 0..255.
    for (int ch = 0; ch < 3; ++ch)
      for (int v = 0; v < 256; ++v)
        table[slot][ch * 256 + v] = std::uint8_t((wp * v + wc * caption[ch]) / (wp + wc));
  }
}

// The rows kept while sweeping down: index i stands for x = x0 + i, with one padding entry
// on each side that stays 0 (nothing there is a caption pixel or holds a code).
struct RowGeometry {
  int x0;     // x of index 0 (a padding entry)
  int first;  // first and one past the last index that is looked at
  int last;
  int centreFirst;  // first and one past the last index that is classified and blended
  int centreLast;
};

void testCaptionRow(const std::uint8_t* pixels, const RowGeometry& g, std::uint8_t b,
                    std::uint8_t gr, std::uint8_t r, bool centreRow, std::uint8_t* flags) {
  const std::uint8_t* p = pixels + 3 * std::size_t(g.x0 + g.first);
  for (int i = g.first; i < g.last; ++i, p += 3)
    flags[i] = std::uint8_t((p[0] == b) & (p[1] == gr) & (p[2] == r));
  if (centreRow)
    for (int i = g.centreFirst; i < g.centreLast; ++i) flags[i] = std::uint8_t(flags[i] * 3);
}

// Codes before the corner fill. A background pixel counts only the caption pixels that are
// classified themselves, as does the whole-picture smoothing at its border.
void classifyRow(const std::uint8_t* above, const std::uint8_t* flags, const std::uint8_t* below,
                 const RowGeometry& g, std::int8_t* codes) {
  for (int i = g.first; i < g.last; ++i) {
    const std::uint8_t f = flags[i];
    if (f & kCentreFlag) {
      const int captionNeighbours = (above[i] & kCaptionFlag) + (flags[i - 1] & kCaptionFlag) +
                                    (flags[i + 1] & kCaptionFlag) + (below[i] & kCaptionFlag);
      // Three or four background neighbours: a lone dot or the tip of a thin stroke.
      codes[i] = std::int8_t(captionNeighbours <= 1 ? -2 : -1);
    } else if (f & kCaptionFlag) {
      codes[i] = 0;
    } else {
      codes[i] = std::int8_t((above[i] >> 1) + (flags[i - 1] >> 1) + (flags[i + 1] >> 1) +
                             (below[i] >> 1));
    }
  }
}

// In place, left to right: the pixel to the left (and the row above) already hold their
// final codes, which lets the corner fill run along a stroke's outline.
void sweepRow(const std::int8_t* above, std::int8_t* codes, const std::int8_t* below,
              const RowGeometry& g) {
  for (int i = g.centreFirst; i < g.centreLast; ++i) {
    const int v = codes[i];
    if (v == 0) {
      const int sum = std::max<int>(above[i], 0) + std::max<int>(codes[i - 1], 0) +
                      std::max<int>(codes[i + 1], 0) + std::max<int>(below[i], 0);
      codes[i] = std::int8_t(sum >= 7 ? 2 : sum >= 4 ? 1 : 0);
    } else if (v < 0) {
      const int open =
          (above[i] >= 2) + (codes[i - 1] >= 2) + (codes[i + 1] >= 2) + (below[i] >= 2);
      if (open >= 2) codes[i] = -2;  // a glyph corner open on two sides
    }
  }
}

void blendRow(const std::int8_t* codes, const RowGeometry& g, const BlendTable& table,
              const std::uint8_t* photo, std::uint8_t* caption) {
  for (int i = g.centreFirst; i < g.centreLast; ++i) {
    const int v = codes[i];
    if (v == 0 || v == -1) continue;
    const std::uint8_t* t = table[v > 0 ? v - 1 : 4].data();
    const std::size_t at = 3 * std::size_t(g.x0 + i);
    caption[at] = t[photo[at]];
    caption[at + 1] = t[256 + photo[at + 1]];
    caption[at + 2] = t[512 + photo[at + 2]];
  }
}

}  // namespace

void smoothCaptionEdges(WorkImage& caption, const WorkImage& photo, Colour captionColour,
                        int blurPattern, PixelRect box) {
  const int w = caption.width();
  const int h = caption.height();
  if (photo.width() != w || photo.height() != h) return;

  // The pixels that are classified and blended ("centres"): inside the box's outer ring and
  // never in column 0, row 0 or the last two columns and rows. Their neighbours, all inside
  // the box and the picture, are only looked at.
  const int cx0 = std::max(std::clamp(box.left, 0, w) + 1, 1);
  const int cx1 = std::min(std::clamp(box.right, 0, w) - 1, w - 2);
  const int cy0 = std::max(std::clamp(box.top, 0, h) + 1, 1);
  const int cy1 = std::min(std::clamp(box.bottom, 0, h) - 1, h - 2);
  if (cx0 >= cx1 || cy0 >= cy1) return;

  const int pattern = std::clamp(blurPattern, 0, kBlurPatternCount - 1);
  BlendTable table;
  buildBlendTable(pattern, captionColour, table);

  const int n = cx1 - cx0 + 2;  // columns looked at: cx0 - 1 .. cx1
  const RowGeometry g{cx0 - 2, 1, n + 1, 2, n};
  const std::size_t stride = std::size_t(n) + 2;
  std::vector<std::uint8_t> flagRows(3 * stride, 0);
  std::vector<std::int8_t> codeRows(3 * stride, 0);
  std::uint8_t* fAbove = flagRows.data();
  std::uint8_t* fRow = fAbove + stride;
  std::uint8_t* fBelow = fRow + stride;
  std::int8_t* cAbove = codeRows.data();
  std::int8_t* cRow = cAbove + stride;
  std::int8_t* cBelow = cRow + stride;

  const std::uint8_t b = blueOf(captionColour);
  const std::uint8_t gr = greenOf(captionColour);
  const std::uint8_t r = redOf(captionColour);
  auto testRow = [&](int y, std::uint8_t* flags) {
    if (y < cy0 - 1 || y > cy1) {
      std::memset(flags, 0, stride);
    } else {
      testCaptionRow(caption.row(y), g, b, gr, r, y >= cy0 && y < cy1, flags);
    }
  };
  auto nextFlagRow = [&](int y) {
    std::swap(fAbove, fRow);
    std::swap(fRow, fBelow);
    testRow(y, fBelow);
  };

  testRow(cy0 - 2, fAbove);
  testRow(cy0 - 1, fRow);
  testRow(cy0, fBelow);
  classifyRow(fAbove, fRow, fBelow, g, cAbove);
  nextFlagRow(cy0 + 1);
  classifyRow(fAbove, fRow, fBelow, g, cRow);
  for (int y = cy0; y < cy1; ++y) {
    // Row y + 2 is tested before row y is blended, so every test sees the drawn caption.
    nextFlagRow(y + 2);
    classifyRow(fAbove, fRow, fBelow, g, cBelow);
    sweepRow(cAbove, cRow, cBelow, g);
    blendRow(cRow, g, table, photo.row(y), caption.row(y));
    std::swap(cAbove, cRow);
    std::swap(cRow, cBelow);
  }
}

}  // namespace kov
