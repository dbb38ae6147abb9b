#pragma once
// Text conversion between the program's UTF-8 and CP932 (Japanese Windows Shift-JIS),
// the encoding of frame files and kov.ini on disk.
//
// Characters that the JIS and Microsoft tables map differently are stored as CP932's own
// character and read back in the Microsoft form: 〜 (U+301C) becomes ～ (U+FF5E), likewise
// ‖ − ¢ £ ¬ — become ∥ － ￠ ￡ ￢ ―. ¥ (U+00A5) and ‾ (U+203E), which CP932 could only
// store as \ and ~, count as having no CP932 form.

#include <optional>
#include <string>
#include <string_view>

namespace kov {

// Invalid or incomplete bytes decode to U+FFFD and decoding goes on.
std::string cp932ToUtf8(std::string_view bytes);
// Nullopt when a character has no CP932 form or the UTF-8 is invalid.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// Valid UTF-8 as it is; every byte that is not part of a valid sequence becomes U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class TextFileEncoding { Cp932, Utf8WithBom };

// A file's bytes as UTF-8: a file starting with the UTF-8 byte order mark is UTF-8 (mark
// dropped, invalid sequences -> U+FFFD); any other is CP932.
std::string decodeTextFile(std::string_view bytes, TextFileEncoding* found = nullptr);
// CP932 when CP932 can hold every character, else the byte order mark followed by UTF-8.
std::string encodeTextFile(std::string_view utf8, TextFileEncoding* chosen = nullptr);

}  // namespace kov
