#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kov::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "kovanta-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have made a folder read-only; give permissions back before removing.
  for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::end(it);
       it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(m_path, ec);
}

void TempDir::write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file(name));
}

std::string TempDir::read(std::string_view name) const {
  std::ifstream in(file(name), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file(name));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string testDataPath(std::string_view relative) {
  const fs::path root(KOVANTA_TESTDATA_DIR);
  if (!fs::is_directory(root)) return {};
  return (root / relative).string();
}

}  // namespace kov::test
