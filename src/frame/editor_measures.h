#pragma once
// The frame editor's fourteen measures and the conversions between millimetres
// and pixels at the editor's resolution. Only the pixel values are saved; the
// millimetres are an input aid.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kov {

inline constexpr int kDefaultResolution = 300;  // dpi of every frame design

// In the order of the editor's table, which is also the order the conversion
// button writes the pixel fields in.
enum class Measure {
  FrameWidth,
  FrameHeight,
  RightMargin,
  BottomMargin,
  LeftMargin,
  WindowWidth,
  WindowHeight,
  TopMargin,
  TitleX,
  TitleY,
  DateX,
  DateY,
  OtherX,
  OtherY,
};
inline constexpr std::size_t kMeasureCount = 14;
constexpr std::size_t index(Measure m) { return static_cast<std::size_t>(m); }

using MeasureTexts = std::array<std::string, kMeasureCount>;
using MeasureValues = std::array<int, kMeasureCount>;

// millimetres = pixels * 254 / 10 / dpi, truncating toward zero.
int pixelsToMillimetres(int pixels, int dpi);
// pixels = (millimetres * dpi * 10 + 127) / 254, truncating toward zero.
int millimetresToPixels(int millimetres, int dpi);

// The resolution field as dpi: 300 unless it holds a whole number of at least 1.
int resolutionFromText(std::string_view text);
// A measure field as an integer: 0 when empty or not an integer. A number too
// large for 32 bits keeps its sign and becomes the largest value.
int fieldInteger(std::string_view text);

// The conversion button: the millimetre texts converted to pixel texts, the
// window width and height corrected so that margins and window fill the frame.
MeasureTexts convertMillimetreTexts(const MeasureTexts& millimetres, int dpi);

}  // namespace kov
