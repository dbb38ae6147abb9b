#include "captions/caption_smoothing.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kov {
namespace {

// (photo weight, caption weight) for codes 1, 2, 3, 4 and -2, per pattern A..D.
constexpr int kWeights[4][5][2] = {
    {{4, 1}, {1, 1}, {1, 2}, {1, 3}, {1, 4}},
    {{3, 1}, {3, 5}, {1, 4}, {1, 7}, {0, 10}},
    {{2, 1}, {2, 5}, {1, 5}, {1, 9}, {0, 10}},
    {{1, 1}, {1, 5}, {1, 7}, {1, 9}, {0, 10}},
};

// The pixel a code leaves: codes 0 and -1 keep the caption layer's pixel.
Colour codedPixel(int code, int pattern, Colour layer, Colour photo, Colour caption) {
  if (code == 0 || code == -1) return layer;
  const int wp = kWeights[pattern][code > 0 ? code - 1 : 4][0];
  const int wc = kWeights[pattern][code > 0 ? code - 1 : 4][1];
  auto mix = [&](int p, int c) {
    return std::uint8_t(std::clamp((wp * p + wc * c) / (wp + wc), 0, 255));
  };
  return makeColour(mix(redOf(photo), redOf(caption)), mix(greenOf(photo), greenOf(caption)),
                    mix(blueOf(photo), blueOf(caption)));
}

// The smoothing of the whole picture, step by step as described: two planes indexed x first,
// cleared, the copied area copied in, then classification, the second sweep and the blend over
// the centres.
void referenceSmooth(WorkImage& layer, const WorkImage& photo, Colour caption, int pattern) {
  const int W = layer.width();
  const int H = layer.height();
  const int w = W, h = H, cx = W / 2, cy = H / 2;
  auto limit = [](int v, int size) {
    if (v < 1) v = 1;
    if (v >= size - 1) v = size - 2;
    return v;
  };
  const int x0 = limit(cx - w / 2, W), x1 = limit(cx + w / 2, W);
  const int y0 = limit(cy - h / 2, H), y1 = limit(cy + h / 2, H);

  std::vector<std::int32_t> sourcePlane(std::size_t(W) * H, 0);
  std::vector<std::int32_t> workPlane(std::size_t(W) * H, 0);
  auto at = [H](int x, int y) { return std::size_t(x) * H + y; };
  auto packed = [](Colour c) {
    return std::int32_t(redOf(c)) * 65536 + std::int32_t(greenOf(c)) * 256 + blueOf(c);
  };
  // Pictures under 4 x 4 have no centres; their copied area may reach outside the picture.
  for (int x = x0 - 1; x <= x1; ++x)
    for (int y = y0 - 1; y <= y1; ++y)
      if (x >= 0 && y >= 0 && x < W && y < H) sourcePlane[at(x, y)] = packed(layer.pixel(x, y));

  auto isCaption = [&](int x, int y) { return sourcePlane[at(x, y)] == packed(caption); };
  const int dx[4] = {0, -1, 1, 0};
  const int dy[4] = {-1, 0, 0, 1};

  for (int x = x0; x <= x1 - 1; ++x)
    for (int y = y0; y <= y1 - 1; ++y) {
      if (!isCaption(x, y)) continue;
      int k = 0;
      for (int n = 0; n < 4; ++n)
        if (!isCaption(x + dx[n], y + dy[n])) {
          ++workPlane[at(x + dx[n], y + dy[n])];
          ++k;
        }
      workPlane[at(x, y)] = k >= 3 ? -2 : -1;
    }

  for (int y = y0; y <= y1 - 1; ++y)
    for (int x = x0; x <= x1 - 1; ++x) {
      std::int32_t& v = workPlane[at(x, y)];
      if (v == 0) {
        int sum = 0;
        for (int n = 0; n < 4; ++n) sum += std::max(workPlane[at(x + dx[n], y + dy[n])], 0);
        if (sum >= 4) v = 1;
        if (sum >= 7) v = 2;
      }
      if (isCaption(x, y)) {
        int count = 0;
        for (int n = 0; n < 4; ++n) count += workPlane[at(x + dx[n], y + dy[n])] >= 2;
        if (count >= 2) v = -2;
      }
    }

  for (int x = x0; x <= x1 - 1; ++x)
    for (int y = y0; y <= y1 - 1; ++y)
      layer.setPixel(
          x, y,
          codedPixel(workPlane[at(x, y)], pattern, layer.pixel(x, y), photo.pixel(x, y), caption));
}

std::string describe(const PixelRect& r) {
  return "box {" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

// Empty when equal, else where they first differ.
std::string firstDifference(const WorkImage& a, const WorkImage& b) {
  if (a.width() != b.width() || a.height() != b.height()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return {};
}

Colour randomColour(std::mt19937& rng) {
  return std::uniform_int_distribution<Colour>(0, 0xFFFFFF)(rng);
}

WorkImage noise(int w, int h, std::mt19937& rng) {
  WorkImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, randomColour(rng));
  return image;
}

struct Scene {
  WorkImage layer;
  WorkImage photo;
  Colour caption = kBlack;
  std::string kind;
};

void paint(WorkImage& image, int x, int y, Colour c) {
  if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, c);
}

// Strokes, dots, discs and blobs like those of glyphs, inside `area` (clipped to the picture).
void drawGlyphs(WorkImage& layer, PixelRect area, Colour c, std::mt19937& rng) {
  auto in = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(rng);
  };
  const int shapes = in(1, 6);
  for (int s = 0; s < shapes; ++s) {
    const int x = in(area.left, area.right - 1);
    const int y = in(area.top, area.bottom - 1);
    switch (in(0, 4)) {
      case 0: {  // horizontal or vertical stroke
        const int thick = in(1, 3), length = in(1, 20);
        const bool across = in(0, 1);
        for (int i = 0; i < length; ++i)
          for (int t = 0; t < thick; ++t)
            paint(layer, across ? x + i : x + t, across ? y + t : y + i, c);
        break;
      }
      case 1: {  // disc
        const int radius = in(0, 4);
        for (int j = -radius; j <= radius; ++j)
          for (int i = -radius; i <= radius; ++i)
            if (i * i + j * j <= radius * radius + 1) paint(layer, x + i, y + j, c);
        break;
      }
      case 2: {  // diagonal stroke, stair-stepped
        const int thick = in(1, 2), length = in(2, 16), step = in(0, 1) ? 1 : -1;
        for (int i = 0; i < length; ++i)
          for (int t = 0; t < thick; ++t) paint(layer, x + i + t, y + step * i, c);
        break;
      }
      case 3:
        paint(layer, x, y, c);
        break;
      default: {  // ragged blob
        const int bw = in(2, 8), bh = in(2, 8);
        for (int j = 0; j < bh; ++j)
          for (int i = 0; i < bw; ++i)
            if (in(0, 9) < 6) paint(layer, x + i, y + j, c);
      }
    }
  }
}

