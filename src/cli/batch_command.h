#pragma once
// A whole-folder run from the terminal: the window set up as the desktop
// program sets it up at its design size, then every photo of the folder.

namespace kov {

struct BatchOptions;

// The exit status: kExitOk, kExitFailed or kExitUsage.
int runBatchCommand(const BatchOptions& options);

}  // namespace kov
