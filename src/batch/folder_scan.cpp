#include "batch/folder_scan.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>

#include "app/main_window_state.h"
#include "pipeline/compose.h"
#include "pipeline/photo_load.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

// The simple upper case of the letters that occur in file names: Latin, Greek,
// Cyrillic, Armenian, Roman numerals, circled and full-width letters. Windows
// uses the volume's own table, which agrees with this on these letters.
char16_t upperUnit(char16_t c) {
  const auto pairUpper = [](char16_t u, bool upperIsEven) -> char16_t {
    return (u % 2 == 0) == upperIsEven ? u : char16_t(u - 1);
  };
  if (c < 0x80) return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return pairUpper(c, true);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return pairUpper(c, false);
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return char16_t(c - 37);
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3CB) return char16_t(c - 32);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return char16_t(c - 63);
  if (c >= 0x430 && c <= 0x44F) return char16_t(c - 32);
  if (c >= 0x450 && c <= 0x45F) return char16_t(c - 80);
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return pairUpper(c, true);
  if (c >= 0x4C1 && c <= 0x4CE) return pairUpper(c, false);
  if (c == 0x4CF) return 0x4C0;
  if (c >= 0x561 && c <= 0x586) return char16_t(c - 48);
  if ((c >= 0x1E00 && c <= 0x1E95) || (c >= 0x1EA0 && c <= 0x1EFF)) return pairUpper(c, true);
  if (c >= 0x2170 && c <= 0x217F) return char16_t(c - 16);
  if (c >= 0x24D0 && c <= 0x24E9) return char16_t(c - 26);
  if (c >= 0xFF41 && c <= 0xFF5A) return char16_t(c - 32);
  return c;
}

// The name as upper-cased UTF-16, the form NTFS orders a folder's names by.
std::u16string collationKey(std::string_view name) {
  std::u16string key;
  key.reserve(name.size());
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(name[i]); };
  for (std::size_t i = 0; i < name.size();) {
    const unsigned b0 = byte(i);
    if (b0 < 0x80) {
      key.push_back(upperUnit(char16_t(b0)));
      ++i;
      continue;
    }
    const std::size_t extra = b0 >= 0xC2 && b0 <= 0xDF   ? 1
                              : b0 >= 0xE0 && b0 <= 0xEF ? 2
                              : b0 >= 0xF0 && b0 <= 0xF4 ? 3
                                                         : 0;
    bool valid = extra > 0 && i + extra < name.size();
    char32_t cp = b0 & (0x7Fu >> (extra + 1));
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const unsigned b = byte(i + k);
      valid = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (valid && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                  (cp >= 0xD800 && cp <= 0xDFFF)))
      valid = false;
    if (!valid) {
      key.push_back(char16_t(0xDC00 | b0));
      ++i;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      key.push_back(char16_t(0xD800 | (cp >> 10)));
      key.push_back(char16_t(0xDC00 | (cp & 0x3FF)));
      i += extra + 1;
    } else {
      key.push_back(upperUnit(char16_t(cp)));
      i += extra + 1;
    }
  }
  return key;
}

bool isJpegName(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view ext = name.substr(name.size() - 4);
  const auto is = [](char c, char lower) { return c == lower || c == lower - 32; };
  return ext[0] == '.' && is(ext[1], 'j') && is(ext[2], 'p') && is(ext[3], 'g');
}

struct Entry {
  std::u16string key;
  std::string name;
  bool folder = false;
};

using FolderId = std::pair<dev_t, ino_t>;

// Reads a folder's entries (without "." and ".."), sorted; false when it cannot be
// read or was searched before. Links are followed, as Windows reports a link to a
// folder as a folder.
bool readFolder(const std::string& folder, std::set<FolderId>& visited,
                std::vector<Entry>& entries) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  struct stat st {};
  if (::fstat(::dirfd(dir), &st) != 0 || !visited.insert({st.st_dev, st.st_ino}).second) {
    ::closedir(dir);
    return false;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = e->d_type == DT_DIR;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      struct stat target {};
      isFolder = ::fstatat(::dirfd(dir), e->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    entries.push_back({collationKey(name), std::string(name), isFolder});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.name < b.name;
  });
  return true;
}

void listFolder(MainWindowState& state, const std::string& folder, std::vector<std::string>& list,
                std::set<FolderId>& visited) {
  // An empty path would name the root (of the current drive, on Windows): nothing to list.
  if (folder.empty()) return;
  std::vector<Entry> entries;
  if (!readFolder(folder, visited, entries)) return;
  const std::string prefix = endsWithBackslash(folder) == 1 ? folder : folder + kPathSeparator;
  for (const Entry& e : entries) {
    if (e.folder) {
      ++state.subfolderCount;
      if (state.CheckBox1) listFolder(state, prefix + e.name, list, visited);
    } else {
      ++state.fileCount;
      if (isJpegName(e.name)) {
        list.push_back(prefix + e.name);
        ++state.jpegCount;
      }
    }
  }
}

void resetCounts(MainWindowState& state) {
  state.subfolderCount = 0;
  state.fileCount = 0;
  state.jpegCount = 0;
}

void showMessage(MainWindowState& state, Host& host, std::string_view text) {
  host.message(text, state.windowCaption, Buttons::Ok, Icon::None);
}

}  // namespace

bool fileNameLess(std::string_view a, std::string_view b) {
  const std::u16string ka = collationKey(a);
  const std::u16string kb = collationKey(b);
  return ka != kb ? ka < kb : a < b;
}

void listJpegFiles(MainWindowState& state, const std::string& folder,
                   std::vector<std::string>& list) {
  std::set<FolderId> visited;
  listFolder(state, folder, list, visited);
}

void countFolder(MainWindowState& state, const std::string& folder) {
  resetCounts(state);
  std::vector<std::string> list;
  listJpegFiles(state, folder, list);
}

std::string folderCountsText(const MainWindowState& state) {
  char text[128];
  std::snprintf(text, sizeof text, "サブフォルダ数 %d  全ファイル数 %d   JPEGファイル数 %d",
                state.subfolderCount, state.fileCount, state.jpegCount);
  return text;
}

void showFolderCounts(MainWindowState& state, Host& host) {
  state.statusPanels[0] = folderCountsText(state);
  host.setStatusText(0, state.statusPanels[0]);
}

int buildPhotoList(MainWindowState& state, Host& host) {
  if (state.Edit1.empty()) {
    showMessage(state, host, kNoPhotoFolderMessage);
    return kBuildNoPhotoFolder;
  }
  if (state.Edit3.empty() || state.frameWidth <= 0 || state.frameHeight <= 0) {
    showMessage(state, host, kNoFrameMessage);
    return kBuildNoFrame;
  }
  resetCounts(state);
  state.photoList.clear();
  std::vector<std::string> list;
  listJpegFiles(state, state.Edit1, list);
  if (state.jpegCount <= 0) {
    showMessage(state, host, kNoJpegMessage);
    return kBuildNoJpeg;
  }
  state.photoList = std::move(list);
  return kBuildOk;
}

int loadFirstPhoto(MainWindowState& state, DialogValues& dialogs, Host& host) {
  state.photoIndex = 0;
  if (state.photoList.empty()) return kLoadEmptyPath;
  const int result = loadPhoto(state, host, state.photoList.front());
  if (result == kLoadOk) {
    refreshPreview(state, dialogs, host);
    enableProcessingButtons(state.buttons);
  }
  return result;
}

}  // namespace kov
