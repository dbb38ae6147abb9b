#pragma once
// Files and folders on native paths (UTF-8 names).

#include <optional>
#include <string>
#include <string_view>

namespace kov {

bool fileExists(const std::string& path);    // a file, not a folder
bool folderExists(const std::string& path);  // a folder
// Creates the folder and every missing parent. True when the folder exists afterwards.
bool createFolders(const std::string& path);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);

// Writes into a temporary file in the same folder and renames it into place,
// so the old file stays whole until the new one is complete. False on any failure,
// in which case nothing is left behind.
bool writeFileAtomic(const std::string& path, std::string_view bytes);

// The folder of the running executable with a trailing separator.
std::string executableFolder();

// The native separator and helpers over it.
constexpr char kPathSeparator = '/';
bool endsWithSeparator(std::string_view path);
// The program's test for a folder path that needs no separator appended: 1 when
// the last character is the separator, 0 when not, -3 for an empty path and -2
// for one of 2048 bytes or more.
int endsWithBackslash(std::string_view path);
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace kov
