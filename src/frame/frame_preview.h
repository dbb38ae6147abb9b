#pragma once
// Showing the frame in force: the frame image on the preview, the three caption
// images over it at their anchors, and then the current photo in the frame.

#include <string_view>

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

// Stands for an empty caption text on the preview, so the caption can still be found and moved.
inline constexpr std::string_view kEmptyCaptionPlaceholder = "[　　]";

// The frame image (a TGA frame blended over black) and the caption images,
// drawn and placed.
void drawFramePreview(MainWindowState& state, const DialogValues& dialogs, Host& host);

// The frame preview, then the current photo in it.
void applyFrameToWindow(MainWindowState& state, DialogValues& dialogs, Host& host);

// "枠選択": always asks for the frame file, then applies whatever is in force.
void selectFrameCommand(MainWindowState& state, DialogValues& dialogs, Host& host);

}  // namespace kov