// A caption layer with glyph-like shapes in `area` on one of several backgrounds; no pixel
// outside the shapes has the caption colour.
Scene randomScene(int w, int h, PixelRect area, std::mt19937& rng) {
  Scene s;
  const Colour captions[] = {kBlack, makeColour(255, 0, 0), kWhite, randomColour(rng),
                             randomColour(rng)};
  s.caption = captions[std::uniform_int_distribution<int>(0, 4)(rng)];
  s.photo = noise(w, h, rng);
  const int background = std::uniform_int_distribution<int>(0, 3)(rng);
  const char* names[] = {"white", "plain", "noise", "grey fringe"};
  s.kind = names[background];
  if (background == 2) {
    s.layer = noise(w, h, rng);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (s.layer.pixel(x, y) == s.caption) s.layer.setPixel(x, y, s.caption ^ 1);
  } else {
    s.layer = WorkImage(w, h);
    Colour fill = background == 1 ? randomColour(rng) : kWhite;
    if (background == 1 && fill == s.caption) fill ^= 1;
    s.layer.fill(fill);
  }
  drawGlyphs(s.layer, area, s.caption, rng);
  if (background == 3) {
    // Greys beside the glyphs, as a rasteriser with its own antialiasing would leave.
    const WorkImage drawn = s.layer;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool touches = (x > 0 && drawn.pixel(x - 1, y) == s.caption) ||
                             (y > 0 && drawn.pixel(x, y - 1) == s.caption);
        const std::uint8_t g = std::uint8_t(std::uniform_int_distribution<int>(100, 254)(rng));
        if (touches && drawn.pixel(x, y) != s.caption && makeColour(g, g, g) != s.caption &&
            std::uniform_int_distribution<int>(0, 2)(rng) == 0)
          s.layer.setPixel(x, y, makeColour(g, g, g));
      }
  }
  return s;
}

