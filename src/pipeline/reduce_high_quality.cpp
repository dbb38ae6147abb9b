#include "pipeline/reduce_high_quality.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/sharpen.h"
#include "platform/host.h"
#include "platform/pump_throttle.h"
#include "platform/wide_vectors.h"

namespace kov {

namespace {

// One axis of the averaging: for each target index the source indices it
// covers (first .. first + count - 1) with their weights in hundredths.
struct AxisWeights {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int> offset;  // into weights
  std::vector<int> weights;
  std::vector<std::int64_t> total;  // sum of the index's weights
};

// Both axes use the horizontal scale sourceWidth / targetWidth. The first and
// the last source index are kept inside the picture: the last because a range
// may end just beyond it, the first because a target slightly taller in
// proportion than its source (the ratio check lets 3 points through) gives
// last rows that would otherwise start below the picture and average nothing.
AxisWeights axisWeights(int targetCount, int sourceLimit, int sourceWidth, int targetWidth) {
  AxisWeights axis;
  axis.first.resize(std::size_t(targetCount));
  axis.count.resize(std::size_t(targetCount));
  axis.offset.resize(std::size_t(targetCount));
  axis.total.resize(std::size_t(targetCount));
  const std::int64_t scaled = std::int64_t(sourceWidth) * 100;
  for (int i = 0; i < targetCount; ++i) {
    const std::int64_t a = i * scaled / targetWidth;
    const std::int64_t b = (i + 1) * scaled / targetWidth - 1;
    const std::int64_t last = std::min<std::int64_t>(b / 100, sourceLimit - 1);
    const std::int64_t first = std::min<std::int64_t>(a / 100, last);
    axis.first[std::size_t(i)] = int(first);
    axis.count[std::size_t(i)] = int(last - first + 1);
    axis.offset[std::size_t(i)] = int(axis.weights.size());
    std::int64_t total = 0;
    for (std::int64_t p = first; p <= last; ++p) {
      std::int64_t w = 100;
      if (p == last) {
        w = b - last * 100;  // also for a single index: the last rule wins
      } else if (p == first) {
        w = (first + 1) * 100 - a;
      }
      axis.weights.push_back(int(w));
      total += w;
    }
    axis.total[std::size_t(i)] = total;
  }
  return axis;
}

// Exact n / d for 0 <= n < 2^31 by a multiplication: with l = ceil(log2 d) and
// m = floor(2^(31 + l) / d) + 1, floor(n * m / 2^(31 + l)) = floor(n / d).
struct Divisor {
  std::uint64_t multiplier = 1;
  int shift = 31;
  explicit Divisor(std::int64_t d) {
    int l = 0;
    while ((std::int64_t(1) << l) < d) ++l;
    shift = 31 + l;
    multiplier = (std::uint64_t(1) << shift) / std::uint64_t(d) + 1;
  }
  std::uint32_t divide(std::uint32_t n) const { return std::uint32_t((n * multiplier) >> shift); }
};

// sum / total for sums beyond 32 bits: the quotient through a double is off by
// at most one, and the check fixes that.
inline std::int64_t quotient(std::int64_t sum, std::int64_t total) {
  std::int64_t q = std::int64_t(double(sum) / double(total));
  if (q * total > sum) {
    --q;
  } else if ((q + 1) * total <= sum) {
    ++q;
  }
  return q;
}

inline std::int32_t pack(std::int64_t r, std::int64_t g, std::int64_t b) {
  return std::int32_t((std::min<std::int64_t>(r, 255) << 16) |
                      (std::min<std::int64_t>(g, 255) << 8) | std::min<std::int64_t>(b, 255));
}

// The covered source rows of a target row summed down, per byte: the first
// row, then each further one. Loops the compiler runs on many bytes at once.
KOV_WIDE_VECTORS void firstRowDown(const std::uint8_t* __restrict in, std::int32_t w,
                                   std::int32_t* __restrict down, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) down[i] = w * std::int32_t(in[i]);
}
KOV_WIDE_VECTORS void nextRowDown(const std::uint8_t* __restrict in, std::int32_t w,
                                  std::int32_t* __restrict down, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) down[i] += w * std::int32_t(in[i]);
}
void firstRowDown(const std::uint8_t* in, std::int64_t w, std::int64_t* down, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) down[i] = w * in[i];
}
void nextRowDown(const std::uint8_t* in, std::int64_t w, std::int64_t* down, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) down[i] += w * in[i];
}

// The column weights of every target column padded to the same count K with
// zeros (the summed row is padded too), so that summing across runs without a
// branch per column.
struct PaddedColumns {
  int taps = 0;
  std::vector<int> first;
  std::vector<int> weights;  // taps per target column
};

