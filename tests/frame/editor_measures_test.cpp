#include "frame/editor_measures.h"

#include <climits>
#include <gtest/gtest.h>

namespace kov {
namespace {

// Expected values worked by hand, left to right with truncation:
// pixels * 254 / 10 / dpi and (mm * dpi * 10 + 127) / 254.
TEST(EditorMeasures, PixelsToMillimetres) {
  struct Case {
    int pixels, dpi, millimetres;
  } cases[] = {
      {1051, 300, 88},   // 266954 / 10 = 26695, / 300 = 88
      {2480, 300, 209},  // 62992 / 300 = 209.97: 210 mm does not come back
      {3543, 300, 299},
      {3508, 300, 297},  // 89103 / 300 = 297.01
      {2244, 300, 189},  // 56997 / 300 = 189.99
      {2918, 300, 247},  // 74117 / 300 = 247.06
      {11, 300, 0},
      {12, 300, 1},  // 3048 / 10 = 304, / 300 = 1
      {1, 300, 0},   // 254 / 10 = 25, / 300 = 0
      {0, 300, 0},
      {-12, 300, -1},    // -304 / 300 truncates toward zero
      {2480, 600, 104},  // 62992 / 600 = 104.99
      {2480, 1, 62992},
      {10'000'000, 300, 846666},  // 2.54e9 needs more than 32 bits on the way
      {INT_MAX, 300, 181820282},
      {INT_MAX, 1, INT_MAX},  // 54546084633 saturates
      {INT_MIN, 1, INT_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(pixelsToMillimetres(c.pixels, c.dpi), c.millimetres) << c.pixels << " at " << c.dpi;
}

TEST(EditorMeasures, MillimetresToPixelsRoundsHalfUp) {
  struct Case {
    int millimetres, dpi, pixels;
  } cases[] = {
      {25, 300, 295},   // 75127 / 254 = 295.77
      {89, 300, 1051},  // 267127 / 254 = 1051.68
      {297, 300, 3508},
      {299, 300, 3531},  // 897127 / 254 = 3531.99
      {0, 300, 0},
      {1, 300, 12},    // 3127 / 254 = 12.31
      {10, 300, 118},  // 30127 / 254 = 118.61
      {20, 300, 236},
      {30, 300, 354},  // 90127 / 254 = 354.83
      {190, 300, 2244},
      {210, 300, 2480},            // 630127 / 254 = 2480.81
      {247, 300, 2917},            // 741127 / 254 = 2917.82
      {127, 254, 1270},            // 322707 / 254 = 1270.5, five inches
      {-1, 300, -11},              // -2873 / 254: negative values truncate toward zero
      {1'000'000, 300, 11811024},  // 3e9 needs more than 32 bits on the way
      {INT_MAX, 300, INT_MAX},     // saturates instead of wrapping
      {INT_MIN, 300, INT_MIN},
      {INT_MAX, INT_MAX, INT_MAX},
  };
  for (const Case& c : cases)
    EXPECT_EQ(millimetresToPixels(c.millimetres, c.dpi), c.pixels)
        << c.millimetres << " at " << c.dpi;
}

TEST(EditorMeasures, UnusableResolutionCountsAs300) {
  for (int dpi : {0, -1, -300, INT_MIN}) {
    EXPECT_EQ(pixelsToMillimetres(2480, dpi), 209) << dpi;
    EXPECT_EQ(millimetresToPixels(210, dpi), 2480) << dpi;
  }
  struct Case {
    const char* text;
    int dpi;
  } cases[] = {{"300", 300},  {"600", 600},    {"0300", 300},  {"1", 1},
               {"", 300},     {"abc", 300},    {"0", 300},     {"-300", 300},
               {" 300", 300}, {"３００", 300}, {"300.5", 300}, {"99999999999", 300}};
  for (const Case& c : cases) EXPECT_EQ(resolutionFromText(c.text), c.dpi) << c.text;
}

TEST(EditorMeasures, FieldIntegers) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"0300", 300},
               {"-5", -5},
               {"12a", 0},
               {"", 0},
               {"25.4", 0},
               {"0.1", 0},
               {"１", 0},
               {" 1", 0},
               {"+1", 0},
               {"-", 0},
               {"0x10", 0},
               {"2147483647", INT_MAX},
               {"99999999999", INT_MAX},
               {"-99999999999", INT_MIN},
               {"9999999999a", 0}};
  for (const Case& c : cases) EXPECT_EQ(fieldInteger(c.text), c.value) << c.text;
}

MeasureTexts texts(std::initializer_list<const char*> list) {
  MeasureTexts t;
  std::size_t i = 0;
  for (const char* s : list) t[i++] = s;
  return t;
}

// Order: frame W, H, right, bottom, left, window W, window H, top, title X, Y,
// date X, Y, other X, Y.
TEST(EditorMeasures, ConversionCorrectsTheWindowOnly) {
  struct Case {
    const char* name;
    MeasureTexts millimetres;
    MeasureTexts pixels;
  } cases[] = {
      // A4: the window height converts to 2917 and becomes 3508 - 236 - 354.
      {"a4",
       texts({"210", "297", "10", "30", "10", "190", "247", "20", "105", "280", "150", "290", "",
              ""}),
       texts({"2480", "3508", "118", "354", "118", "2244", "2918", "236", "1240", "3307", "1772",
              "3425", "0", "0"})},
      // A window that does not fit is made to fit; margins and frame stay. The
      // height already adds up (118 + 945 + 118) and is left alone.
      {"window too narrow",
       texts({"100", "100", "10", "10", "10", "70", "80", "10", "0", "0", "0", "0", "0", "0"}),
       texts({"1181", "1181", "118", "118", "118", "945", "945", "118", "0", "0", "0", "0", "0",
              "0"})},
      {"empty and non-integer texts count as 0",
       texts({"", "25.4", "0.1", "1mm", "-1", "", "", "１", "1", "", "", "", "", ""}),
       texts({"0", "0", "0", "0", "-11", "11", "0", "0", "12", "0", "0", "0", "0", "0"})},
      {"margins wider than the frame",
       texts({"10", "10", "10", "10", "10", "10", "0", "0", "0", "0", "0", "0", "0", "0"}),
       texts({"118", "118", "118", "118", "118", "-118", "0", "0", "0", "0", "0", "0", "0", "0"})},
      // Saturated measures still correct without overflow.
      {"huge numbers",
       texts({"99999999999", "0", "0", "0", "-99999999999", "0", "0", "0", "0", "0", "0", "0", "0",
              "0"}),
       texts({"2147483647", "0", "0", "0", "-2147483648", "2147483647", "0", "0", "0", "0", "0",
              "0", "0", "0"})},
  };
  for (const Case& c : cases) {
    const MeasureTexts once = convertMillimetreTexts(c.millimetres, 300);
    EXPECT_EQ(once, c.pixels) << c.name;
    EXPECT_EQ(convertMillimetreTexts(c.millimetres, 300), once) << c.name << " again";
  }
}

TEST(EditorMeasures, ConversionUsesTheResolution) {
  const MeasureTexts mm =
      texts({"100", "50", "0", "0", "0", "100", "50", "0", "0", "0", "0", "0", "0", "0"});
  EXPECT_EQ(convertMillimetreTexts(mm, 600), texts({"2362", "1181", "0", "0", "0", "2362", "1181",
                                                    "0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(convertMillimetreTexts(mm, 0), convertMillimetreTexts(mm, 300));
}

}  // namespace
}  // namespace kov