// Bounding box of the caption pixels grown by two, as the caption drawing passes it.
PixelRect captionBoxGrownByTwo(const Scene& s) {
  PixelRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < s.layer.height(); ++y)
    for (int x = 0; x < s.layer.width(); ++x)
      if (s.layer.pixel(x, y) == s.caption) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x + 1);
        r.bottom = std::max(r.bottom, y + 1);
      }
  if (r.left == INT_MAX) return {0, 0, 0, 0};
  return {r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
}

// Every pattern, with the tight box, a looser one, the whole picture and more.
void expectSameAsReference(const Scene& s, std::mt19937& rng) {
  const int w = s.layer.width(), h = s.layer.height();
  const PixelRect tight = captionBoxGrownByTwo(s);
  auto more = [&] { return std::uniform_int_distribution<int>(0, 3)(rng); };
  const PixelRect boxes[] = {
      tight,
      {tight.left - more(), tight.top - more(), tight.right + more(), tight.bottom + more()},
      {0, 0, w, h},
      {-7, -3, w + 5, h + 9}};
  for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
    WorkImage expected = s.layer;
    referenceSmooth(expected, s.photo, s.caption, pattern);
    for (const PixelRect& box : boxes) {
      WorkImage actual = s.layer;
      smoothCaptionEdges(actual, s.photo, s.caption, pattern, box);
      EXPECT_EQ(firstDifference(actual, expected), "")
          << w << " x " << h << ", " << s.kind << " background, caption 0x" << std::hex << s.caption
          << std::dec << ", pattern " << pattern << ", " << describe(box);
    }
  }
}

TEST(CaptionSmoothingTest, MatchesTheWholePictureOnRandomCaptions) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 400; ++i) {
    const int w = std::uniform_int_distribution<int>(4, 40)(rng);
    const int h = std::uniform_int_distribution<int>(4, 40)(rng);
    const int left = std::uniform_int_distribution<int>(0, w - 1)(rng);
    const int top = std::uniform_int_distribution<int>(0, h - 1)(rng);
    const PixelRect area{left, top, std::uniform_int_distribution<int>(left + 1, w)(rng),
                         std::uniform_int_distribution<int>(top + 1, h)(rng)};
    expectSameAsReference(randomScene(w, h, area, rng), rng);
    if (HasFailure()) return;
  }
}

TEST(CaptionSmoothingTest, MatchesTheWholePictureWithCaptionsAcrossItsEdges) {
  std::mt19937 rng(77);
  for (int i = 0; i < 300; ++i) {
    const int w = std::uniform_int_distribution<int>(1, 30)(rng);
    const int h = std::uniform_int_distribution<int>(1, 30)(rng);
    // Shapes start anywhere near the picture, so many run over its edges and corners.
    expectSameAsReference(randomScene(w, h, {-4, -4, w + 2, h + 2}, rng), rng);
    if (HasFailure()) return;
  }
}

// Small pictures drawn as text: '#' caption, '.' white. Each probe names the code its pixel
// must end with (0 and -1 leave it as drawn).
struct Probe {
  int x, y, code;
};
struct DescribedCase {
  const char* name;
  std::vector<std::string> art;
  std::vector<Probe> probes;
};

