#include "app/main_window_state.h"

#include <new>

#include "platform/host.h"

namespace kov {

bool constructMainWindow(MainWindowState& state, Host& host, std::string_view exeFolder) {
  state.starting = true;
  state.windowCaption = std::string(kApplicationTitle);
  try {
    for (WorkImage* bitmap : {&state.scratchBitmap, &state.captionBitmap, &state.composeBitmap,
                              &state.displayBitmap, &state.frameBitmap, &state.framePreviewBitmap,
                              &state.photoBitmap, &state.photoPreviewBitmap})
      bitmap->resize(10, 10);
  } catch (const std::bad_alloc&) {
    host.message(kOutOfWorkMemoryMessage, kOutOfWorkMemoryCaption, Buttons::Ok, Icon::None);
    return false;
  }
  state.frameWidth = 0;
  state.frameHeight = 0;
  state.lineSpacingFactor = 1.1f;
  state.overwriteConfirmed = false;
  state.captionsChangedTemporarily = false;
  state.busy = false;
  state.loadedPhotoPath.clear();
  state.exeFolder = std::string(exeFolder);
  return true;
}

}  // namespace kov
