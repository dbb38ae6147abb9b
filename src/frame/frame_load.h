#pragma once
// Making a frame the main window's frame: read and check the file, hand its
// captions to their holders, take over its geometry, compute the preview
// geometry for the preview area's size and load the frame image.

#include <string>
#include <string_view>

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

constexpr int kFrameLoadOk = 0;
constexpr int kFrameLoadRejected = -1;   // nothing chosen, missing, zero size or failed check
constexpr int kFrameLoadBmpFailed = -4;  // the BMP frame image could not be read
constexpr int kFrameLoadTgaFailed = -5;  // the TGA frame image could not be read

inline constexpr std::string_view kNotTgaOrBmpMessage =
    "枠画像はTGAもしくはBMPファイル形式で保存して下さい。";
inline constexpr std::string_view kFrameImageUnreadableMessage =
    "枠画像ファイルを読み込めませんでした。\n";

// An empty path, or one naming no file, opens the selection dialog.
int loadFrameIntoWindow(MainWindowState& state, DialogValues& dialogs, Host& host,
                        const std::string& path);

// The frame file selection dialog, shown again until a name ending in ".ini"
// is chosen; empty when cancelled.
std::string chooseFrameFile(const MainWindowState& state, Host& host);

// The preview size and the preview-scaled geometry for the preview area's
// client size (previewAreaWidth x previewAreaHeight).
void computePreviewGeometry(MainWindowState& state);

}  // namespace kov