TEST(CaptionSmoothingTest, DescribedCasesGetTheirCodes) {
  // clang-format off
  const DescribedCase cases[] = {
      {"lone pixel: an edge pixel, its four neighbours touched once, diagonals untouched",
       {".......",
        ".......",
        ".......",
        "...#...",
        ".......",
        ".......",
        "......."},
       {{3, 3, -2}, {3, 2, 1}, {2, 3, 1}, {4, 3, 1}, {3, 4, 1}, {4, 4, 0}, {2, 2, 0}}},
      {"filled square: single neighbours, corner kept, diagonal outside the corner untouched",
       {"........",
        "........",
        "..###...",
        "..###...",
        "..###...",
        "........",
        "........",
        "........"},
       {{3, 1, 1}, {1, 3, 1}, {1, 1, 0}, {5, 5, 0}, {2, 2, -1}, {3, 3, -1}, {4, 4, -1}}},
      {"inside corner of an L",
       {".........",
        ".........",
        "..####...",
        "..####...",
        "..##.....",
        "..##.....",
        ".........",
        "........."},
       {{4, 4, 2}, {5, 4, 1}, {4, 5, 1}, {3, 3, -1}, {4, 3, -1}}},
      {"outer corner fill with sum 5",
       {"..........",
        "..........",
        "..........",
        ".....#....",
        "....#.#...",
        "..........",
        "..........",
        ".........."},
       {{5, 4, 3}, {5, 5, 1}, {5, 3, -2}, {5, 6, 0}, {3, 5, 0}}},
      {"outer corner fill with sum 8",
       {"..........",
        "..........",
        "..........",
        ".....#....",
        "....#.#...",
        "...#......",
        "....#.....",
        "..........",
        ".........."},
       {{4, 5, 3}, {5, 4, 3}, {5, 5, 2}, {5, 6, 1}}},
      {"stair: a glyph corner open on two sides",
       {"..........",
        "..........",
        "..##......",
        "...##.....",
        "....##....",
        ".....##...",
        "..........",
        ".........."},
       {{3, 3, -2}, {2, 3, 2}, {3, 4, 2}, {2, 2, -2}, {6, 5, -2}}},
      {"border: column 0, row 0, the last two columns and rows stay as drawn; a caption pixel "
       "in column W - 2 touches nothing",
       {"......",
        ".#..#.",
        "......",
        "...#..",
        "......",
        "......"},
       {{1, 1, -2}, {0, 1, 0}, {1, 0, 0}, {2, 1, 1}, {1, 2, 1}, {2, 2, 1}, {3, 1, 0},
        {3, 3, -2}, {4, 3, 0}, {3, 4, 0}, {3, 2, 1}, {2, 3, 1}, {4, 2, 0}}},
  };
  // clang-format on
  const Colour caption = makeColour(10, 60, 230);
  const Colour photoColour = makeColour(240, 125, 31);
  for (const DescribedCase& c : cases) {
    const int w = int(c.art[0].size()), h = int(c.art.size());
    WorkImage layer(w, h), photo(w, h);
    photo.fill(photoColour);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) layer.setPixel(x, y, c.art[y][x] == '#' ? caption : kWhite);
    for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
      WorkImage expected = layer;
      referenceSmooth(expected, photo, caption, pattern);
      WorkImage actual = layer;
      smoothCaptionEdges(actual, photo, caption, pattern, {0, 0, w, h});
      for (const Probe& p : c.probes) {
        const Colour want =
            codedPixel(p.code, pattern, layer.pixel(p.x, p.y), photoColour, caption);
        EXPECT_EQ(expected.pixel(p.x, p.y), want)
            << "reference, " << c.name << ", pattern " << pattern << " at " << p.x << ", " << p.y;
        EXPECT_EQ(actual.pixel(p.x, p.y), want)
            << c.name << ", pattern " << pattern << " at " << p.x << ", " << p.y;
      }
      EXPECT_EQ(firstDifference(actual, expected), "") << c.name << ", pattern " << pattern;
    }
  }
}

