#include "pipeline/photo_load.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "app/main_window_state.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/quarter_turn.h"
#include "pipeline/reduce_high_quality.h"
#include "platform/file_util.h"
#include "platform/host.h"
#include "platform/jpeg_codec.h"

namespace kov {

namespace {

// Swaps two pictures' pixels (no copying); each keeps its transparency settings.
void swapPixels(WorkImage& a, WorkImage& b) {
  const bool aTransparent = a.transparent, bTransparent = b.transparent;
  const Colour aColour = a.transparentColour, bColour = b.transparentColour;
  std::swap(a, b);
  a.transparent = aTransparent;
  a.transparentColour = aColour;
  b.transparent = bTransparent;
  b.transparentColour = bColour;
}

void makePreview(MainWindowState& state, Host& host) {
  const PictureSize size =
      previewPhotoSize(state, state.photoBitmap.width(), state.photoBitmap.height());
  if (state.CheckBox4 && reduceHighQuality(state, host, state.photoBitmap, state.photoPreviewBitmap,
                                           size.height, size.width) == kReduceOk)
    return;
  state.photoPreviewBitmap.reset(size.width, size.height);
  state.photoPreviewBitmap.fill(kWhite);
  plainStretch(state.photoBitmap, state.photoPreviewBitmap);
}

int decodeAndPlace(MainWindowState& state, Host& host, const std::string& path) {
  WorkImage& scratch = state.scratchBitmap;
  JpegInfo info;
  if (decodeJpegFile(path, scratch, &info) != kJpegOk) return kLoadDecodeFailed;
  // Upright before anything looks at its orientation: a phone's portrait photo
  // is often stored sideways with a tag saying so.
  if (info.orientation != 1) {
    applyExifOrientation(scratch, state.photoBitmap, info.orientation);
    swapPixels(scratch, state.photoBitmap);
  }
  state.loadedPhotoPath = path;
  host.pumpEvents();

  const int w = scratch.width();
  const int h = scratch.height();
  const bool photoPortrait = h > w;
  const bool framePortrait = state.frameWidth < state.frameHeight;
  if (photoPortrait != framePortrait) {
    state.photoBitmap.reset(h, w);
    if (turnQuarter(scratch, state.photoBitmap) != kTurnOk) state.photoBitmap.fill(kWhite);
    // A turned photo of 10 pixels or less stays unturned in scratchBitmap.
    reloadScratch(state, false);
  } else {
    copyPixels(scratch, state.photoBitmap);
  }
  makePreview(state, host);
  return kLoadOk;
}

}  // namespace

int loadPhoto(MainWindowState& state, Host& host, const std::string& path) {
  // An empty path is never the photo held, even while nothing is held.
  if (path.empty()) return kLoadEmptyPath;
  if (path == state.loadedPhotoPath) {
    try {
      copyPixels(state.photoBitmap, state.scratchBitmap);
    } catch (const std::bad_alloc&) {
      state.loadedPhotoPath.clear();
      return kLoadDecodeFailed;
    }
    return kLoadOk;
  }
  if (!fileExists(path)) return kLoadNoFile;

  state.loadedPhotoPath.clear();
  int result = kLoadDecodeFailed;
  try {
    result = decodeAndPlace(state, host, path);
  } catch (const std::bad_alloc&) {
    result = kLoadDecodeFailed;  // the photo cannot be held: as good as unreadable
  }
  if (result != kLoadOk) {
    state.loadedPhotoPath.clear();
    state.scratchBitmap.reset(1, 1);
    state.scratchBitmap.fill(kWhite);
  }
  return result;
}

int reloadScratch(MainWindowState& state, bool preview) {
  const WorkImage& source = preview ? state.photoPreviewBitmap : state.photoBitmap;
  if (source.width() <= 10 || source.height() <= 10) return kReloadTooSmall;
  copyPixels(source, state.scratchBitmap);
  return preview ? kReloadPreview : kReloadFull;
}

PictureSize previewPhotoSize(const MainWindowState& state, int photoWidth, int photoHeight) {
  if (photoWidth < 1 || photoHeight < 1) return {};
  const std::int64_t m = std::max({state.previewPhotoWidth, state.previewPhotoHeight, 0});
  if (photoHeight < photoWidth) return {int(m), int(m * photoHeight / photoWidth)};
  return {int(photoWidth * m / photoHeight), int(m)};
}

void showFitted(MainWindowState& state, Host& host, const WorkImage& picture, int controlWidth,
                int controlHeight) {
  if (&picture == &state.displayBitmap) {  // showing the display picture itself
    const WorkImage copy = picture;
    showFitted(state, host, copy, controlWidth, controlHeight);
    return;
  }
  const std::int64_t W = std::max(controlWidth, 0);
  const std::int64_t H = std::max(controlHeight, 0);
  const std::int64_t gw = picture.width();
  const std::int64_t gh = picture.height();
  WorkImage& display = state.displayBitmap;
  display.reset(int(W), int(H));
  display.fill(makeColour(128, 128, 128));
  if (W > 0 && H > 0 && gw > 0 && gh > 0) {
    std::int64_t w = W, h = H;
    if (gw * H != W * gh) {
      if (float(gw) / float(gh) > float(W) / float(H)) {
        h = gh * W / gw;
      } else {
        w = H * gw / gh;
      }
    }
    plainStretch(picture, display, int(w), int(h));
  }
  host.showPicture(PictureTarget::FramePreview, display);
}

void showFitted(MainWindowState& state, Host& host, const WorkImage& picture) {
  showFitted(state, host, picture, state.previewWidth, state.previewHeight);
}

}  // namespace kov
