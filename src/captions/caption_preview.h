#pragma once
// The small caption images laid over the frame previews: each caption laid out and drawn at
// full output size (not smoothed), then reduced to the preview's scale. The image is as large
// as the caption's turned box at that scale, white where there is no caption, and marked
// transparent with white.

#include <string_view>

#include "app/dialog_values.h"
#include "platform/work_image.h"

namespace kov {

class Host;
struct MainWindowState;

inline constexpr std::string_view kPreviewZeroFrameMessage =
    "フレームサイズが０です。(タイトルプレビュー)";
inline constexpr std::string_view kDialogPreviewZeroFrameMessage =
    "フレームサイズが０です。(タイトルプレビュー[作成])";
// The caption dialog's frame size when the editor's fields hold no number.
inline constexpr int kDialogDefaultFrameWidth = 2000;
inline constexpr int kDialogDefaultFrameHeight = 1200;

// What the caption dialog's previews take from the frame editor and from the dialog.
struct DialogPreviewFrame {
  std::string_view frameWidthText;   // the editor's pixel field of the frame width
  std::string_view frameHeightText;  // the editor's pixel field of the frame height
  int lineSpacingPercent = 10;       // the dialog's own line spacing (TrackBar5)
  int framePictureWidth = 0;         // width of the dialog's frame picture (Image1)
};

// PreviewCaption: for the main window, at previewWidth / frameWidth with lineSpacingFactor.
// `positionY` and `vertical` are passed on by callers and not used.
void previewCaption(MainWindowState& window, Host& host, WorkImage& captionImage, int positionY,
                    int angle, bool vertical, std::string_view text, const FontHolder& font);

// PreviewDialogCaption: for the caption settings dialog, from the editor's fields.
void previewDialogCaption(MainWindowState& window, Host& host, const DialogPreviewFrame& frame,
                          WorkImage& captionImage, int positionY, int angle, bool vertical,
                          std::string_view text, const FontHolder& font);

// The common part: lays out and draws the caption on `layer` (which becomes the size of the
// turned box) and reduces it by `scale` into `captionImage`.
void renderCaptionPreview(WorkImage& layer, WorkImage& captionImage, float scale, float lineSpacing,
                          int angle, std::string_view text, const FontHolder& font);

}  // namespace kov
