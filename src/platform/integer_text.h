#pragma once
// Reading whole numbers from texts the user typed or a file stored.

#include <optional>
#include <string_view>

namespace kov {

// A decimal integer with an optional leading minus sign that fits into 32 bits;
// with allowHex also "0x"/"0X" and 1 to 8 hex digits (two's complement, so
// 0xFFFFFFFF is -1). No blanks, no plus sign. Anything else gives nothing.
std::optional<int> parseInteger(std::string_view text, bool allowHex = false);

}  // namespace kov
