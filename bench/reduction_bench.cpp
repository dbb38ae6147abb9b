// The high-quality reduction (with and without sharpening) at the sizes a photo meets on its
// way into a 2244 x 2918 window (an A4-ish portrait frame at 300 dpi), and loading a
// 24-megapixel JPEG, next to decoding that JPEG alone: reduction plus sharpening must cost
// less than the decode.
//
// The JPEG is left as $TMPDIR/kovanta_reduction_bench_24mp.jpg (or /tmp), so that
// `djpeg -outfile /dev/null` can be timed on the very same file. On a machine shared with
// other work, compare the CPU column.

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "pipeline/photo_load.h"
#include "pipeline/photo_place.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/quarter_turn.h"
#include "pipeline/reduce_high_quality.h"
#include "pipeline/sharpen.h"
#include "platform/host.h"
#include "platform/jpeg_codec.h"

namespace {

using kov::WorkImage;

constexpr int kPhotoWidth = 6000;
constexpr int kPhotoHeight = 4000;
constexpr int kWindowWidth = 2244;
constexpr int kWindowHeight = 2918;

// Smooth shading, soft shapes and grain, deterministic: compresses to about 2 bits per pixel
// at quality 90 like a camera photo of this size.
WorkImage photoLike(int width, int height) {
  WorkImage image(width, height);
  std::vector<float> colWave(static_cast<std::size_t>(width));
  std::vector<float> rowWave(static_cast<std::size_t>(height));
  for (int x = 0; x < width; ++x) colWave[std::size_t(x)] = std::sin(float(x) / 83.0f);
  for (int y = 0; y < height; ++y) rowWave[std::size_t(y)] = std::cos(float(y) / 121.0f);
  std::uint32_t seed = 0x1234567u;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      const int grain = int(seed % 17) - 8;
      const float shape = colWave[std::size_t(x)] * rowWave[std::size_t(y)];
      const int base = 100 + int(60 * shape) + (x + y) * 40 / (width + height) + grain;
      auto clamp = [](int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
      p[0] = clamp(base + 30 - y * 30 / height);
      p[1] = clamp(base + int(20 * colWave[std::size_t(x)]));
      p[2] = clamp(base + int(25 * shape) + int(seed >> 29));
    }
  }
  return image;
}

const WorkImage& photo() {
  static const WorkImage image = photoLike(kPhotoWidth, kPhotoHeight);
  return image;
}

const std::string& photoPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string p = std::string(tmp && *tmp ? tmp : "/tmp") + "/kovanta_reduction_bench_24mp.jpg";
    if (kov::writeJpegFile(p, photo(), 90) != kov::kJpegOk) p.clear();
    return p;
  }();
  return path;
}

// The photo turned into the portrait frame (4000 x 6000) and the part a window of
// 2244 x 2918 takes from it: 4000 x 5201. For a 3264 x 2448 photo: 2448 x 3183.
WorkImage windowPart(int photoWidth, int photoHeight) {
  const WorkImage turned = photoLike(photoHeight, photoWidth);
  const kov::PhotoPart part = kov::photoPart(turned.width(), turned.height(), kWindowWidth,
                                             kWindowHeight, kov::TrimmingReference::Centre);
  WorkImage out;
  kov::copyPixels(turned, part.left, part.top, part.width, part.height, out);
  return out;
}

