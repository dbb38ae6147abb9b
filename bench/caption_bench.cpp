// Three captions of about 60-pixel text drawn and smoothed on an A4 picture at 300 dpi
// (2480 x 3508), next to the quality-90 JPEG encode of that same picture: drawing the three
// should cost well under a tenth of the encode.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <string>

#include "captions/caption_draw.h"
#include "platform/jpeg_codec.h"

namespace {

using kov::WorkImage;

constexpr int kWidth = 2480;
constexpr int kHeight = 3508;
constexpr int kQuality = 90;
constexpr int kBlurPattern = 1;  // B, the default
constexpr float kLineSpacing = 1.1f;

// Smooth shading with a little grain, roughly like a photo in its frame. Deterministic.
WorkImage framedPhoto() {
  WorkImage image(kWidth, kHeight);
  std::uint32_t state = 0x2545F491u;
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = 0; x < kWidth; ++x, p += 3) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      const int grain = int(state % 13) - 6;
      const double shade = std::sin(x / 211.0) * std::cos(y / 173.0);
      const int base = int(128 + 70 * shade) + grain;
      p[0] = std::uint8_t(std::clamp(base + 20, 0, 255));
      p[1] = std::uint8_t(std::clamp(base, 0, 255));
      p[2] = std::uint8_t(std::clamp(base - 15, 0, 255));
    }
  }
  return image;
}

struct Caption {
  const char* text;
  int x;
  int y;
  int angle;
  kov::FontHolder font;
};

Caption caption(const char* text, int x, int y, int angle, bool bold, kov::Colour colour) {
  Caption c{text, x, y, angle, {}};
  c.font.height = -60;
  c.font.style.bold = bold;
  c.font.colour = colour;
  return c;
}

void BM_DrawThreeCaptions(benchmark::State& state) {
  WorkImage picture = framedPhoto();
  WorkImage layer;
  const Caption captions[] = {
      caption("第５０回　運動会\\n令和６年度　３年２組", 700, 250, 0, true, kov::kBlack),
      caption("2024年10月12日", 1500, 3250, 0, false, kov::makeColour(200, 30, 30)),
      caption("みんなで がんばりました", 150, 2200, 15, false, kov::makeColour(20, 40, 160)),
  };
  for (auto _ : state) {
    for (const Caption& c : captions)
      kov::drawCaptionOn(picture, layer, c.x, c.y, c.angle, c.text, c.font, kLineSpacing,
                         kBlurPattern);
    benchmark::DoNotOptimize(picture.data());
  }
}
BENCHMARK(BM_DrawThreeCaptions)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeCaptionPicture(benchmark::State& state) {
  const WorkImage picture = framedPhoto();
  std::string bytes;
  for (auto _ : state) {
    if (kov::encodeJpeg(picture, kQuality, bytes) != kov::kJpegOk)
      state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_EncodeCaptionPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
