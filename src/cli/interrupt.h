#pragma once
// Ctrl-C (SIGINT) and SIGTERM ask a run to stop: no new photo is started, the
// ones in progress are finished, so no output is ever left half-written.

namespace kov {

void installStopHandlers();
bool stopRequested();

}  // namespace kov