void BM_ReduceHighQuality(benchmark::State& state) {
  const WorkImage source = windowPart(int(state.range(0)), int(state.range(1)));
  kov::MainWindowState window;
  window.CheckBox2 = state.range(2) != 0;
  kov::SilentHost host;
  WorkImage target;
  for (auto _ : state) {
    const int r = kov::reduceHighQuality(window, host, source, target, kWindowHeight, kWindowWidth);
    if (r != kov::kReduceOk) state.SkipWithError("refused");
    benchmark::DoNotOptimize(target.data());
  }
  state.SetLabel(std::to_string(source.width()) + "x" + std::to_string(source.height()) + " -> " +
                 std::to_string(kWindowWidth) + "x" + std::to_string(kWindowHeight));
  state.counters["source MP/s"] =
      benchmark::Counter(double(state.iterations()) * source.width() * source.height() / 1e6,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReduceHighQuality)
    ->ArgNames({"photoW", "photoH", "sharpen"})
    ->Args({6000, 4000, 0})
    ->Args({6000, 4000, 1})
    ->Args({3264, 2448, 0})
    ->Args({3264, 2448, 1})
    ->Unit(benchmark::kMillisecond);

// The second pass alone, over the reduced 2244 x 2918 picture.
void BM_SharpenPass(benchmark::State& state) {
  kov::MainWindowState window;
  kov::SilentHost host;
  WorkImage target;
  if (kov::reduceHighQuality(window, host, windowPart(kPhotoWidth, kPhotoHeight), target,
                             kWindowHeight, kWindowWidth) != kov::kReduceOk)
    state.SkipWithError("refused");
  window.CheckBox2 = state.range(0) != 0;
  for (auto _ : state) {
    kov::sharpenPass(window, host, target, kWindowWidth, kWindowHeight);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_SharpenPass)->ArgNames({"sharpen"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DecodeJpegFile24MP(benchmark::State& state) {
  const std::string& path = photoPath();
  if (path.empty()) {
    state.SkipWithError("cannot write the JPEG");
    return;
  }
  WorkImage out;
  for (auto _ : state) {
    if (kov::decodeJpegFile(path, out) != kov::kJpegOk) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_DecodeJpegFile24MP)->Unit(benchmark::kMillisecond);

// The quarter turn of the photo into a portrait frame, and the EXIF half turn.
void BM_TurnQuarter24MP(benchmark::State& state) {
  const WorkImage& source = photo();
  WorkImage target(kPhotoHeight, kPhotoWidth);
  for (auto _ : state) {
    kov::turnQuarter(source, target);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_TurnQuarter24MP)->Unit(benchmark::kMillisecond);

void BM_ExifHalfTurn24MP(benchmark::State& state) {
  const WorkImage& source = photo();
  WorkImage target;
  for (auto _ : state) {
    kov::applyExifOrientation(source, target, 3);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_ExifHalfTurn24MP)->Unit(benchmark::kMillisecond);

// A frame of the window's size, landscape (the photo stays as it is) or portrait (the photo
// is turned); the preview built plainly (CheckBox4 off, as at start) or with the reduction.
void BM_LoadPhoto24MP(benchmark::State& state) {
  const std::string& path = photoPath();
  if (path.empty()) {
    state.SkipWithError("cannot write the JPEG");
    return;
  }
  kov::MainWindowState window;
  const bool portrait = state.range(0) != 0;
  window.frameWidth = portrait ? 2480 : 3508;
  window.frameHeight = portrait ? 3508 : 2480;
  window.previewPhotoWidth = portrait ? 366 : 476;
  window.previewPhotoHeight = portrait ? 476 : 366;
  window.CheckBox4 = state.range(1) != 0;
  kov::SilentHost host;
  for (auto _ : state) {
    window.loadedPhotoPath.clear();
    if (kov::loadPhoto(window, host, path) != kov::kLoadOk) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(window.photoBitmap.data());
  }
}
BENCHMARK(BM_LoadPhoto24MP)
    ->ArgNames({"portraitFrame", "hqPreview"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// The whole placement of the loaded 24-megapixel photo into the portrait window: the copy
// into scratchBitmap that loading leaves, the cut, the reduction and the sharpening.
void BM_PlacePhoto24MP(benchmark::State& state) {
  kov::MainWindowState window;
  window.photoWidth = kWindowWidth;
  window.photoHeight = kWindowHeight;
  window.CheckBox2 = state.range(0) != 0;
  window.photoBitmap = photoLike(kPhotoHeight, kPhotoWidth);
  kov::DialogValues dialogs(window);
  dialogs.trimmingReference = kov::TrimmingReference::Centre;
  kov::SilentHost host;
  for (auto _ : state) {
    kov::copyPixels(window.photoBitmap, window.scratchBitmap);
    if (kov::placePhoto(window, dialogs, host, window.photoBitmap, false) != kov::kPlaceOk)
      state.SkipWithError("place failed");
    benchmark::DoNotOptimize(window.scratchBitmap.data());
  }
}
BENCHMARK(BM_PlacePhoto24MP)->ArgNames({"sharpen"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
