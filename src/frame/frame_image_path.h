#pragma once
// Where a frame file's image lies.

#include <string>

#include "frame/frame_definition.h"

namespace kov {

struct ResolvedImage {
  std::string path;
  bool exists = false;
};

// A PhotoFile with a folder part (a backslash, slash or colon) is used as it
// stands, its backslashes read as the native separator; a bare name lies in the
// frame file's folder. The main window prefers a TGA of the same base name.
ResolvedImage resolveFrameImage(const std::string& framePath, const std::string& photoFile,
                                FrameContext context);

// The path with its extension (from the last dot of the last name) replaced.
std::string replaceExtension(const std::string& path, std::string_view extension);
// The last name of a path without its extension.
std::string baseName(const std::string& path);
// The folder part of a path, without its trailing separator; empty when none.
std::string folderOf(const std::string& path);

}  // namespace kov
