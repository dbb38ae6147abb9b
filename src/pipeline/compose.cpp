#include "pipeline/compose.h"

#include <cstdint>
#include <string_view>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "app/messages.h"
#include "captions/caption_draw.h"
#include "pipeline/alpha_blend.h"
#include "pipeline/draw_picture.h"
#include "pipeline/photo_load.h"
#include "pipeline/photo_place.h"
#include "pipeline/save_jpeg.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

constexpr Colour kBackground = makeColour(255, 0, 0);

bool blank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Shows the hourglass for as long as it lives.
class BusyCursor {
 public:
  explicit BusyCursor(Host& host) : m_host(host) { m_host.setBusyCursor(true); }
  ~BusyCursor() { m_host.setBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Host& m_host;
};

bool missingInput(MainWindowState& s, Host& host, const std::string& path, bool preview) {
  auto stop = [&](std::string_view message) {
    host.message(message, s.windowCaption, Buttons::Ok, Icon::None);
    return true;
  };
  if (s.Edit1.empty()) return stop(kNoPhotoFolderMessage);
  if (!preview && !path.empty() && s.Edit2.empty()) return stop(kNoOutputFolderMessage);
  if (s.Edit3.empty()) return stop(kNoFrameMessage);
  if (s.frameWidth < 1 || s.frameHeight < 1) return stop(kNoFrameMessage);
  return false;
}

// The frame over the placed photo on a red canvas, at full or preview size.
void composeFrame(MainWindowState& s, bool preview) {
  const int width = preview ? s.previewWidth : s.frameWidth;
  const int height = preview ? s.previewHeight : s.frameHeight;
  WorkImage& frame = preview ? s.framePreviewBitmap : s.frameBitmap;
  frame.transparentColour = kBlack;
  s.composeBitmap.reset(width, height);
  s.composeBitmap.fill(kBackground);
  drawPicture(s.scratchBitmap, s.composeBitmap, preview ? s.previewLeftMargin : s.leftMargin,
              preview ? s.previewTopMargin : s.topMargin);
  if (s.frameHasAlpha)
    blendWithAlpha(width, height, frame, s.composeBitmap, s.frameAlpha, s.frameWidth,
                   s.frameHeight);
  else
    drawPictureKeyed(frame, s.composeBitmap, 0, 0, kBlack);
}

// The captions where their images lie on the preview, scaled back to frame pixels.
void drawCaptions(MainWindowState& s, const DialogValues& dialogs) {
  const CaptionStore& store = dialogs.captionStore;
  const bool vertical[3] = {store.titleVertical, store.dateOtherVertical, store.dateOtherVertical};
  for (int i = 0; i < 3; ++i) {
    const CaptionSettings& caption = store.captions[i];
    if (blank(caption.text) || s.previewWidth <= 0) continue;
    const CaptionImage& image = s.captionImages[i];
    // An exact quotient of whole numbers, truncated toward zero.
    const int x = int((std::int64_t(image.left) + s.scrollX) * s.frameWidth / s.previewWidth);
    const int y = int((std::int64_t(image.top) + s.scrollY) * s.frameWidth / s.previewWidth);
    drawCaption(s, dialogs.settings, s.frameWidth, angleValue(caption.angleText), vertical[i],
                caption.text, caption.font, s.composeBitmap, y, x, s.frameHeight);
  }
}

// Writes the result, asking once per run before replacing an existing file.
int writeResult(MainWindowState& s, const DialogValues& dialogs, Host& host,
                const std::string& path) {
  const std::string out = outputPathFor(s.Edit2, s.Edit1, path);
  if (!s.overwriteConfirmed && fileExists(out)) {
    const Answer a = host.message("既に同名のファイルが存在します。\n上書きして宜しいですか？",
                                  s.windowCaption, Buttons::YesNo, Icon::None);
    if (a != Answer::Yes) return kComposeSkipped;
    s.overwriteConfirmed = true;
  }
  const int saved = saveJpeg(host, s.windowCaption, out, s.composeBitmap,
                             dialogs.settings.TrackBar4().position());
  return saved == kSaveOk ? kComposeOk : kComposeError;
}

}  // namespace

int composePhoto(MainWindowState& state, DialogValues& dialogs, Host& host, const std::string& path,
                 bool show, bool preview) {
  if (missingInput(state, host, path, preview)) return kComposeStop;
  BusyCursor cursor(host);
  state.statusPanels[1] = path;
  host.setStatusText(1, path);

  const int prepared = preparePhoto(state, dialogs, host, path, preview);
  if (prepared < 0) return prepared;

  composeFrame(state, preview);
  int result = kComposeOk;
  if (!preview) {
    drawCaptions(state, dialogs);
    if (!path.empty()) result = writeResult(state, dialogs, host, path);
  }
  state.composeBitmap.transparent = false;
  if (show) showFitted(state, host, state.composeBitmap);
  return result;
}

void refreshPreview(MainWindowState& state, DialogValues& dialogs, Host& host) {
  state.abortRequested = false;
  if (state.photoIndex < 0 || std::size_t(state.photoIndex) >= state.photoList.size()) return;
  if (state.photoList[std::size_t(state.photoIndex)].empty()) return;
  composePhoto(state, dialogs, host, "", true, true);
}

}  // namespace kov
