#include "frame/frame_preview.h"

#include <cmath>
#include <string>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "captions/caption_preview.h"
#include "frame/frame_load.h"
#include "pipeline/alpha_blend.h"
#include "pipeline/compose.h"
#include "pipeline/photo_load.h"
#include "platform/host.h"

namespace kov {

namespace {

constexpr PictureTarget kCaptionTargets[3] = {
    PictureTarget::TitleCaption, PictureTarget::DateCaption, PictureTarget::OtherCaption};

// Draws the three caption previews; `placeholder` stands in for empty texts.
void drawCaptionPreviews(MainWindowState& state, const DialogValues& dialogs, Host& host,
                         bool placeholder) {
  const int anchorsY[3] = {state.titleY, state.dateY, state.otherY};
  const CaptionStore& store = dialogs.captionStore;
  const bool vertical[3] = {store.titleVertical, store.dateOtherVertical, store.dateOtherVertical};
  for (int i = 0; i < 3; ++i) {
    const CaptionSettings& caption = store.captions[i];
    const std::string_view text =
        placeholder && caption.text.empty() ? kEmptyCaptionPlaceholder : caption.text;
    CaptionImage& image = state.captionImages[i];
    previewCaption(state, host, image.picture, anchorsY[i], angleValue(caption.angleText),
                   vertical[i], text, caption.font);
    image.width = image.picture.width();
    image.height = image.picture.height();
    host.showPicture(kCaptionTargets[i], image.picture);
  }
}

}  // namespace

void drawFramePreview(MainWindowState& state, const DialogValues& dialogs, Host& host) {
  state.displayBitmap.transparent = false;
  state.frameBitmap.transparent = false;
  if (state.frameHasAlpha) {
    state.composeBitmap.reset(state.previewWidth, state.previewHeight);
    state.composeBitmap.fill(kBlack);
    blendWithAlpha(state.previewWidth, state.previewHeight, state.framePreviewBitmap,
                   state.composeBitmap, state.frameAlpha, state.frameWidth, state.frameHeight);
    showFitted(state, host, state.composeBitmap);
  } else {
    showFitted(state, host, state.frameBitmap);
  }

  drawCaptionPreviews(state, dialogs, host, true);
  if (state.frameWidth <= 0) return;  // no frame yet: nothing to place the captions by
  const float s = float(state.previewWidth) / float(state.frameWidth);
  const int anchors[3][2] = {
      {state.titleX, state.titleY}, {state.dateX, state.dateY}, {state.otherX, state.otherY}};
  for (int i = 0; i < 3; ++i) {
    CaptionImage& image = state.captionImages[i];
    image.top = int(std::trunc(float(anchors[i][1]) * s)) - state.scrollY;
    image.left = int(std::trunc(float(anchors[i][0]) * s)) - image.width / 2 - state.scrollX;
  }
}

void applyFrameToWindow(MainWindowState& state, DialogValues& dialogs, Host& host) {
  state.busy = true;
  drawFramePreview(state, dialogs, host);
  if (state.photoList.empty()) {
    drawCaptionPreviews(state, dialogs, host, false);
  } else if (std::size_t(state.photoIndex) < state.photoList.size() &&
             !state.photoList[std::size_t(state.photoIndex)].empty()) {
    state.loadedPhotoPath.clear();
    if (loadPhoto(state, host, state.photoList[std::size_t(state.photoIndex)]) == kLoadOk) {
      state.displayBitmap.transparent = false;
      refreshPreview(state, dialogs, host);
    }
  }
  state.busy = false;
}

void selectFrameCommand(MainWindowState& state, DialogValues& dialogs, Host& host) {
  loadFrameIntoWindow(state, dialogs, host, "");
  applyFrameToWindow(state, dialogs, host);
}

}  // namespace kov
