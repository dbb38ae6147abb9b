#include "frame/editor_measures.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/integer_text.h"

namespace kov {

namespace {

int saturate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// A resolution below 1 would divide by zero or turn the measures around.
int usableResolution(int dpi) { return dpi >= 1 ? dpi : kDefaultResolution; }

}  // namespace

// Integer arithmetic throughout, no floating point. Evaluated left to right as
// (pixels * 254) / 10 / dpi, every division truncating toward zero; the 64-bit
// intermediates give the same quotients as 32 bits wherever 32 bits do not
// overflow, and a result beyond 32 bits saturates.
int pixelsToMillimetres(int pixels, int dpi) {
  const std::int64_t tenths = std::int64_t(pixels) * 254 / 10;
  return saturate(tenths / usableResolution(dpi));
}

// (millimetres * dpi * 10 + 127) / 254 in integers: adding half of 254 rounds a
// non-negative value half up; a negative one is still truncated toward zero.
// Beyond 10^12 the quotient cannot fit 32 bits, so it saturates before the
// product could overflow 64 bits.
int millimetresToPixels(int millimetres, int dpi) {
  constexpr std::int64_t kLargest = 1'000'000'000'000;
  const std::int64_t product = std::int64_t(millimetres) * usableResolution(dpi);
  if (product > kLargest) return INT_MAX;
  if (product < -kLargest) return INT_MIN;
  return saturate((product * 10 + 127) / 254);
}

int resolutionFromText(std::string_view text) {
  return usableResolution(parseInteger(text).value_or(kDefaultResolution));
}

int fieldInteger(std::string_view text) {
  if (const auto value = parseInteger(text)) return *value;
  const bool negative = text.starts_with('-');
  const std::string_view digits = negative ? text.substr(1) : text;
  const bool allDigits = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (!allDigits) return 0;
  return negative ? INT_MIN : INT_MAX;
}

MeasureTexts convertMillimetreTexts(const MeasureTexts& millimetres, int dpi) {
  std::array<std::int64_t, kMeasureCount> px{};
  for (std::size_t i = 0; i < kMeasureCount; ++i)
    px[i] = millimetresToPixels(fieldInteger(millimetres[i]), dpi);
  auto at = [&px](Measure m) -> std::int64_t& { return px[index(m)]; };

  // Rounding each measure on its own can leave the sums a pixel off; the
  // window gives way, the margins and the frame size never do.
  const std::int64_t width = at(Measure::FrameWidth);
  if (at(Measure::LeftMargin) + at(Measure::WindowWidth) + at(Measure::RightMargin) != width)
    at(Measure::WindowWidth) = saturate(width - at(Measure::LeftMargin) - at(Measure::RightMargin));
  const std::int64_t height = at(Measure::FrameHeight);
  if (at(Measure::TopMargin) + at(Measure::WindowHeight) + at(Measure::BottomMargin) != height)
    at(Measure::WindowHeight) =
        saturate(height - at(Measure::TopMargin) - at(Measure::BottomMargin));

  MeasureTexts texts;
  for (std::size_t i = 0; i < kMeasureCount; ++i) texts[i] = std::to_string(px[i]);
  return texts;
}

}  // namespace kov
