#include "cli/batch_command.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <thread>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "batch/batch_driver.h"
#include "batch/folder_scan.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/parallel_run.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "cli/window_setup.h"
#include "frame/frame_preview.h"
#include "platform/file_util.h"

namespace kov {

namespace {

constexpr const char* kPhotoFolderUnusable = "入力フォルダの指定が無効か使用不能です。";
constexpr const char* kCannotCreateOutput = "保存先フォルダを作成出来ません。\n";

void takeOptions(const BatchOptions& o, MainWindowState& state, DialogValues& dialogs) {
  state.CheckBox1 = o.subfolders;
  if (o.noHighQuality) state.CheckBox3 = false;
  if (o.sharpen) state.CheckBox2 = true;
  if (o.quality) dialogs.settings.setTrackBar4(*o.quality);
  if (o.blur) dialogs.settings.setTrackBar7(*o.blur);
}

// The temporary caption change: these texts instead of the frame file's, for this run.
void takeCaptions(const BatchOptions& o, MainWindowState& state, DialogValues& dialogs) {
  for (std::size_t k = 0; k < o.captions.size(); ++k) {
    if (!o.captions[k]) continue;
    dialogs.captionStore.captions[k].text = *o.captions[k];
    dialogs.temporaryCaptionTexts[k] = *o.captions[k];
    state.captionsChangedTemporarily = true;
  }
}

bool readableFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return false;
  ::closedir(dir);
  return true;
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Problems with the two folders, reported before anything is read or written.
bool foldersUsable(const BatchOptions& o, Terminal& terminal) {
  if (!folderExists(o.photoFolder) || !readableFolder(o.photoFolder)) {
    terminal.message(o.photoFolder + ": " + kPhotoFolderUnusable);
    return false;
  }
  if (fileExists(o.outputFolder)) {
    terminal.message(kCannotCreateOutput + o.outputFolder);
    return false;
  }
  if (folderExists(o.outputFolder) && sameFolder(o.photoFolder, o.outputFolder)) {
    // Every output would bear the name of its photo and replace it.
    terminal.message(o.outputFolder +
                     ": 出力フォルダが写真フォルダと同じです。(OUTPUT_FOLDER is PHOTO_FOLDER)");
    return false;
  }
  return true;
}

int jobCount(const BatchOptions& o) {
  if (o.jobs > 0) return o.jobs;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : int(std::min(cores, unsigned(kMaxJobs)));
}

void printOutcome(const RunResult& result) {
  const std::string text = outcomeText(result.interrupted, result.counts) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int runBatchCommand(const BatchOptions& o) {
  installStopHandlers();
  Terminal terminal;
  TerminalHost host(terminal);
  MainWindowState window;
  DialogValues dialogs(window);
  if (!startWindow(window, dialogs, host)) return kExitUsage;
  takeOptions(o, window, dialogs);
  if (!foldersUsable(o, terminal)) return kExitUsage;

  const std::string frame = o.framePath.empty() ? defaultFramePath(window) : o.framePath;
  if (!loadFrame(window, dialogs, host, frame)) return kExitUsage;
  takeCaptions(o, window, dialogs);
  // The caption images on the preview are what the captions are placed by.
  drawFramePreview(window, dialogs, host);

  window.Edit1 = o.photoFolder;
  window.Edit2 = o.outputFolder;
  std::vector<std::string> photos;  // kept out of the window, which every worker copies
  listJpegFiles(window, window.Edit1, photos);
  if (photos.empty()) {
    terminal.message(kNoJpegMessage);
    printOutcome({});
    return kExitOk;
  }
  if (!createFolders(window.Edit2)) {
    terminal.message(kCannotCreateOutput + window.Edit2);
    return kExitUsage;
  }

  const RunResult result =
      runInParallel(window, dialogs, photos, jobCount(o), o.overwrite, terminal);
  printOutcome(result);
  return result.counts.errors > 0 || result.interrupted ? kExitFailed : kExitOk;
}

}  // namespace kov
