// Profile files from anywhere: parsing, reading and writing must never crash, a file must
// come out byte for byte as it went in, and a write must change only the key it writes.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "platform/profile.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

struct Key {
  const char* section;
  const char* key;
};
constexpr std::array<Key, 6> kKeys = {{
    {"Config", "Bar5"},
    {"Frame", "PhotoFile"},
    {"frame", "FRAMEWIDTH"},
    {"Title", "Text"},
    {"Date", "Vrt"},
    {"", ""},
}};

// Pieces the written value is made of, so that it is valid UTF-8 with the characters
// that matter: blanks, quotes, line breaks, CP932 texts and texts CP932 cannot hold.
constexpr std::array<std::string_view, 16> kPieces = {
    "a", "7", " ", "\t", "\"", "'", "=", "[", "]", "\r", "\n", "表", "ｱ", "〜", "😀", "¥",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the key to write, the last bytes make its value, the rest is the file.
  if (size == 0) return 0;
  const std::size_t valueLength = std::min<std::size_t>(data[0] >> 3, size - 1);
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1 - valueLength);
  std::string value;
  for (std::size_t i = size - valueLength; i < size; ++i)
    value += kPieces[data[i] % kPieces.size()];
  const Key& target = kKeys[data[0] % kKeys.size()];

  kov::Profile profile = kov::Profile::fromBytes(file);
  check(profile.bytes() == file);
  std::array<std::optional<std::string>, kKeys.size()> before;
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    before[i] = profile.value(kKeys[i].section, kKeys[i].key);
    profile.readInteger(kKeys[i].section, kKeys[i].key, -1, kov::IntegerForm::DecimalOrHex);
    check(kov::sanitizeUtf8(profile.readString(kKeys[i].section, kKeys[i].key, "")) ==
          profile.readString(kKeys[i].section, kKeys[i].key, ""));
  }
  const bool wasCp932 = profile.encoding() == kov::TextFileEncoding::Cp932;

  profile.write(target.section, target.key, value);
  profile.writeInteger("Config", "Bar4", -123);
  const kov::Profile reread = kov::Profile::fromBytes(profile.bytes());
  check(reread.bytes() == profile.bytes());
  check(reread.readInteger("Config", "Bar4", 0) == -123);
  const auto written = reread.value(target.section, target.key);
  check(written.has_value() && written == profile.value(target.section, target.key));
  if (value.find_first_of("\r\n \t\"'") == std::string::npos &&
      value.find("〜") == std::string::npos)
    check(*written == value);

  // Other keys keep their values, unless the file turned into UTF-8 and a long value
  // is now cut elsewhere.
  const bool sameEncoding = wasCp932 == (reread.encoding() == kov::TextFileEncoding::Cp932);
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    const std::string_view section = kKeys[i].section, key = kKeys[i].key;
    const auto sameName = [](std::string_view a, std::string_view b) {
      return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
             });
    };
    if (sameName(section, target.section) && sameName(key, target.key)) continue;
    if (sameName(section, "Config") && sameName(key, "Bar4")) continue;
    if (!sameEncoding && before[i] && before[i]->size() > 600) continue;
    check(reread.value(section, key) == before[i]);
  }
  return 0;
}
