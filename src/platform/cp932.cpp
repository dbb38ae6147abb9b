#include "platform/cp932.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>

namespace kov {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor per call: iconv_t keeps state and must not be shared between
// threads, and opening one per call is cheap next to the conversion itself.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(::iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) ::iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [in, in + left) as it can, appending to out. Returns false with
  // errno set (EILSEQ or EINVAL) at the first unit it cannot convert; in and left then
  // point at that unit.
  bool convert(const char*& in, std::size_t& left, std::string& out) {
    while (left > 0) {
      const std::size_t used = out.size();
      out.resize(used + std::max<std::size_t>(left * 2, 64));
      char* inPtr = const_cast<char*>(in);
      char* outPtr = out.data() + used;
      std::size_t room = out.size() - used;
      const std::size_t result = ::iconv(m_cd, &inPtr, &left, &outPtr, &room);
      const int error = errno;
      in = inPtr;
      out.resize(std::size_t(outPtr - out.data()));
      if (result != static_cast<std::size_t>(-1)) break;
      if (error != E2BIG) {
        errno = error;
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t m_cd;
};

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

bool isCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isCp932Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Length of the valid UTF-8 sequence at the start of text, or 0. When 0, *prefix is the
// number of bytes that began a sequence before it broke off (at least 1).
std::size_t utf8SequenceLength(std::string_view text, std::size_t* prefix) {
  const auto byte = [&](std::size_t i) { return (unsigned char)text[i]; };
  const unsigned char b0 = byte(0);
  *prefix = 1;
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;   // overlong
    if (b0 == 0xED) high = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;   // overlong
    if (b0 == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return 0;
    const unsigned char lo = i == 1 ? low : 0x80, hi = i == 1 ? high : 0xBF;
    if (byte(i) < lo || byte(i) > hi) return 0;
    *prefix = i + 1;
  }
  return length;
}

bool isValidUtf8(std::string_view text) {
  std::size_t prefix = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = utf8SequenceLength(text.substr(i), &prefix);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// Characters whose JIS form CP932 holds under another code point: stored as that character.
struct Twin {
  std::string_view from, to;
};
constexpr std::array<Twin, 7> kTwins = {{
    {"\xE3\x80\x9C", "\xEF\xBD\x9E"},  // 〜 -> ～
    {"\xE2\x80\x96", "\xE2\x88\xA5"},  // ‖ -> ∥
    {"\xE2\x88\x92", "\xEF\xBC\x8D"},  // − -> －
    {"\xC2\xA2", "\xEF\xBF\xA0"},      // ¢ -> ￠
    {"\xC2\xA3", "\xEF\xBF\xA1"},      // £ -> ￡
    {"\xC2\xAC", "\xEF\xBF\xA2"},      // ¬ -> ￢
    {"\xE2\x80\x94", "\xE2\x80\x95"},  // — -> ―
}};

// Valid UTF-8 with every twin replaced by the character CP932 reads back.
std::string withCp932Twins(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 8);
  for (std::size_t i = 0; i < utf8.size();) {
    const std::string_view rest = utf8.substr(i);
    const auto twin = std::find_if(kTwins.begin(), kTwins.end(),
                                   [&](const Twin& t) { return rest.starts_with(t.from); });
    if (twin != kTwins.end()) {
      out += twin->to;
      i += twin->from.size();
    } else {
      out += utf8[i++];
    }
  }
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes) {
  if (isAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2 + 16);
  Converter converter("UTF-8", "CP932");
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    if (converter.ok() && converter.convert(in, left, out)) break;
    // A lead byte with a trail byte is one (unassigned) character; anything else is a
    // stray byte, so the character after it is not lost.
    std::size_t skip = 1;
    if (!converter.ok() && (unsigned char)*in < 0x80) {
      out += *in;  // no converter: keep at least the ASCII
    } else {
      out += kReplacement;
      if (left >= 2 && isCp932Lead((unsigned char)in[0]) && isCp932Trail((unsigned char)in[1]))
        skip = 2;
    }
    in += skip;
    left -= skip;
  }
  return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  if (!isValidUtf8(utf8)) return std::nullopt;
  const std::string text = withCp932Twins(utf8);
  Converter converter("CP932", "UTF-8");
  if (!converter.ok()) return std::nullopt;
  std::string out;
  out.reserve(text.size());
  const char* in = text.data();
  std::size_t left = text.size();
  if (!converter.convert(in, left, out)) return std::nullopt;
  // iconv also maps some characters one way onto others (¥ onto \) or drops them (tag
  // characters); only what reads back unchanged counts as held by CP932.
  if (cp932ToUtf8(out) != text) return std::nullopt;
  return out;
}

std::string sanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t prefix = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = utf8SequenceLength(bytes.substr(i), &prefix);
    if (n == 0) {
      out += kReplacement;
      i += prefix;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string decodeTextFile(std::string_view bytes, TextFileEncoding* found) {
  const bool utf8 = bytes.starts_with(kUtf8Bom);
  if (found) *found = utf8 ? TextFileEncoding::Utf8WithBom : TextFileEncoding::Cp932;
  return utf8 ? sanitizeUtf8(bytes.substr(kUtf8Bom.size())) : cp932ToUtf8(bytes);
}

std::string encodeTextFile(std::string_view utf8, TextFileEncoding* chosen) {
  if (auto cp932 = utf8ToCp932(utf8)) {
    if (chosen) *chosen = TextFileEncoding::Cp932;
    return std::move(*cp932);
  }
  if (chosen) *chosen = TextFileEncoding::Utf8WithBom;
  return std::string(kUtf8Bom) + sanitizeUtf8(utf8);
}

}  // namespace kov
