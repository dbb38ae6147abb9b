#pragma once
// Loading a photo into the main window (full size and preview size, turned to
// the frame's orientation) and showing pictures on the frame preview.

#include <string>

#include "platform/work_image.h"

namespace kov {

class Host;
struct MainWindowState;

constexpr int kLoadOk = 0;  // loaded, or the photo already held was reused
constexpr int kLoadEmptyPath = 1;
constexpr int kLoadNoFile = -1;        // no file of that name
constexpr int kLoadDecodeFailed = -2;  // not a JPEG we can read (damaged, too large, ...)

// Decodes `path` (its EXIF orientation applied), turns it a quarter turn when its
// orientation differs from the frame's, and leaves it in photoBitmap, a copy in
// scratchBitmap and a preview-sized copy in photoPreviewBitmap (reduced with the
// high-quality reduction when CheckBox4 is on, else stretched plainly). Asking
// again for state.loadedPhotoPath only copies photoBitmap into scratchBitmap.
int loadPhoto(MainWindowState& state, Host& host, const std::string& path);

constexpr int kReloadFull = 0;
constexpr int kReloadPreview = 1;
constexpr int kReloadTooSmall = -1;  // 10 pixels wide or high or less: nothing copied

// Copies photoPreviewBitmap (preview) or photoBitmap into scratchBitmap.
int reloadScratch(MainWindowState& state, bool preview);

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The preview size of a photo: its longer side becomes the longer side of the
// photo window at preview scale, the other one follows the photo's proportions.
PictureSize previewPhotoSize(const MainWindowState& state, int photoWidth, int photoHeight);

// Makes displayBitmap controlWidth x controlHeight, grey, with `picture`
// stretched into its top-left corner at its own proportions, and shows it on
// the frame preview.
void showFitted(MainWindowState& state, Host& host, const WorkImage& picture, int controlWidth,
                int controlHeight);
// The same for the frame preview at its size, previewWidth x previewHeight.
void showFitted(MainWindowState& state, Host& host, const WorkImage& picture);

}  // namespace kov
