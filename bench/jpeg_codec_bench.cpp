// Decoding and encoding a 24-megapixel photo-like picture.
//
// Besides the usual benchmark flags the binary has modes for bench/jpeg_vs_libjpeg.sh, which
// compares us with libjpeg-turbo's djpeg and cjpeg on the very same picture:
//   kovanta_bench --write-picture OUT.ppm OUT.jpg   the picture as PPM, and as our quality-90 JPEG
//   kovanta_bench --decode-file IN.jpg              one decode of the file into a picture
//   kovanta_bench --encode-ppm IN.ppm OUT.jpg       one quality-90 encode of the picture

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_util.h"
#include "platform/jpeg_codec.h"

namespace {

using kov::WorkImage;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr double kPixels = double(kWidth) * kHeight;
constexpr int kQuality = 90;

std::uint8_t clampByte(int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// Smooth colour fields (sky, light falloff, large shapes), hard-edged patches, and fine grain
// whose strength varies over the picture, like smooth and textured areas of a photo. About 2
// bits per pixel at quality 90, like camera photos of this size. Deterministic.
WorkImage photoLikePicture() {
  WorkImage image(kWidth, kHeight);
  std::vector<double> colWave(kWidth), colSlow(kWidth), rowWave(kHeight), rowSlow(kHeight);
  for (int x = 0; x < kWidth; ++x) {
    colWave[x] = std::sin(x / 97.0) + 0.5 * std::sin(x / 23.0);
    colSlow[x] = std::sin(x / 1300.0);
  }
  for (int y = 0; y < kHeight; ++y) {
    rowWave[y] = std::cos(y / 131.0) + 0.5 * std::cos(y / 31.0);
    rowSlow[y] = std::cos(y / 900.0);
  }
  std::uint32_t state = 0x9E3779B9u;
  auto next = [&state] {  // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* p = image.row(y);
    for (int x = 0; x < kWidth; ++x, p += 3) {
      const double slow = colSlow[x] * rowSlow[y];
      const double shapes = colWave[x] * rowWave[y];
      const int grainStrength = int(4 + 6 * (1 + slow));  // 4..16
      const std::uint32_t r = next();
      const int grain = int(r % (2 * grainStrength + 1)) - grainStrength;
      const int tint = int((r >> 16) % 5) - 2;
      const int edge = shapes > 0.9 ? 45 : shapes < -1.1 ? -35 : 0;
      const int base = int(110 + 50 * slow + 25 * shapes) + edge + grain;
      p[0] = clampByte(base + int(40 * rowSlow[y]) + tint);  // blue: more at the top
      p[1] = clampByte(base + int(15 * colSlow[x]));         // green
      p[2] = clampByte(base + int(30 * shapes) - tint);      // red
    }
  }
  return image;
}

const WorkImage& picture() {
  static const WorkImage image = photoLikePicture();
  return image;
}

const std::string& pictureJpeg() {
  static const std::string bytes = [] {
    std::string out;
    kov::encodeJpeg(picture(), kQuality, out);
    return out;
  }();
  return bytes;
}

void setRate(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * std::int64_t(kPixels));
  state.counters["MP/s"] =
      benchmark::Counter(double(state.iterations()) * kPixels / 1e6, benchmark::Counter::kIsRate);
}

void BM_DecodeJpeg24MP(benchmark::State& state) {
  const std::string& jpeg = pictureJpeg();
  WorkImage out;
  for (auto _ : state) {
    const int result =
        kov::decodeJpegMemory(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size(), out);
    if (result != kov::kJpegOk) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state);
  state.counters["JPEG MB"] = double(jpeg.size()) / 1e6;
}
BENCHMARK(BM_DecodeJpeg24MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeJpeg24MP(benchmark::State& state) {
  const WorkImage& image = picture();
  std::string bytes;
  for (auto _ : state) {
    if (kov::encodeJpeg(image, kQuality, bytes) != kov::kJpegOk)
      state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  setRate(state);
}
BENCHMARK(BM_EncodeJpeg24MP)->Unit(benchmark::kMillisecond)->UseRealTime();

// The modes for the comparison script. Each prints the wall-clock and CPU seconds of our
// codec call alone, so that loading the harness's input is not counted.

class Stopwatch {
 public:
  Stopwatch() : m_wall(now(CLOCK_MONOTONIC)), m_cpu(now(CLOCK_PROCESS_CPUTIME_ID)) {}
  void print() const {
    std::printf("%.4f %.4f\n", now(CLOCK_MONOTONIC) - m_wall,
                now(CLOCK_PROCESS_CPUTIME_ID) - m_cpu);
  }

 private:
  static double now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  }
  double m_wall;
  double m_cpu;
};

int writePicture(const std::string& ppmPath, const std::string& jpegPath) {
  const WorkImage& image = picture();
  std::string ppm = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
  const std::size_t header = ppm.size();
  ppm.resize(header + image.stride() * kHeight);
  char* out = ppm.data() + header;
  for (int y = 0; y < kHeight; ++y) {
    const std::uint8_t* p = image.row(y);
    for (int x = 0; x < kWidth; ++x, p += 3, out += 3) {
      out[0] = char(p[2]);
      out[1] = char(p[1]);
      out[2] = char(p[0]);
    }
  }
  if (!kov::writeFileAtomic(ppmPath, ppm)) return 1;
  return kov::writeJpegFile(jpegPath, image, kQuality) == kov::kJpegOk ? 0 : 1;
}

int decodeFile(const std::string& path) {
  const Stopwatch stopwatch;
  WorkImage image;
  const int result = kov::decodeJpegFile(path, image);
  if (result != kov::kJpegOk) {
    std::fprintf(stderr, "decode failed: %d\n", result);
    return 1;
  }
  stopwatch.print();
  return 0;
}

// Reads a binary 8-bit PPM row by row straight into the picture, as cjpeg reads it.
std::optional<WorkImage> readPpm(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  int width = 0, height = 0, maxValue = 0;
  std::optional<WorkImage> image;
  if (std::fscanf(f, "P6 %d %d %d", &width, &height, &maxValue) == 3 && maxValue == 255 &&
      width > 0 && height > 0 && std::fgetc(f) != EOF) {
    image.emplace();
    image->reset(width, height);
    for (int y = 0; y < height && image; ++y) {
      std::uint8_t* p = image->row(y);
      if (std::fread(p, 3, std::size_t(width), f) != std::size_t(width))
        image.reset();
      else
        for (int x = 0; x < width; ++x, p += 3) std::swap(p[0], p[2]);
    }
  }
  std::fclose(f);
  return image;
}

int encodePpm(const std::string& ppmPath, const std::string& jpegPath) {
  const std::optional<WorkImage> image = readPpm(ppmPath);
  if (!image) {
    std::fprintf(stderr, "cannot read %s\n", ppmPath.c_str());
    return 1;
  }
  const Stopwatch stopwatch;
  std::string bytes;
  if (kov::encodeJpeg(*image, kQuality, bytes) != kov::kJpegOk) return 1;
  // A plain write, like cjpeg's: the comparison is about the codec, not about fsync.
  std::FILE* f = std::fopen(jpegPath.c_str(), "wb");
  if (!f) return 1;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) return 1;
  stopwatch.print();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--write-picture" && argc == 4) return writePicture(argv[2], argv[3]);
  if (mode == "--decode-file" && argc == 3) return decodeFile(argv[2]);
  if (mode == "--encode-ppm" && argc == 4) return encodePpm(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
