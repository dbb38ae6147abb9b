#pragma once
// The main window as the desktop program has it when it has started, without
// a screen: constructed at its design size, kov.ini next to the program read
// (never written), and a frame loaded as the window loads it.

#include <string>

namespace kov {

class Host;
struct DialogValues;
struct MainWindowState;

// False when the window cannot be made (its message has been shown).
bool startWindow(MainWindowState& state, DialogValues& dialogs, Host& host);

// Frame/frame001.ini next to the program.
std::string defaultFramePath(const MainWindowState& state);

// Loads the frame file; false when it is missing or rejected. The window's own
// messages go to `host`; a missing file, for which the window would open its
// selection dialog, gets a message of its own.
bool loadFrame(MainWindowState& state, DialogValues& dialogs, Host& host, const std::string& path);

}  // namespace kov
