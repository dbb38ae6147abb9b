#pragma once
// The photo folder's JPEG files: listing and counting them, and the photo list
// the processing commands walk through.

#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

inline constexpr std::string_view kNoJpegMessage = "写真フォルダにJPEGファイルが存在しません。";

// Appends to `list` the files of `folder` whose names end in ".jpg" in any case
// (hidden ones too), in the order Windows lists a folder (fileNameLess). With
// CheckBox1 every sub-folder is searched at its place in that order, depth
// first; a folder reached again through a link is not searched twice. Adds every
// sub-folder, file and JPEG file seen to the three counts. A folder that cannot
// be read adds nothing.
void listJpegFiles(MainWindowState& state, const std::string& folder,
                   std::vector<std::string>& list);

// The three counts of `folder` from 0, without keeping a list.
void countFolder(MainWindowState& state, const std::string& folder);

// "サブフォルダ数 %d  全ファイル数 %d   JPEGファイル数 %d" in status panel 0.
std::string folderCountsText(const MainWindowState& state);
void showFolderCounts(MainWindowState& state, Host& host);

constexpr int kBuildOk = 0;
constexpr int kBuildNoPhotoFolder = -1;  // Edit1 empty: the list stays
constexpr int kBuildNoFrame = -2;        // no frame accepted: the list stays
constexpr int kBuildNoJpeg = -3;         // nothing found: the list is emptied

// Rebuilds photoList from Edit1, or says why not.
int buildPhotoList(MainWindowState& state, Host& host);

// photoIndex back to 0; when the first photo loads, the preview shows it and the
// processing buttons are enabled. Gives loadPhoto's result (kLoadEmptyPath for
// an empty list).
int loadFirstPhoto(MainWindowState& state, DialogValues& dialogs, Host& host);

// NTFS name order: names compared without regard to case as upper-cased UTF-16
// code units (bytes that are not UTF-8 sort as lone surrogates), ties broken by
// the bytes so the order never depends on the directory.
bool fileNameLess(std::string_view a, std::string_view b);

}  // namespace kov
