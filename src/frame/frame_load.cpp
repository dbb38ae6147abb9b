#include "frame/frame_load.h"

#include <algorithm>
#include <cstdint>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "frame/frame_check.h"
#include "frame/frame_file.h"
#include "pipeline/photo_load.h"
#include "pipeline/plain_stretch.h"
#include "pipeline/tga_read.h"
#include "platform/bmp_codec.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

constexpr int kMaxPreviewSide = 1200;

enum class ImageKind { Tga, Bmp, Other };

ImageKind imageKind(const std::string& path) {
  if (path.size() < 3) return ImageKind::Other;
  std::string last = path.substr(path.size() - 3);
  for (char& c : last)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  if (last == "tga") return ImageKind::Tga;
  if (last == "bmp") return ImageKind::Bmp;
  return ImageKind::Other;
}

void takeGeometry(MainWindowState& s, const FrameDefinition& f) {
  s.frameWidth = f.frameWidth;
  s.frameHeight = f.frameHeight;
  s.photoWidth = f.photoWidth;
  s.photoHeight = f.photoHeight;
  s.leftMargin = f.leftWidth;
  s.rightMargin = f.rightWidth;
  s.topMargin = f.topHeight;
  s.bottomMargin = f.bottomHeight;
  s.titleX = f[CaptionKind::Title].positionX;
  s.titleY = f[CaptionKind::Title].positionY;
  s.dateX = f[CaptionKind::Date].positionX;
  s.dateY = f[CaptionKind::Date].positionY;
  s.otherX = f[CaptionKind::Other].positionX;
  s.otherY = f[CaptionKind::Other].positionY;
}

}  // namespace

std::string chooseFrameFile(const MainWindowState& state, Host& host) {
  FileDialog dialog;
  dialog.title = "フレーム設定ファイルの読み込み";
  dialog.initialFolder = state.exeFolder + "Frame" + kPathSeparator;
  dialog.filter = "フレーム設定ファイル (*.ini)|*.ini";
  for (;;) {
    const std::optional<std::string> chosen = host.chooseFile(dialog);
    if (!chosen) return {};
    if (chosen->size() >= 4 && chosen->compare(chosen->size() - 4, 4, ".ini") == 0) return *chosen;
  }
}

void computePreviewGeometry(MainWindowState& s) {
  // A preview area smaller than its margins still gets a one-pixel preview.
  const std::int64_t aw = std::clamp(s.previewAreaWidth - 20, 1, kMaxPreviewSide);
  const std::int64_t ah = std::clamp(s.previewAreaHeight - 20, 1, kMaxPreviewSide);
  const std::int64_t fw = s.frameWidth, fh = s.frameHeight;
  std::int64_t num, den;
  if (aw * fh < ah * fw) {
    s.previewWidth = int(aw);
    s.previewHeight = int(fh * aw / fw);
    num = aw;
    den = fw;
  } else {
    s.previewWidth = int(fw * ah / fh);
    s.previewHeight = int(ah);
    num = ah;
    den = fh;
  }
  auto scale = [num, den](int v) { return int(std::int64_t(v) * num / den); };
  s.previewPhotoWidth = scale(s.photoWidth);
  s.previewPhotoHeight = scale(s.photoHeight);
  s.previewLeftMargin = scale(s.leftMargin);
  s.previewRightMargin = scale(s.rightMargin);
  s.previewTopMargin = scale(s.topMargin);
  s.previewBottomMargin = scale(s.bottomMargin);
  s.previewTitleX = scale(s.titleX);
  s.previewTitleY = scale(s.titleY);
  s.previewDateX = scale(s.dateX);
  s.previewDateY = scale(s.dateY);
  s.previewOtherX = scale(s.otherX);
  s.previewOtherY = scale(s.otherY);
  if (s.previewLeftMargin + s.previewPhotoWidth + s.previewRightMargin != s.previewWidth)
    s.previewPhotoWidth = s.previewWidth - s.previewLeftMargin - s.previewRightMargin;
  if (s.previewTopMargin + s.previewPhotoHeight + s.previewBottomMargin != s.previewHeight)
    s.previewPhotoHeight = s.previewHeight - s.previewTopMargin - s.previewBottomMargin;
}

int loadFrameIntoWindow(MainWindowState& state, DialogValues& dialogs, Host& host,
                        const std::string& path) {
  state.Edit3.clear();
  const std::string taken = !path.empty() && fileExists(path) ? path : chooseFrameFile(state, host);
  if (taken.empty() || !fileExists(taken)) return kFrameLoadRejected;

  const FrameReadResult read = readFrameFile(taken, FrameContext::MainWindowLoad, host);
  if (read.status != FrameReadStatus::Ok) return kFrameLoadRejected;
  const FrameDefinition& frame = read.definition;
  handFrameToHolders(frame, FrameContext::MainWindowLoad, dialogs, state);
  const std::string errors = checkFrame(frame, FrameContext::MainWindowLoad);
  if (!errors.empty()) {
    host.message(errors, "", Buttons::Ok, Icon::None);
    return kFrameLoadRejected;
  }

  takeGeometry(state, frame);
  const ImageKind kind = imageKind(frame.imagePath);
  if (kind == ImageKind::Other)
    host.message(kNotTgaOrBmpMessage, state.windowCaption, Buttons::Ok, Icon::None);
  computePreviewGeometry(state);
  state.frameHasAlpha = kind == ImageKind::Tga;

  WorkImage black(state.previewWidth, state.previewHeight);
  host.showPicture(PictureTarget::FramePreview, black);
  state.scratchBitmap.resize(1, 1);
  state.scratchBitmap.fill(kBlack);
  state.displayBitmap.transparentColour = kBlack;
  state.displayBitmap.transparent = false;

  // A frame image that cannot be read leaves the new geometry without an image,
  // so the processing commands see no frame until one is accepted.
  if (kind == ImageKind::Bmp) {
    if (readBmpFile(frame.imagePath, state.scratchBitmap) != kBmpOk) {
      host.message(std::string(kFrameImageUnreadableMessage) + frame.imagePath,
                   state.windowCaption, Buttons::Ok, Icon::None);
      return kFrameLoadBmpFailed;
    }
    state.scratchBitmap.transparent = false;
  } else if (kind == ImageKind::Tga) {
    if (readTgaImage(frame.imagePath, state.scratchBitmap, state.frameAlpha) != kTgaOk) {
      host.message(std::string(kFrameImageUnreadableMessage) + frame.imagePath,
                   state.windowCaption, Buttons::Ok, Icon::None);
      return kFrameLoadTgaFailed;
    }
  }
  if (kind != ImageKind::Other) showFitted(state, host, state.scratchBitmap);

  state.frameBitmap = state.scratchBitmap;
  state.frameBitmap.transparentColour = kBlack;
  state.frameBitmap.transparent = true;
  state.framePreviewBitmap.reset(state.previewWidth, state.previewHeight);
  state.framePreviewBitmap.transparent = false;
  plainStretch(state.scratchBitmap, state.framePreviewBitmap);

  state.Edit3 = frame.imagePath;
  state.frameFilePath = taken;
  state.captionsChangedTemporarily = false;
  return kFrameLoadOk;
}

}  // namespace kov
