#include "batch/folder_commands.h"

#include <dirent.h>
#include <optional>

#include "app/main_window_state.h"
#include "batch/folder_scan.h"
#include "batch/output_folder.h"
#include "pipeline/photo_load.h"
#include "platform/file_util.h"
#include "platform/host.h"

namespace kov {

namespace {

// Windows made the chosen folder the current one and gave up when it could not.
// The core leaves the process's folder alone and asks what that asked: that the
// folder is there and can be listed.
bool folderUsable(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  ::closedir(dir);
  return true;
}

// The browser's folder, or nothing when it was cancelled or cannot be used.
std::optional<std::string> chooseUsableFolder(MainWindowState& state, Host& host) {
  std::optional<std::string> chosen = host.chooseFolder();
  // One byte is no folder on Windows; here the root "/" is one.
  if (!chosen || chosen->empty() || (chosen->size() == 1 && chosen->front() != kPathSeparator))
    return std::nullopt;
  if (!folderUsable(*chosen)) {
    host.message(kUnusableFolderMessage, state.windowCaption, Buttons::Ok, Icon::None);
    return std::nullopt;
  }
  return chosen;
}

void proposeOutputFolder(MainWindowState& state) {
  if (state.Edit2.empty())
    state.Edit2 = proposedOutputFolder(state.Edit1, state.outputFolderPrefix);
}

// Builds the list and shows its first photo, as "写真選択" and a drop do.
void rebuildAndShowFirst(MainWindowState& state, DialogValues& dialogs, Host& host) {
  buildPhotoList(state, host);
  state.progress = 0;
  host.setProgress(0);
  if (loadFirstPhoto(state, dialogs, host) == kLoadOk) {
    state.statusPanels[1] = state.photoList.front();
    host.setStatusText(1, state.statusPanels[1]);
  }
}

}  // namespace

int browsePhotoFolder(MainWindowState& state, Host& host) {
  const std::optional<std::string> chosen = chooseUsableFolder(state, host);
  if (!chosen) return kBrowseNotTaken;
  state.Edit1 = withTrailingSeparator(*chosen);
  proposeOutputFolder(state);
  countFolder(state, state.Edit1);
  showFolderCounts(state, host);
  return kBrowseOk;
}

int browseOutputFolder(MainWindowState& state, Host& host) {
  const std::optional<std::string> chosen = chooseUsableFolder(state, host);
  if (!chosen) return kBrowseNotTaken;
  state.Edit2 = withTrailingSeparator(*chosen);
  return kBrowseOk;
}

void handleDroppedFiles(MainWindowState& state, DialogValues& dialogs, Host& host,
                        const std::vector<std::string>& paths, bool inClientArea,
                        const FieldRect& edit2) {
  if (!paths.empty() && inClientArea) {
    const std::string& first = paths.front();
    countFolder(state, first);
    if (edit2.contains(state.dropPointX, state.dropPointY)) {
      state.Edit2 = droppedOutputFolder(first);
      return;
    }
    state.Edit1 = first;
    proposeOutputFolder(state);
    showFolderCounts(state, host);
  }
  if (state.busy) return;
  state.busy = true;
  rebuildAndShowFirst(state, dialogs, host);
  state.busy = false;
}

void bitBtn6Click(MainWindowState& state, DialogValues& dialogs, Host& host) {
  state.busy = true;
  browsePhotoFolder(state, host);
  rebuildAndShowFirst(state, dialogs, host);
  state.busy = false;
}

void bitBtn1Click(MainWindowState& state, DialogValues& dialogs, Host& host) {
  if (state.busy) return;
  bitBtn6Click(state, dialogs, host);
}

void bitBtn13Click(MainWindowState& state, Host& host) {
  if (state.busy) return;
  state.busy = true;
  browseOutputFolder(state, host);
  state.busy = false;
}

void edit1Exit(MainWindowState& state, DialogValues& dialogs, Host& host) {
  if (state.busy) return;
  state.busy = true;
  if (!state.Edit1.empty()) {
    buildPhotoList(state, host);
    loadFirstPhoto(state, dialogs, host);
  }
  state.busy = false;
}

}  // namespace kov
