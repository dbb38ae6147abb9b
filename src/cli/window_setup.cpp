#include "cli/window_setup.h"

#include "app/app_settings.h"
#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "frame/frame_load.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

// Where the window would be placed does not matter here; only the settings do.
constexpr ScreenSize kNoScreen{kDesignWindowWidth, kDesignWindowHeight};

}  // namespace

bool startWindow(MainWindowState& state, DialogValues& dialogs, Host& host) {
  if (!constructMainWindow(state, host, executableFolder())) return false;
  state.starting = false;
  applyAppSettings(readAppSettings(state.exeFolder + kSettingsFileName), kNoScreen, state,
                   dialogs.settings);
  return true;
}

std::string defaultFramePath(const MainWindowState& state) {
  return state.exeFolder + "Frame" + kPathSeparator + "frame001.ini";
}

bool loadFrame(MainWindowState& state, DialogValues& dialogs, Host& host, const std::string& path) {
  if (!fileExists(path)) {
    host.message(path + ": 枠ファイルがありません。(frame file not found)", "", Buttons::Ok,
                 Icon::None);
    return false;
  }
  return loadFrameIntoWindow(state, dialogs, host, path) == kFrameLoadOk;
}

}  // namespace kov
