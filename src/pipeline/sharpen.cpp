#include "pipeline/sharpen.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/main_window_state.h"
#include "platform/pump_throttle.h"
#include "platform/wide_vectors.h"

namespace kov {

namespace {

// The pass works on rows split into channels, in 16-bit lanes up to the target
// luminance, so that the compiler runs eight pixels at once. Every sum fits in
// 16 bits (luminance sums reach 256 * 255, kernel sums 20 * 255), and the
// divisions by constants are high halves of 16-bit products, exact for every
// 16-bit value (checked exhaustively): x / 255 = (x * 32897) >> 23,
// x / 20 = (x * 3277) >> 16 for x < 16399.
using u16 = std::uint16_t;
inline u16 mulHigh(u16 x, u16 m) { return u16((std::uint32_t(x) * m) >> 16); }
inline u16 div255(u16 x) { return u16(mulHigh(x, 32897) >> 7); }
inline u16 div20(u16 x) { return mulHigh(x, 3277); }
inline u16 luminance(u16 r, u16 g, u16 b) { return div255(u16(28 * r + 77 * g + 151 * b)); }

// c * l / l0, truncated toward zero and clamped to 0..255, for 0 <= c <= 255,
// 1 <= l0 <= 256, |l| <= 384, as c * fl(l / l0) in floats. The three roundings
// stay below 2^-14 for results under 256; a quotient that is not an integer lies
// at least 1/l0 >= 1/256 below the next one, so adding 1/512 lifts exact
// integers that came out a hair low without lifting anything else past an
// integer. Results from 256 up stay at least 256 and clamp to 255. (Checked
// against the integer quotient for every c, l0 and l.)
inline std::uint32_t scaled(std::uint32_t c, float ratio) {
  const float q = float(c) * ratio + 1.0f / 512.0f;
  return std::uint32_t(int(std::min(std::max(q, 0.0f), 255.0f)));
}

// One row of packed pixels split into channels.
struct Channels {
  std::vector<std::uint16_t> r, g, b;
  explicit Channels(std::size_t n) : r(n), g(n), b(n) {}
};

void unpack(const std::int32_t* in, int width, Channels& out) {
  std::uint16_t* r = out.r.data();
  std::uint16_t* g = out.g.data();
  std::uint16_t* b = out.b.data();
  for (int x = 0; x < width; ++x) {
    r[x] = std::uint16_t((in[x] >> 16) & 0xFF);
    g[x] = std::uint16_t((in[x] >> 8) & 0xFF);
    b[x] = std::uint16_t(in[x] & 0xFF);
  }
}

// Blue, green, red bytes from packed 0x00RRGGBB values: four bytes a pixel,
// each store overwriting the spare byte of the one before; the last pixel by itself.
void writeRow(const std::uint32_t* packed, int width, std::uint8_t* out) {
  for (int x = 0; x + 1 < width; ++x) std::memcpy(out + 3 * std::size_t(x), &packed[x], 4);
  const std::uint32_t last = packed[width - 1];
  out += 3 * std::size_t(width - 1);
  out[0] = std::uint8_t(last);
  out[1] = std::uint8_t(last >> 8);
  out[2] = std::uint8_t(last >> 16);
}

// 1-2-1 down one column of one channel.
void columnSums(const std::uint16_t* __restrict up, const std::uint16_t* __restrict cur,
                const std::uint16_t* __restrict down, std::uint16_t* __restrict out,
                std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = std::uint16_t(up[i] + 2 * cur[i] + down[i]);
}

// Inner pixels 1..n-2 of one row: r0, g0, b0 are the row's colours, cr, cg, cb
// the column sums around them.
KOV_WIDE_VECTORS void sharpenInner(const std::uint16_t* __restrict r0,
                                   const std::uint16_t* __restrict g0,
                                   const std::uint16_t* __restrict b0,
                                   const std::uint16_t* __restrict cr,
                                   const std::uint16_t* __restrict cg,
                                   const std::uint16_t* __restrict cb,
                                   std::uint32_t* __restrict packed, std::size_t n) {
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const u16 rb = div20(u16(cr[i - 1] + 2 * cr[i] + cr[i + 1] + 4 * r0[i]));
    const u16 gb = div20(u16(cg[i - 1] + 2 * cg[i] + cg[i + 1] + 4 * g0[i]));
    const u16 bb = div20(u16(cb[i - 1] + 2 * cb[i] + cb[i + 1] + 4 * b0[i]));
    const std::int16_t l0 = std::int16_t(luminance(r0[i], g0[i], b0[i]));
    const std::int16_t lb = std::int16_t(luminance(rb, gb, bb));
    const std::int16_t l = std::int16_t(l0 - std::int16_t(lb - l0) / 2);
    // Computed for every pixel (luminance 0 divides by 1) and masked: without a
    // branch the compiler makes several pixels at once.
    const float ratio = float(l) / float(l0 > 0 ? l0 : 1);
    const std::uint32_t keep = l0 != 0 ? 0xFFFFFFFFu : 0u;
    packed[i] =
        ((scaled(r0[i], ratio) << 16) | (scaled(g0[i], ratio) << 8) | scaled(b0[i], ratio)) & keep;
  }
}

// Inner pixels 1..width-2 of one row, from the rows up, cur and down around it.
// The 1-2-1 / 2-8-2 / 1-2-1 kernel is 1-2-1 down, then 1-2-1 across, plus 4
// more times the centre.
void sharpenRow(const Channels& up, const Channels& cur, const Channels& down, int width,
                std::vector<std::uint16_t>& scratch, std::uint32_t* packed) {
  const std::size_t n = std::size_t(width);
  std::uint16_t* cr = scratch.data();
  std::uint16_t* cg = cr + n;
  std::uint16_t* cb = cg + n;
  columnSums(up.r.data(), cur.r.data(), down.r.data(), cr, n);
  columnSums(up.g.data(), cur.g.data(), down.g.data(), cg, n);
  columnSums(up.b.data(), cur.b.data(), down.b.data(), cb, n);
  sharpenInner(cur.r.data(), cur.g.data(), cur.b.data(), cr, cg, cb, packed, n);
}

// Unsharpened the colours stay (c * l0 / l0 = c) except that luminance 0 turns black.
void darkToBlack(const Channels& cur, int width, std::uint32_t* packed) {
  const std::uint16_t* r = cur.r.data();
  const std::uint16_t* g = cur.g.data();
  const std::uint16_t* b = cur.b.data();
  for (int i = 1; i + 1 < width; ++i) {
    const std::uint32_t keep = luminance(r[i], g[i], b[i]) != 0 ? 0xFFFFFFFFu : 0u;
    packed[i] = ((std::uint32_t(r[i]) << 16) | (std::uint32_t(g[i]) << 8) | b[i]) & keep;
  }
}

}  // namespace

