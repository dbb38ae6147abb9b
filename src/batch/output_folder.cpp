#include "batch/output_folder.h"

#include "platform/file_util.h"

namespace kov {

std::string withTrailingSeparator(std::string_view path) {
  std::string folder(path);
  if (endsWithBackslash(folder) != 1) folder += kPathSeparator;
  return folder;
}

std::string proposedOutputFolder(std::string_view photoFolder, std::string_view prefix) {
  const std::size_t cut = photoFolder.rfind(kPathSeparator);
  const std::size_t nameStart = cut == std::string_view::npos ? 0 : cut + 1;
  std::string proposal(photoFolder.substr(0, nameStart));
  proposal += prefix;
  proposal += photoFolder.substr(nameStart);
  return proposal;
}

std::string droppedOutputFolder(std::string_view path) {
  std::string folder = withTrailingSeparator(path);
  if (folderExists(folder)) return folder;
  // A file (or something gone since): the folder it lies in.
  std::string_view item = path;
  while (item.size() > 1 && item.back() == kPathSeparator) item.remove_suffix(1);
  const std::size_t cut = item.rfind(kPathSeparator);
  // A bare name lies in the current folder; never let it become the root.
  if (cut == std::string_view::npos) return std::string(".") + kPathSeparator;
  return withTrailingSeparator(item.substr(0, cut + 1));
}

}  // namespace kov
