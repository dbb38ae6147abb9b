#include "platform/file_util.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kov {

namespace fs = std::filesystem;

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(path), ec);
  return folderExists(path);
}

std::optional<std::string> readFileBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  if (st.st_size > 0) bytes.reserve(std::size_t(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, std::size_t(n));
  }
  ::close(fd);
  return bytes;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
  if (path.empty() || folderExists(path)) return false;
  std::string temp = path + ".kovtmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= std::size_t(n);
  }
  // mkstemp makes the file private; give it the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (ok) ok = ::fchmod(fd, 0666 & ~mask) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string executableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "kovanta";
  std::string folder = exe.parent_path().string();
  if (!endsWithSeparator(folder)) folder += kPathSeparator;
  return folder;
}

bool endsWithSeparator(std::string_view path) {
  return !path.empty() && path.back() == kPathSeparator;
}

int endsWithBackslash(std::string_view path) {
  if (path.empty()) return -3;
  if (path.size() >= 2048) return -2;
  return endsWithSeparator(path) ? 1 : 0;
}

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && !endsWithSeparator(joined)) joined += kPathSeparator;
  joined += name;
  return joined;
}

}  // namespace kov
