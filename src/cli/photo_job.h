#pragma once
// One photo of a run from the terminal, composed and written as the desktop
// program's whole-folder run does, with every question answered up front.

#include <string>

namespace kov {

class TerminalHost;
struct DialogValues;
struct MainWindowState;

enum class PhotoOutcome { Saved, Skipped, Failed };

// Skipped: too small, or its output file exists and `overwrite` is off (the file
// is left untouched, the photo not even read). Failed: missing, unreadable, or the
// output could not be written; the reason is reported through `host`.
PhotoOutcome processPhoto(MainWindowState& state, DialogValues& dialogs, TerminalHost& host,
                          const std::string& photo, bool overwrite);

}  // namespace kov
