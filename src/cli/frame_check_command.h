#pragma once
// --check-frame: a frame file loaded as the main window loads it, its messages
// printed on standard output exactly as the window would show them.

#include <string>

namespace kov {

// kExitOk when the frame is accepted (nothing printed), kExitFailed otherwise.
int checkFrameCommand(const std::string& path);

}  // namespace kov