TEST(CaptionSmoothingTest, DescribedMixesPerPattern) {
  // Photo channels 100 under a black caption: a lone pixel at (2, 2) and an L whose inside
  // corner is (7, 2).
  const std::vector<std::string> art = {"...........", "......###..", "..#...#....",
                                        "......#....", "...........", "..........."};
  WorkImage layer(11, 6), photo(11, 6);
  photo.fill(makeColour(100, 100, 100));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 11; ++x) layer.setPixel(x, y, art[y][x] == '#' ? kBlack : kWhite);
  struct Row {
    int x, y;
    std::uint8_t perPattern[4];
  };
  const Row rows[] = {
      {3, 2, {80, 75, 66, 50}},  // one neighbour: (4p + c)/5, (3p + c)/4, (2p + c)/3, (p + c)/2
      {7, 2, {50, 37, 28, 16}},  // inside corner: (p + c)/2, (3p + 5c)/8, (2p + 5c)/7, (p + 5c)/6
      {2, 2, {20, 0, 0, 0}},     // lone pixel: (p + 4c)/5, then the caption colour
  };
  for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
    WorkImage actual = layer;
    smoothCaptionEdges(actual, photo, kBlack, pattern, {0, 0, 11, 6});
    for (const Row& r : rows) {
      const std::uint8_t v = r.perPattern[pattern];
      EXPECT_EQ(actual.pixel(r.x, r.y), makeColour(v, v, v))
          << "pattern " << pattern << " at " << r.x << ", " << r.y;
    }
  }
}

TEST(CaptionSmoothingTest, BorderColumnsAndRowsNeverChange) {
  std::mt19937 rng(5);
  for (int i = 0; i < 60; ++i) {
    const int w = std::uniform_int_distribution<int>(4, 16)(rng);
    const int h = std::uniform_int_distribution<int>(4, 16)(rng);
    // Dense caption pixels everywhere, so the border holds caption and background pixels
    // beside caption pixels of the centres.
    Scene s = randomScene(w, h, {0, 0, w, h}, rng);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (std::uniform_int_distribution<int>(0, 2)(rng) == 0) s.layer.setPixel(x, y, s.caption);
    for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
      WorkImage actual = s.layer;
      smoothCaptionEdges(actual, s.photo, s.caption, pattern, {-2, -2, w + 2, h + 2});
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (x == 0 || y == 0 || x >= w - 2 || y >= h - 2) {
            ASSERT_EQ(actual.pixel(x, y), s.layer.pixel(x, y)) << x << ", " << y;
          }
      WorkImage expected = s.layer;
      referenceSmooth(expected, s.photo, s.caption, pattern);
      ASSERT_EQ(firstDifference(actual, expected), "") << "pattern " << pattern;
    }
  }
}

TEST(CaptionSmoothingTest, WhiteCaptionOnWhiteChangesNothing) {
  std::mt19937 rng(3);
  WorkImage layer(20, 12);
  layer.fill(kWhite);
  const WorkImage photo = noise(20, 12, rng);
  for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
    WorkImage actual = layer;
    smoothCaptionEdges(actual, photo, kWhite, pattern, {0, 0, 20, 12});
    EXPECT_EQ(firstDifference(actual, layer), "") << "pattern " << pattern;
  }
}