PaddedColumns padColumns(const AxisWeights& columns) {
  PaddedColumns padded;
  padded.taps = *std::max_element(columns.count.begin(), columns.count.end());
  padded.first = columns.first;
  padded.weights.assign(columns.first.size() * std::size_t(padded.taps), 0);
  for (std::size_t x = 0; x < columns.first.size(); ++x)
    std::copy_n(columns.weights.begin() + columns.offset[x], columns.count[x],
                padded.weights.begin() + std::ptrdiff_t(x * std::size_t(padded.taps)));
  return padded;
}

// The summed row summed across into target columns: three sums per column.
template <typename Sum, int kTaps>
void acrossRow(const Sum* down, const PaddedColumns& columns, int dw, Sum* sums) {
  const int taps = kTaps > 0 ? kTaps : columns.taps;
  const int* w = columns.weights.data();
  for (int x = 0; x < dw; ++x, w += taps) {
    const Sum* p = down + 3 * std::size_t(columns.first[std::size_t(x)]);
    Sum b = 0, g = 0, r = 0;
    for (int k = 0; k < taps; ++k, p += 3) {
      b += Sum(w[k]) * p[0];
      g += Sum(w[k]) * p[1];
      r += Sum(w[k]) * p[2];
    }
    sums[3 * std::size_t(x)] = b;
    sums[3 * std::size_t(x) + 1] = g;
    sums[3 * std::size_t(x) + 2] = r;
  }
}

template <typename Sum>
void acrossRow(const Sum* down, const PaddedColumns& columns, int dw, Sum* sums) {
  switch (columns.taps) {  // the usual shrinks of photos into windows
    case 2:
      acrossRow<Sum, 2>(down, columns, dw, sums);
      break;
    case 3:
      acrossRow<Sum, 3>(down, columns, dw, sums);
      break;
    case 4:
      acrossRow<Sum, 4>(down, columns, dw, sums);
      break;
    default:
      acrossRow<Sum, 0>(down, columns, dw, sums);
      break;
  }
}

// The weighted means of every target pixel, packed 0x00RRGGBB into `plane` row
// by row. Sums separably: the covered source rows of a target row are first
// summed down into one row, then across into target columns. The weights'
// products distribute over the sums, so these are exactly the sums over every
// covered pixel of its colour times column weight times row weight.
// Sum is 32 bits when 255 x the largest column total x the largest row total
// fits (every partial sum then does too), else 64 bits.
template <typename Sum>
int averagePass(MainWindowState& state, Host& host, const WorkImage& source, int dw, int dh,
                const AxisWeights& columnWeights, const AxisWeights& rows, std::int32_t* plane) {
  constexpr bool kNarrow = sizeof(Sum) == 4;
  const PaddedColumns columns = padColumns(columnWeights);
  const std::size_t rowBytes = source.stride();
  std::vector<Sum> down(rowBytes + 3 * std::size_t(columns.taps), 0);
  std::vector<Sum> sums(3 * std::size_t(dw));
  std::vector<Divisor> columnDivisors;
  if constexpr (kNarrow) {
    columnDivisors.reserve(std::size_t(dw));
    for (int x = 0; x < dw; ++x) columnDivisors.emplace_back(columnWeights.total[std::size_t(x)]);
  }

  PumpThrottle throttle(host);
  for (int y = 0; y < dh; ++y) {
    throttle.tick();
    if (state.abortRequested) return kReduceAborted;

    const int* rowWeight = rows.weights.data() + rows.offset[std::size_t(y)];
    const int firstRow = rows.first[std::size_t(y)];
    firstRowDown(source.row(firstRow), Sum(rowWeight[0]), down.data(), rowBytes);
    for (int k = 1; k < rows.count[std::size_t(y)]; ++k)
      nextRowDown(source.row(firstRow + k), Sum(rowWeight[k]), down.data(), rowBytes);
    acrossRow(down.data(), columns, dw, sums.data());

    std::int32_t* out = plane + std::size_t(y) * std::size_t(dw);
    const std::int64_t rowTotal = rows.total[std::size_t(y)];
    const Divisor rowDivisor(kNarrow ? rowTotal : 1);
    for (int x = 0; x < dw; ++x) {
      const Sum* s = sums.data() + 3 * std::size_t(x);
      if constexpr (kNarrow) {
        // floor(floor(s / a) / b) = floor(s / (a * b)).
        const Divisor& cd = columnDivisors[std::size_t(x)];
        out[x] = pack(rowDivisor.divide(cd.divide(std::uint32_t(s[2]))),
                      rowDivisor.divide(cd.divide(std::uint32_t(s[1]))),
                      rowDivisor.divide(cd.divide(std::uint32_t(s[0]))));
      } else {
        const std::int64_t total = columnWeights.total[std::size_t(x)] * rowTotal;
        out[x] = pack(quotient(s[2], total), quotient(s[1], total), quotient(s[0], total));
      }
    }
  }
  return kReduceOk;
}

