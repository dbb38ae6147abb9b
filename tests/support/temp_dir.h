#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>
#include <string_view>

namespace kov::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return m_path; }  // no trailing separator
  std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }
  void write(std::string_view name, std::string_view bytes) const;  // throws on failure
  std::string read(std::string_view name) const;                    // throws on failure

 private:
  std::string m_path;
};

// Path of a file under ../shared/testdata, or empty when that folder is not there.
std::string testDataPath(std::string_view relative);

}  // namespace kov::test