int sharpenPass(MainWindowState& state, Host& host, WorkImage& bitmap, int width, int height) {
  if (width < 1 || height < 1) return kSharpenOk;
  bitmap.reset(width, height);
  const std::size_t pixels = std::size_t(width) * std::size_t(height);
  if (state.workPlane.size() < pixels) state.workPlane.resize(pixels, 0);
  const std::int32_t* plane = state.workPlane.data();
  const bool sharpen = state.CheckBox2;
  auto rowOf = [&](int y) { return plane + std::size_t(y) * std::size_t(width); };

  const std::size_t n = std::size_t(width);
  Channels up(n), cur(n), down(n);
  std::vector<std::uint16_t> scratch(3 * n);
  std::vector<std::uint32_t> packed(n);
  unpack(rowOf(0), width, cur);
  if (height > 1) unpack(rowOf(1), width, down);

  PumpThrottle throttle(host);
  for (int y = 0; y < height; ++y) {
    throttle.tick();
    if (state.abortRequested) {
      for (int rest = y; rest < height; ++rest)
        std::memset(bitmap.row(rest), 0xFF, bitmap.stride());
      return kSharpenAborted;
    }
    if (y > 0) {  // the three-row window moves down by one
      std::swap(up, cur);
      std::swap(cur, down);
      if (y + 1 < height) unpack(rowOf(y + 1), width, down);
    }
    const std::int32_t* row = rowOf(y);
    std::uint32_t* p = packed.data();
    if (y == 0 || y == height - 1 || width <= 2) {  // border rows keep their colours
      std::memcpy(p, row, n * sizeof(std::uint32_t));
    } else {
      if (sharpen) {
        sharpenRow(up, cur, down, width, scratch, p);
      } else {
        darkToBlack(cur, width, p);
      }
      p[0] = std::uint32_t(row[0]);
      p[n - 1] = std::uint32_t(row[n - 1]);
    }
    writeRow(p, width, bitmap.row(y));
  }
  return kSharpenOk;
}

}  // namespace kov
