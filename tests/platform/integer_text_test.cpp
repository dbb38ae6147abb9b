#include "platform/integer_text.h"

#include <gtest/gtest.h>

namespace kov {
namespace {

TEST(IntegerText, Table) {
  struct Case {
    const char* text;
    bool hex;
    std::optional<int> value;
  } cases[] = {
      {"0", false, 0},
      {"42", false, 42},
      {"-7", false, -7},
      {"007", false, 7},
      {"2147483647", false, 2147483647},
      {"-2147483648", false, INT32_MIN},
      {"2147483648", false, std::nullopt},
      {"-2147483649", false, std::nullopt},
      {"99999999999999999999", false, std::nullopt},
      {"", false, std::nullopt},
      {"-", false, std::nullopt},
      {"+5", false, std::nullopt},
      {" 5", false, std::nullopt},
      {"12abc", false, std::nullopt},
      {"1.5", false, std::nullopt},
      {"0x10", false, std::nullopt},
      {"0x10", true, 16},
      {"0XfF", true, 255},
      {"0xFFFFFFFF", true, -1},
      {"0x0000FF00", true, 0xFF00},
      {"0x123456789", true, std::nullopt},
      {"0x", true, std::nullopt},
      {"0xg", true, std::nullopt},
      {"-12", true, -12},
  };
  for (const Case& c : cases) EXPECT_EQ(parseInteger(c.text, c.hex), c.value) << c.text;
}

}  // namespace
}  // namespace kov
