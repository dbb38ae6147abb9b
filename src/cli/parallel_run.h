#pragma once
// The photos of a run shared out to workers. Each worker works on its own copy
// of the window set up for the run, so a photo's output depends only on the
// photo and that setup, never on the number of workers or on the order.

#include <string>
#include <vector>

#include "batch/batch_driver.h"

namespace kov {

class Terminal;
struct DialogValues;
struct MainWindowState;

struct RunResult {
  RunCounts counts;
  bool interrupted = false;  // stopped before every photo was taken
};

// The calling thread works on `window` itself, every further worker on a copy.
// Stops taking photos once stopRequested(); the photos in progress are finished.
RunResult runInParallel(MainWindowState& window, DialogValues& dialogs,
                        const std::vector<std::string>& photos, int jobs, bool overwrite,
                        Terminal& terminal);

}  // namespace kov
