#pragma once
// One finished picture: the frame with the photo in its window and the captions
// on it, at full size (written as a JPEG when a photo path is given) or at
// preview size; and writing it.

#include <string>

namespace kov {

class Host;
class WorkImage;
struct DialogValues;
struct MainWindowState;

constexpr int kComposeOk = 0;        // composed (and written, when asked)
constexpr int kComposeStop = -1;     // an input is missing (message shown) or stopped
constexpr int kComposeSkipped = -2;  // the photo is skipped, or the user declined the overwrite
constexpr int kComposeError = -3;    // no photo to redraw, or the output could not be written

// `path` empty: the photo held is composed again. `preview`: at preview size,
// without captions, never written. `show`: the result goes to the frame preview.
int composePhoto(MainWindowState& state, DialogValues& dialogs, Host& host, const std::string& path,
                 bool show, bool preview);

// Composes the current photo at preview size and shows it.
void refreshPreview(MainWindowState& state, DialogValues& dialogs, Host& host);

}  // namespace kov
