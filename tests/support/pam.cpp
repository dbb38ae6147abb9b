#include "support/pam.h"

#include <charconv>
#include <stdexcept>

#include "platform/file_util.h"

namespace kov::test {

namespace {

[[noreturn]] void fail(const std::string& why) { throw std::runtime_error("PAM: " + why); }

int number(std::string_view value, std::string_view key) {
  int n = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (ec != std::errc() || end != value.data() + value.size() || n <= 0)
    fail("bad " + std::string(key) + " '" + std::string(value) + "'");
  return n;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

PamPicture parsePam(std::string_view bytes) {
  if (bytes.substr(0, 3) != "P7\n") fail("no P7 signature");
  std::size_t pos = 3;
  int width = 0, height = 0, depth = 0, maxval = 0;
  for (;;) {
    const std::size_t eol = bytes.find('\n', pos);
    if (eol == std::string_view::npos) fail("header without ENDHDR");
    const std::string_view line = trim(bytes.substr(pos, eol - pos));
    pos = eol + 1;
    if (line == "ENDHDR") break;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t space = line.find_first_of(" \t");
    const std::string_view key = line.substr(0, space);
    const std::string_view value =
        space == std::string_view::npos ? std::string_view() : trim(line.substr(space));
    if (key == "WIDTH")
      width = number(value, key);
    else if (key == "HEIGHT")
      height = number(value, key);
    else if (key == "DEPTH")
      depth = number(value, key);
    else if (key == "MAXVAL")
      maxval = number(value, key);
    else if (key != "TUPLTYPE")
      fail("unknown header line '" + std::string(line) + "'");
  }
  if (width == 0 || height == 0 || depth == 0 || maxval == 0) fail("incomplete header");
  if (maxval != 255) fail("MAXVAL " + std::to_string(maxval) + " is not read");
  if (depth > 4) fail("DEPTH " + std::to_string(depth) + " is not read");
  const std::size_t pixels = std::size_t(width) * std::size_t(height);
  if ((bytes.size() - pos) / std::size_t(depth) < pixels) fail("pixel data cut short");

  PamPicture pam;
  pam.width = width;
  pam.height = height;
  pam.image.reset(width, height);
  const bool hasAlpha = depth == 2 || depth == 4;
  if (hasAlpha) pam.alpha.resize(pixels);
  const auto* src = reinterpret_cast<const std::uint8_t*>(bytes.data() + pos);
  for (std::size_t i = 0; i < pixels; ++i, src += depth) {
    std::uint8_t* dst = pam.image.data() + 3 * i;
    const bool gray = depth <= 2;
    dst[0] = gray ? src[0] : src[2];
    dst[1] = gray ? src[0] : src[1];
    dst[2] = src[0];
    if (hasAlpha) pam.alpha[i] = src[depth - 1];
  }
  return pam;
}

PamPicture readPam(const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) fail("cannot read " + path);
  try {
    return parsePam(*bytes);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(std::string(e.what()) + " in " + path);
  }
}

}  // namespace kov::test
