#include "platform/profile.h"

#include <algorithm>
#include <cstdint>

#include "platform/file_util.h"
#include "platform/integer_text.h"

namespace kov {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isBlankLine(std::string_view text) { return trimBlanks(text).empty(); }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return asciiLower(x) == asciiLower(y);
         });
}

std::string decode(std::string_view bytes, TextFileEncoding encoding) {
  return encoding == TextFileEncoding::Cp932 ? cp932ToUtf8(bytes) : sanitizeUtf8(bytes);
}

bool isCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isCp932Trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool isUtf8Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The longest prefix of at most max bytes that does not end inside a character.
std::string_view cutAtCharacter(std::string_view bytes, std::size_t max,
                                TextFileEncoding encoding) {
  if (bytes.size() <= max) return bytes;
  std::size_t n = 0;
  if (encoding == TextFileEncoding::Cp932) {
    while (n < max) {
      const bool pair = n + 1 < bytes.size() && isCp932Lead((unsigned char)bytes[n]) &&
                        isCp932Trail((unsigned char)bytes[n + 1]);
      const std::size_t length = pair ? 2 : 1;
      if (n + length > max) break;
      n += length;
    }
  } else {
    // A character is at most 4 bytes; a longer run of continuation bytes is no character.
    n = max;
    for (int back = 0; back < 3 && n > 0 && isUtf8Continuation((unsigned char)bytes[n]); ++back)
      --n;
    if (isUtf8Continuation((unsigned char)bytes[n])) n = max;
  }
  return bytes.substr(0, n);
}

// The value part of an entry line's bytes: blanks and enclosing quotes dropped, cut to the
// length that is read. '=', blanks and quotes are never part of a double-byte character.
std::string_view storedValue(std::string_view text, TextFileEncoding encoding) {
  std::string_view value = trimBlanks(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return cutAtCharacter(value, Profile::kMaxValueBytes, encoding);
}

// A line break inside a written text would split its line.
std::string cleanText(std::string_view utf8) {
  std::string text = sanitizeUtf8(utf8);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}


}  // namespace

Profile::Profile() = default;

std::optional<Profile> Profile::load(const std::string& path) {
  const auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromBytes(*bytes);
}

Profile Profile::fromBytes(std::string_view bytes) {
  Profile profile;
  if (bytes.starts_with(kUtf8Bom)) {
    profile.m_encoding = TextFileEncoding::Utf8WithBom;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  // CR and LF are never part of a double-byte character, so lines split on the raw bytes.
  while (!bytes.empty()) {
    Line line;
    const std::size_t end = bytes.find_first_of(kCrLf);
    line.text = bytes.substr(0, end);
    if (end != std::string_view::npos) {
      const std::size_t endLength = bytes.substr(end).starts_with(kCrLf) ? 2 : 1;
      line.end = bytes.substr(end, endLength);
      bytes.remove_prefix(end + endLength);
    } else {
      bytes = {};
    }
    profile.parseLine(line);
    profile.m_lines.push_back(std::move(line));
  }
  return profile;
}

void Profile::parseLine(Line& line) const {
  const std::string_view text = line.text;
  const std::size_t first = text.find_first_not_of(" \t");
  line.kind = Line::Kind::Other;
  line.name.clear();
  if (first != std::string_view::npos && text[first] == '[') {
    // ']' can be the trail byte of a double-byte character: look for it in decoded text.
    const std::string decoded = decode(text.substr(first + 1), m_encoding);
    line.kind = Line::Kind::Section;
    line.name = trimBlanks(std::string_view(decoded).substr(0, decoded.find(']')));
  } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
    line.kind = Line::Kind::Entry;
    line.name = decode(trimBlanks(text.substr(0, equals)), m_encoding);
  }
}

std::size_t Profile::findSection(std::string_view section) const {
  section = trimBlanks(section);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].kind == Line::Kind::Section && sameName(m_lines[i].name, section)) return i;
  }
  return m_lines.size();
}

std::size_t Profile::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section) ++i;
  return i;
}

std::size_t Profile::findKey(std::string_view section, std::string_view key) const {
  const std::size_t header = findSection(section);
  if (header == m_lines.size()) return m_lines.size();
  key = trimBlanks(key);
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (m_lines[i].kind == Line::Kind::Entry && sameName(m_lines[i].name, key)) return i;
  }
  return m_lines.size();
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const {
  const std::size_t i = findKey(section, key);
  if (i == m_lines.size()) return std::nullopt;
  return decode(storedValue(m_lines[i].text, m_encoding), m_encoding);
}

std::string Profile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  auto found = value(section, key);
  return found ? std::move(*found) : std::string(fallback);
}

int Profile::readInteger(std::string_view section, std::string_view key, int fallback,
                         IntegerForm form) const {
  const auto found = value(section, key);
  if (!found) return fallback;
  return parseInteger(*found, form == IntegerForm::DecimalOrHex).value_or(fallback);
}

void Profile::write(std::string_view section, std::string_view key, std::string_view utf8Value) {
  const std::string sectionName(trimBlanks(cleanText(section)));
  const std::string keyName(trimBlanks(cleanText(key)));
  std::string fileSection = sectionName, fileKey = keyName, fileValue = cleanText(utf8Value);
  if (m_encoding == TextFileEncoding::Cp932) {
    auto s = utf8ToCp932(fileSection), k = utf8ToCp932(fileKey), v = utf8ToCp932(fileValue);
    if (s && k && v) {
      fileSection = std::move(*s);
      fileKey = std::move(*k);
      fileValue = std::move(*v);
    } else {
      switchToUtf8();
    }
  }

  const std::size_t header = findSection(sectionName);
  if (header == m_lines.size()) {
    if (!m_lines.empty() && m_lines.back().end.empty()) m_lines.back().end = kCrLf;
    insertLine(m_lines.size(), "[" + fileSection + "]");
    insertLine(m_lines.size(), fileKey + "=" + fileValue);
    return;
  }
  const std::size_t end = sectionEnd(header);
  std::size_t last = header;  // the section's last non-blank line
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& line = m_lines[i];
    if (line.kind == Line::Kind::Entry && sameName(line.name, keyName)) {
      const std::string_view text = line.text;
      line.text = std::string(trimBlanks(text.substr(0, text.find('=')))) + "=" + fileValue;
      return;
    }
    if (!isBlankLine(line.text)) last = i;
  }
  if (m_lines[last].end.empty()) m_lines[last].end = kCrLf;
  insertLine(last + 1, fileKey + "=" + fileValue);
}

void Profile::writeInteger(std::string_view section, std::string_view key, int value) {
  write(section, key, std::to_string(value));
}

void Profile::insertLine(std::size_t at, std::string text) {
  Line line;
  line.text = std::move(text);
  line.end = kCrLf;
  parseLine(line);
  m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), std::move(line));
}

void Profile::switchToUtf8() {
  m_encoding = TextFileEncoding::Utf8WithBom;
  for (Line& line : m_lines) {
    line.text = cp932ToUtf8(line.text);
    parseLine(line);
  }
}

std::string Profile::bytes() const {
  std::size_t size = kUtf8Bom.size();
  for (const Line& line : m_lines) size += line.text.size() + line.end.size();
  std::string out;
  out.reserve(size);
  if (m_encoding == TextFileEncoding::Utf8WithBom) out += kUtf8Bom;
  for (const Line& line : m_lines) {
    out += line.text;
    out += line.end;
  }
  return out;
}

bool Profile::save(const std::string& path) const { return writeFileAtomic(path, bytes()); }

}  // namespace kov
