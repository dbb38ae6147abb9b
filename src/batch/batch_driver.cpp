#include "batch/batch_driver.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "app/messages.h"
#include "pipeline/compose.h"
#include "pipeline/photo_load.h"
#include "platform/host.h"

namespace kov {

namespace {

constexpr const char* kNoMorePhotos = "これ以上写真画像はありません。";

void lock(MainWindowState& s, Host& host) {
  lockCommandButtons(s.buttons);
  host.pumpEvents();
}

void unlock(MainWindowState& s, Host& host) {
  unlockCommandButtons(s.buttons);
  host.pumpEvents();
}

void setProgress(MainWindowState& s, Host& host, int percent) {
  s.progress = percent;
  host.setProgress(percent);
}

void setStatus(MainWindowState& s, Host& host, int panel, const std::string& text) {
  s.statusPanels[panel] = text;
  host.setStatusText(panel, text);
}

void inform(MainWindowState& s, Host& host, std::string_view text) {
  host.message(text, s.windowCaption, Buttons::Ok, Icon::None);
}

int photoCount(const MainWindowState& s) { return int(s.photoList.size()); }

// The first check of a whole-folder run that fails, or nothing.
std::optional<std::string_view> missingForRun(const MainWindowState& s) {
  if (s.Edit1.empty()) return kNoPhotoFolderMessage;
  if (s.Edit2.empty()) return kNoOutputFolderMessage;
  if (s.Edit3.empty()) return kNoFrameMessage;
  if (s.frameWidth <= 0 || s.frameHeight <= 0) return "枠ファイルサイズが指定されていません。";
  if (photoCount(s) <= s.photoIndex) return kNoMorePhotos;
  return std::nullopt;
}

}  // namespace

std::string progressText(int percent, int position, int count, const RunCounts& counts) {
  char text[160];
  std::snprintf(text, sizeof text, "処理中...　%3d%% %5d/%5d エラー:%d スキップ:%d", percent,
                position, count, counts.errors, counts.skipped);
  return text;
}

std::string outcomeText(bool aborted, const RunCounts& counts) {
  char text[160];
  std::snprintf(text, sizeof text,
                aborted ? "作業を中断しました。保存ファイル数 %4d エラー:%d スキップ:%d"
                        : "作業が終了しました。保存ファイル数:%4d エラー:%d スキップ:%d",
                counts.saved, counts.errors, counts.skipped);
  return text;
}

RunCounts wholeFolderRun(MainWindowState& s, DialogValues& dialogs, Host& host) {
  RunCounts counts;
  if (s.busy) return counts;
  s.busy = true;
  lock(s, host);
  s.abortRequested = false;
  s.overwriteConfirmed = false;

  if (const std::optional<std::string_view> missing = missingForRun(s)) {
    inform(s, host, *missing);
  } else {
    const int n = photoCount(s);
    s.abortRequested = false;
    setProgress(s, host, 0);
    if (s.photoIndex != 0 && host.message("最初の写真から処理しますか？", s.windowCaption,
                                          Buttons::YesNo, Icon::None) == Answer::Yes)
      s.photoIndex = 0;

    for (int i = s.photoIndex; i < n; ++i) {
      const std::string path = s.photoList[std::size_t(s.photoIndex)];
      host.pumpEvents();
      if (s.abortRequested) {
        inform(s, host, "中断しました。");
        break;
      }
      if (!path.empty()) {
        const int r = composePhoto(s, dialogs, host, path, true, false);
        if (r == kComposeOk) {
          ++counts.saved;
          ++s.photoIndex;
        } else if (r == kComposeStop) {
          s.abortRequested = true;
          break;
        } else if (r == kComposeSkipped) {
          ++counts.skipped;
          ++s.photoIndex;
          continue;
        } else if (r == kComposeError) {
          ++counts.errors;
          ++s.photoIndex;
          continue;
        } else if (r < kComposeError) {
          ++counts.errors;
          s.abortRequested = true;
          break;
        }
      }
      setStatus(s, host, 1, path);
      const int percent = (i + 1) * 100 / n;
      setProgress(s, host, percent);
      setStatus(s, host, 0, progressText(percent, i + 1, n, counts));
    }

    const std::string outcome = outcomeText(s.abortRequested, counts);
    inform(s, host, outcome);
    setStatus(s, host, 0, outcome);
  }
  s.overwriteConfirmed = false;
  s.busy = false;
  unlock(s, host);
  return counts;
}

void onePhotoCommand(MainWindowState& s, DialogValues& dialogs, Host& host) {
  if (s.busy) return;
  s.busy = true;
  lock(s, host);
  s.abortRequested = false;
  const int n = photoCount(s);
  if (s.photoIndex >= n) {
    inform(s, host, kNoMorePhotos);
    unlock(s, host);
    disableProcessingButtons(s.buttons);
    s.busy = false;
    return;
  }
  const std::string path = s.photoList[std::size_t(s.photoIndex)];
  if (path.empty()) {
    s.busy = false;
    unlock(s, host);
    return;
  }
  const int r = composePhoto(s, dialogs, host, path, false, false);
  host.pumpEvents();
  if (r == kComposeOk || r == kComposeSkipped) {
    ++s.photoIndex;
    if (s.photoIndex >= n) {
      setProgress(s, host, s.photoIndex * 100 / n);
      unlock(s, host);
      s.busy = false;
      return;
    }
    const std::string& next = s.photoList[std::size_t(s.photoIndex)];
    if (loadPhoto(s, host, next) == kLoadOk) {
      composePhoto(s, dialogs, host, "", true, false);
      setStatus(s, host, 1, next);
    }
  }
  setProgress(s, host, s.photoIndex * 100 / n);
  s.busy = false;
  unlock(s, host);
}

void skipCommand(MainWindowState& s, DialogValues& dialogs, Host& host) {
  if (s.busy) return;
  s.busy = true;
  lock(s, host);
  s.abortRequested = false;
  const int n = photoCount(s);
  if (s.photoIndex < n) {
    ++s.photoIndex;
    setProgress(s, host, s.photoIndex * 100 / n);
  }
  if (s.photoIndex >= n) {
    s.busy = false;
    unlock(s, host);
    disableProcessingButtons(s.buttons);
    return;
  }
  const std::string& path = s.photoList[std::size_t(s.photoIndex)];
  if (!path.empty() && loadPhoto(s, host, path) == kLoadOk) {
    refreshPreview(s, dialogs, host);
    setStatus(s, host, 1, path);
  }
  s.busy = false;
  unlock(s, host);
}

void abortCommand(MainWindowState& s, Host& host) {
  if (host.message("中断して宜しいですか？", s.windowCaption, Buttons::YesNo, Icon::None) !=
      Answer::No)
    s.abortRequested = true;
}

void highQualityPreviewCommand(MainWindowState& s, DialogValues& dialogs, Host& host) {
  if (s.busy) return;
  s.abortRequested = false;
  s.busy = true;
  lock(s, host);
  composePhoto(s, dialogs, host, "", true, false);
  unlock(s, host);
  s.busy = false;
}

}  // namespace kov
