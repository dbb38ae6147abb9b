#pragma once
// Writing a finished picture as a JPEG, creating its folder when needed, and
// where each photo's result goes.

#include <string>
#include <string_view>

namespace kov {

class Host;
class WorkImage;

constexpr int kSaveOk = 0;
constexpr int kSaveNoFolder = -1;          // no output folder given
constexpr int kSaveCannotCreate = -2;      // the folder cannot be created
constexpr int kSaveFolderUnusable = -3;    // created, but still not a usable folder
constexpr int kSaveWriteFailed = -4;       // encoding or writing failed; nothing half-written

// Every box is titled `caption`. The old file of that name stays whole when writing fails.
int saveJpeg(Host& host, std::string_view caption, const std::string& path,
             const WorkImage& picture, int quality);

// The output file of a photo: the photo's own name in the output folder; a photo
// inside a sub-folder of the photo folder keeps that sub-folder under it, so
// equal names in different folders never overwrite each other.
std::string outputPathFor(const std::string& outputFolder, const std::string& photoFolder,
                          const std::string& photoPath);

}  // namespace kov
