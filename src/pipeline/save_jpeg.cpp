#include "pipeline/save_jpeg.h"

#include "frame/frame_image_path.h"
#include "platform/file_util.h"
#include "platform/host.h"
#include "platform/jpeg_codec.h"

namespace kov {

int saveJpeg(Host& host, std::string_view caption, const std::string& path,
             const WorkImage& picture, int quality) {
  if (path.size() <= 2) {
    host.message("保存先フォルダが指定されていません。", caption, Buttons::Ok, Icon::None);
    return kSaveNoFolder;
  }
  const std::string folder = folderOf(path);
  if (!folder.empty() && !folderExists(folder)) {
    if (!createFolders(folder)) {
      host.message("保存先フォルダを作成出来ません。\n" + folder, caption, Buttons::Ok,
                   Icon::None);
      return kSaveCannotCreate;
    }
    if (!folderExists(folder)) {
      host.message("保存先フォルダを作成出来ません。", caption, Buttons::Ok, Icon::None);
      return kSaveFolderUnusable;
    }
  }
  if (writeJpegFile(path, picture, quality) != kJpegOk) {
    host.message("保存先フォルダを作成出来ません。", caption, Buttons::Ok, Icon::None);
    return kSaveWriteFailed;
  }
  return kSaveOk;
}

std::string outputPathFor(const std::string& outputFolder, const std::string& photoFolder,
                          const std::string& photoPath) {
  std::string relative;
  std::string prefix = photoFolder;
  if (!prefix.empty() && !endsWithSeparator(prefix)) prefix += kPathSeparator;
  if (!prefix.empty() && photoPath.size() > prefix.size() &&
      photoPath.compare(0, prefix.size(), prefix) == 0)
    relative = photoPath.substr(prefix.size());
  else
    relative = photoPath.substr(photoPath.rfind(kPathSeparator) + 1);
  std::string out = outputFolder;
  if (endsWithBackslash(out) != 1) out += kPathSeparator;
  return out + relative;
}

}  // namespace kov