TEST(CaptionSmoothingTest, NothingOutsideTheBoxIsReadOrWritten) {
  // Two layers and photos that agree only inside the box smooth it alike and keep the rest.
  std::mt19937 rng(11);
  const PixelRect box{5, 4, 19, 13};
  for (int i = 0; i < 40; ++i) {
    Scene a = randomScene(24, 18, {0, 0, 24, 18}, rng);
    Scene b = a;
    const WorkImage otherLayer = noise(24, 18, rng), otherPhoto = noise(24, 18, rng);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 24; ++x)
        if (x < box.left || y < box.top || x >= box.right || y >= box.bottom) {
          b.layer.setPixel(x, y, (x + y) % 2 ? a.caption : otherLayer.pixel(x, y));
          b.photo.setPixel(x, y, otherPhoto.pixel(x, y));
        }
    for (int pattern = 0; pattern < kBlurPatternCount; ++pattern) {
      WorkImage ra = a.layer, rb = b.layer;
      smoothCaptionEdges(ra, a.photo, a.caption, pattern, box);
      smoothCaptionEdges(rb, b.photo, b.caption, pattern, box);
      for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 24; ++x) {
          const bool inside = x >= box.left && y >= box.top && x < box.right && y < box.bottom;
          if (inside) {
            ASSERT_EQ(ra.pixel(x, y), rb.pixel(x, y)) << x << ", " << y;
            // The outer ring of the box is only looked at.
            if (x == box.left || y == box.top || x == box.right - 1 || y == box.bottom - 1) {
              ASSERT_EQ(ra.pixel(x, y), a.layer.pixel(x, y)) << x << ", " << y;
            }
          } else {
            ASSERT_EQ(ra.pixel(x, y), a.layer.pixel(x, y)) << x << ", " << y;
            ASSERT_EQ(rb.pixel(x, y), b.layer.pixel(x, y)) << x << ", " << y;
          }
        }
    }
  }
}

TEST(CaptionSmoothingTest, EmptyBoxesTinyPicturesAndMisfitsChangeNothing) {
  std::mt19937 rng(9);
  struct Case {
    int w, h;
    PixelRect box;
  };
  const Case cases[] = {
      {12, 10, {30, 0, 40, 10}},                      // right of the picture
      {12, 10, {-9, -9, -1, 5}},                      // above and left of it
      {12, 10, {4, 4, 4, 8}},                         // empty
      {12, 10, {8, 8, 2, 2}},                         // inverted
      {12, 10, {3, 3, 5, 9}},                         // two columns: only its ring
      {3, 10, {0, 0, 3, 10}},                         // too narrow for any centre
      {12, 3, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},  // too low
      {1, 1, {0, 0, 1, 1}},
      {0, 0, {0, 0, 5, 5}},
  };
  for (const Case& c : cases) {
    Scene s = randomScene(c.w, c.h, {0, 0, c.w, c.h}, rng);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        if (std::uniform_int_distribution<int>(0, 1)(rng)) s.layer.setPixel(x, y, s.caption);
    WorkImage actual = s.layer;
    smoothCaptionEdges(actual, s.photo, s.caption, 0, c.box);
    EXPECT_EQ(firstDifference(actual, s.layer), "")
        << c.w << " x " << c.h << ", " << describe(c.box);
  }
  // A photo of another size than the caption layer.
  Scene s = randomScene(12, 10, {0, 0, 12, 10}, rng);
  const WorkImage smaller = noise(11, 10, rng);
  WorkImage actual = s.layer;
  smoothCaptionEdges(actual, smaller, s.caption, 0, {0, 0, 12, 10});
  EXPECT_EQ(firstDifference(actual, s.layer), "");
}

TEST(CaptionSmoothingTest, WholeRangeBoxEqualsWholePicture) {
  std::mt19937 rng(21);
  const Scene s = randomScene(17, 13, {2, 2, 15, 11}, rng);
  WorkImage expected = s.layer;
  referenceSmooth(expected, s.photo, s.caption, 1);
  WorkImage actual = s.layer;
  smoothCaptionEdges(actual, s.photo, s.caption, 1, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  EXPECT_EQ(firstDifference(actual, expected), "");
}

TEST(CaptionSmoothingTest, PatternOutsideTheTrackBarRangeIsClamped) {
  std::mt19937 rng(13);
  const Scene s = randomScene(16, 16, {2, 2, 14, 14}, rng);
  const std::pair<int, int> cases[] = {{-1, 0}, {INT_MIN, 0}, {4, 3}, {INT_MAX, 3}};
  for (const auto& [given, used] : cases) {
    WorkImage expected = s.layer;
    referenceSmooth(expected, s.photo, s.caption, used);
    WorkImage actual = s.layer;
    smoothCaptionEdges(actual, s.photo, s.caption, given, {0, 0, 16, 16});
    EXPECT_EQ(firstDifference(actual, expected), "") << "pattern " << given;
  }
}

}  // namespace
}  // namespace kov