int averagePass(MainWindowState& state, Host& host, const WorkImage& source, int dw, int dh,
                std::int32_t* plane) {
  const int sw = source.width();
  const int sh = source.height();
  const AxisWeights columns = axisWeights(dw, sw, sw, dw);
  const AxisWeights rows = axisWeights(dh, sh, sw, dw);
  const std::int64_t maxColumns = *std::max_element(columns.total.begin(), columns.total.end());
  const std::int64_t maxRows = *std::max_element(rows.total.begin(), rows.total.end());
  const bool narrow = 255 * maxColumns * maxRows < (std::int64_t(1) << 31);
  return narrow ? averagePass<std::int32_t>(state, host, source, dw, dh, columns, rows, plane)
                : averagePass<std::int64_t>(state, host, source, dw, dh, columns, rows, plane);
}

template <typename... Args>
std::string formatted(const char* format, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// The checks in their order; kReduceOk with `same` set when there is nothing to do.
int check(MainWindowState& state, int sw, int sh, int dw, int dh, bool& same) {
  same = false;
  state.reductionMessage.clear();
  if (sw < 1 || sh < 1 || dw < 1 || dh < 1) {
    state.reductionMessage = "画像サイズが0なので高画質圧縮を中断しました。";
    return kReduceEmpty;
  }
  const std::int64_t sourceRatio = std::int64_t(sw) * 100 / sh;
  const std::int64_t targetRatio = std::int64_t(dw) * 100 / dh;
  if (sourceRatio - targetRatio > 3 || targetRatio - sourceRatio > 3) {
    state.reductionMessage =
        formatted("比率が違うので高画質圧縮を中断しました。(幅 %d  高さ%d)", dw, dh);
    return kReduceRatioDiffers;
  }
  if (dw == sw && dh == sh) {
    state.reductionMessage =
        formatted("画像サイズが同じなので高画質圧縮を中断しました。(幅 %d  高さ%d)", dw, dh);
    same = true;
    return kReduceOk;
  }
  if (sw > kMaxPlaneSize || sh > kMaxPlaneSize) {
    state.reductionMessage = formatted(
        "元画像が大きすぎるので高画質圧縮を中断しました。(幅 %d  高さ%d)\n"
        "最大サイズは幅　%dpx　高さ%dpxです。",
        sw, sh, kMaxPlaneSize, kMaxPlaneSize);
    return kReduceSourceTooLarge;
  }
  if (dw > kMaxPlaneSize || dh > kMaxPlaneSize) {
    state.reductionMessage = formatted(
        "縮小後画像が大きすぎるので高画質圧縮を中断しました。(幅 %d  高さ%d)\n"
        "最大サイズは幅　%dpx　高さ%dpxです。",
        dw, dh, kMaxPlaneSize, kMaxPlaneSize);
    return kReduceTargetTooLarge;
  }
  if (std::int64_t(dw) * 100 < sw || std::int64_t(dh) * 100 < sh) {
    state.reductionMessage = "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。";
    return kReduceBeyondHundredth;
  }
  if (dw >= sw || dh >= sh) {
    state.reductionMessage = "拡大なので高画質圧縮を中断しました。";
    return kReduceNotSmaller;
  }
  return kReduceOk;
}

}  // namespace

int reduceHighQuality(MainWindowState& state, Host& host, const WorkImage& source,
                      WorkImage& target, int targetHeight, int targetWidth) {
  const int dw = targetWidth;
  const int dh = targetHeight;
  bool same = false;
  const int refused = check(state, source.width(), source.height(), dw, dh, same);
  if (refused != kReduceOk) return refused;
  if (same) {
    if (&target != &source) copyPixels(source, target);
    return kReduceOk;
  }

  std::vector<std::int32_t>& plane = state.workPlane;
  const std::size_t pixels = std::size_t(dw) * std::size_t(dh);
  if (plane.size() < pixels) plane.resize(pixels);
  const int r = averagePass(state, host, source, dw, dh, plane.data());
  if (r != kReduceOk) return r;

  // The source may be the target: its pixels are all in the plane now. The
  // second pass writes every pixel (white where it stops early).
  target.reset(dw, dh);
  host.pumpEvents();
  return sharpenPass(state, host, target, dw, dh);
}

int reduceHighQuality(MainWindowState& state, Host& host, WorkImage& bitmap, int targetHeight,
                      int targetWidth) {
  return reduceHighQuality(state, host, bitmap, bitmap, targetHeight, targetWidth);
}

}  // namespace kov
