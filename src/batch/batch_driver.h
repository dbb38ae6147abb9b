#pragma once
// The processing commands: the whole folder, one photo, skip, abort and the
// high-quality preview, walking photoList with photoIndex.

#include <string>

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

struct RunCounts {
  int saved = 0;
  int errors = 0;
  int skipped = 0;
};

// The texts of status panel 0 during and after a whole-folder run.
std::string progressText(int percent, int position, int count, const RunCounts& counts);
std::string outcomeText(bool aborted, const RunCounts& counts);

// "一括実行". Returns the counts of the run (all 0 when it did not start).
RunCounts wholeFolderRun(MainWindowState& state, DialogValues& dialogs, Host& host);
// "１枚実行".
void onePhotoCommand(MainWindowState& state, DialogValues& dialogs, Host& host);
// "スキップ".
void skipCommand(MainWindowState& state, DialogValues& dialogs, Host& host);
// "中断": asks, then asks the running work to stop at its next check.
void abortCommand(MainWindowState& state, Host& host);
// "高画質プレビュー": the current photo composed at full size and shown.
void highQualityPreviewCommand(MainWindowState& state, DialogValues& dialogs, Host& host);

}  // namespace kov
