#include "pipeline/photo_place.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/main_window_state.h"
#include "pipeline/photo_load.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/reduce_high_quality.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

constexpr std::string_view kMissingQuestion = "JPEGファイルが存在しません。中断しますか？\n\n";
constexpr std::string_view kUnreadableQuestion =
    "JPEGファイルを読み込めませんでした。中断しますか？\n\n";

// Yes: stop the run. No: skip this photo.
int askWhetherToStop(MainWindowState& state, Host& host, std::string_view question,
                     const std::string& path) {
  std::string text(question);
  text += path;
  if (host.message(text, state.windowCaption, Buttons::YesNo, Icon::None) == Answer::Yes) {
    state.abortRequested = true;
    return kPrepareStop;
  }
  return kPrepareSkip;
}

bool tooSmall(int w, int h) { return (w <= 320 && h <= 240) || (w <= 240 && h <= 320); }

}  // namespace

int preparePhoto(MainWindowState& state, const DialogValues& dialogs, Host& host,
                 const std::string& path, bool preview) {
  if (!path.empty()) {
    if (!fileExists(path)) return askWhetherToStop(state, host, kMissingQuestion, path);
    state.scratchBitmap.reset(1, 1);
    state.scratchBitmap.fill(kWhite);
    if (loadPhoto(state, host, path) < 0)
      return askWhetherToStop(state, host, kUnreadableQuestion, path);
    if (tooSmall(state.scratchBitmap.width(), state.scratchBitmap.height())) return kPrepareSkip;
  } else if (reloadScratch(state, preview) == kReloadTooSmall) {
    return kPrepareNothingHeld;
  }
  const WorkImage& source = preview ? state.photoPreviewBitmap : state.photoBitmap;
  return placePhoto(state, dialogs, host, source, preview) == kPlaceOk ? kPrepareOk : kPrepareStop;
}

PhotoPart photoPart(int sw, int sh, int tw, int th, TrimmingReference reference) {
  if (sw < 1 || sh < 1 || tw < 1 || th < 1) return {0, 0, std::max(sw, 0), std::max(sh, 0)};
  // In single precision, as the part has always been measured.
  const float fsw = float(sw), fsh = float(sh), ftw = float(tw), fth = float(th);
  float cw, ch;
  if (fsw * fth > fsh * ftw) {  // wider in proportion than the window: cut the sides
    cw = fsh * ftw / fth;
    ch = fsh;
  } else {  // cut the top and/or the bottom
    cw = fsw;
    ch = fsw * fth / ftw;
  }
  PhotoPart part;
  part.width = std::min(int(cw), sw);
  part.height = std::min(int(ch), sh);
  part.left = (sw - part.width) / 2;
  switch (reference) {
    case TrimmingReference::Top:
      part.top = 0;
      break;
    case TrimmingReference::Bottom:
      part.top = sh - part.height;
      break;
    case TrimmingReference::Centre:
    default:
      part.top = (sh - part.height) / 2;
      break;
  }
  return part;
}

int placePhoto(MainWindowState& state, const DialogValues& dialogs, Host& host,
               const WorkImage& source, bool preview) {
  const int tw = preview ? state.previewPhotoWidth : state.photoWidth;
  const int th = preview ? state.previewPhotoHeight : state.photoHeight;
  if (tw < 1 || th < 1) {  // no window to fill
    state.scratchBitmap.reset(std::max(tw, 0), std::max(th, 0));
    return kPlaceOk;
  }
  const PhotoPart part =
      photoPart(source.width(), source.height(), tw, th, dialogs.trimmingReference);
  WorkImage& cut = state.composeBitmap;
  copyPixels(state.scratchBitmap, part.left, part.top, part.width, part.height, cut);

  // Without the high-quality reduction, as if it had refused: the plain stretch.
  int r = kReduceNotSmaller;
  if (state.CheckBox3) {
    r = reduceHighQuality(state, host, cut, th, tw);
    if (r == kReduceOk || r == kReduceAborted) copyPixels(cut, 0, 0, tw, th, state.scratchBitmap);
    if (r == kReduceAborted) {
      state.statusPanels[0].clear();
      host.setStatusText(0, "");
      return kPlaceAborted;
    }
    if (r == kReduceOk) return kPlaceOk;
  }

  // Fallback. With proportions the reduction found different, the stretch keeps
  // the part's proportions; the rest of the window is white, not old contents.
  int width = tw, height = th;
  if (r == kReduceRatioDiffers) {
    if (tw >= th) {
      width = int(std::int64_t(part.width) * th / part.height);
    } else {
      height = int(std::int64_t(part.height) * tw / part.width);
    }
  }
  WorkImage& stretched = state.captionBitmap;
  stretched.reset(tw, th);
  stretched.fill(kWhite);
  plainStretch(cut, stretched, width, height);
  copyPixels(stretched, state.scratchBitmap);
  return kPlaceOk;
}

}  // namespace kov
