#pragma once
// A Windows profile (INI) file, read and written as the profile-string functions do: names
// match without regard to ASCII case, values are trimmed and lose enclosing quotes, and
// writing changes only the line it writes, so every other line keeps its bytes.
//
// The file is CP932 unless it starts with the UTF-8 byte order mark. A write whose text
// CP932 cannot hold turns the whole file into UTF-8 with the mark. All texts in and out
// of this class are UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace kov {

enum class IntegerForm { Decimal, DecimalOrHex };

class Profile {
 public:
  // At most this many bytes of a value, as stored in the file, are read.
  static constexpr std::size_t kMaxValueBytes = 2047;

  Profile();                                                    // an empty file, CP932
  static std::optional<Profile> load(const std::string& path);  // nullopt when unreadable
  static Profile fromBytes(std::string_view bytes);

  // The first matching key of the first matching section; nullopt when the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // A decimal integer with an optional minus sign that fits into 32 bits; with DecimalOrHex
  // also "0x" and 1 to 8 hex digits (two's complement). Anything else gives the fallback.
  int readInteger(std::string_view section, std::string_view key, int fallback,
                  IntegerForm form = IntegerForm::Decimal) const;

  // Replaces the key's value in place, or appends the key at the end of its section, or
  // appends the section at the end of the file. CR and LF in the texts become spaces.
  void write(std::string_view section, std::string_view key, std::string_view utf8Value);
  void writeInteger(std::string_view section, std::string_view key, int value);

  std::string bytes() const;                 // the file as it would be saved
  bool save(const std::string& path) const;  // atomically; false on failure
  TextFileEncoding encoding() const { return m_encoding; }

 private:
  struct Line {
    std::string text;  // bytes in the file's encoding, without the line end
    std::string end;   // "\r\n", "\n", "\r", or empty on a last line without one
    enum class Kind { Other, Section, Entry } kind = Kind::Other;
    std::string name;  // section or key name, UTF-8
  };

  void parseLine(Line& line) const;
  std::size_t findSection(std::string_view section) const;  // m_lines.size() when missing
  std::size_t sectionEnd(std::size_t header) const;
  std::size_t findKey(std::string_view section, std::string_view key) const;
  void switchToUtf8();
  void insertLine(std::size_t at, std::string text);

  std::vector<Line> m_lines;
  TextFileEncoding m_encoding = TextFileEncoding::Cp932;
};

}  // namespace kov
