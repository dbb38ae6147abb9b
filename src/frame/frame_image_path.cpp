#include "frame/frame_image_path.h"

#include <algorithm>

#include "platform/file_util.h"

namespace kov {

namespace {

std::size_t lastSeparator(const std::string& path) { return path.rfind(kPathSeparator); }

}  // namespace

std::string folderOf(const std::string& path) {
  const std::size_t sep = lastSeparator(path);
  if (sep == std::string::npos) return {};
  if (sep == 0) return std::string(1, kPathSeparator);
  return path.substr(0, sep);
}

std::string baseName(const std::string& path) {
  const std::size_t sep = lastSeparator(path);
  std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string replaceExtension(const std::string& path, std::string_view extension) {
  const std::size_t sep = lastSeparator(path);
  const std::size_t dot = path.rfind('.');
  std::string result = path;
  if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) result.erase(dot);
  result += extension;
  return result;
}

ResolvedImage resolveFrameImage(const std::string& framePath, const std::string& photoFile,
                                FrameContext context) {
  ResolvedImage image;
  if (photoFile.find_first_of("\\/:") != std::string::npos) {
    image.path = photoFile;
    std::replace(image.path.begin(), image.path.end(), '\\', kPathSeparator);
  } else {
    const std::string folder = folderOf(framePath);
    image.path = folder.empty() ? photoFile : joinPath(folder, photoFile);
  }
  if (context == FrameContext::MainWindowLoad) {
    const std::string tga = replaceExtension(image.path, ".tga");
    if (fileExists(tga)) image.path = tga;
  }
  image.exists = fileExists(image.path);
  return image;
}

}  // namespace kov
