#include "cli/parallel_run.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "cli/interrupt.h"
#include "cli/photo_job.h"
#include "cli/run_progress.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"

namespace kov {

namespace {

// DialogValues refers to its window, so a worker's copy is built field by field
// around the worker's own window.
void copyDialogValues(const DialogValues& from, DialogValues& to) {
  to.captionStore = from.captionStore;
  to.trimmingReference = from.trimmingReference;
  to.temporaryCaptionTexts = from.temporaryCaptionTexts;
  const SettingsValues& s = from.settings;
  to.settings.setTrackBar4(s.TrackBar4().position());
  to.settings.setTrackBar5(s.TrackBar5().position());
  to.settings.setTrackBar6(s.TrackBar6().position());
  to.settings.setTrackBar7(s.TrackBar7().position());
  to.settings.setWindowAlpha(s.windowAlpha());
}

// A worker's own window, copied from the one set up for the run.
struct WorkerWindow {
  WorkerWindow(const MainWindowState& window, const DialogValues& values) : state(window) {
    copyDialogValues(values, dialogs);
  }
  MainWindowState state;
  DialogValues dialogs{state};
};

// The largest files first: the buffers a worker keeps from photo to photo are
// made once at their largest instead of growing, and the run does not end with
// one worker alone on a large photo. The order never changes what is written.
std::vector<std::size_t> largestFirst(const std::vector<std::string>& photos) {
  std::vector<std::pair<std::uintmax_t, std::size_t>> sized;
  sized.reserve(photos.size());
  for (std::size_t i = 0; i < photos.size(); ++i) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(photos[i], ec);
    sized.emplace_back(ec ? 0 : size, i);
  }
  std::stable_sort(sized.begin(), sized.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::size_t> order;
  order.reserve(sized.size());
  for (const auto& entry : sized) order.push_back(entry.second);
  return order;
}

struct SharedWork {
  const std::vector<std::string>& photos;
  const std::vector<std::size_t> order;
  std::atomic<std::size_t> next{0};
  RunProgress& progress;
  Terminal& terminal;
  bool overwrite;
};

void work(MainWindowState& state, DialogValues& dialogs, SharedWork& shared) {
  // Decided up front: with --overwrite nothing is asked, without it the answer is No.
  state.overwriteConfirmed = shared.overwrite;
  TerminalHost host(shared.terminal);
  while (!stopRequested()) {
    const std::size_t i = shared.next.fetch_add(1);
    if (i >= shared.order.size()) break;
    const std::string& photo = shared.photos[shared.order[i]];
    const PhotoOutcome outcome = processPhoto(state, dialogs, host, photo, shared.overwrite);
    shared.progress.finished(photo, outcome);
  }
}

}  // namespace

RunResult runInParallel(MainWindowState& window, DialogValues& dialogs,
                        const std::vector<std::string>& photos, int jobs, bool overwrite,
                        Terminal& terminal) {
  RunResult result;
  if (photos.empty()) return result;
  // What the frame loading left here is replaced by every photo: not worth copying.
  window.scratchBitmap = WorkImage();

  const std::size_t workers =
      std::clamp<std::size_t>(std::size_t(std::max(jobs, 1)), 1, photos.size());
  std::vector<std::unique_ptr<WorkerWindow>> copies;
  try {
    while (copies.size() + 1 < workers)
      copies.push_back(std::make_unique<WorkerWindow>(window, dialogs));
  } catch (const std::bad_alloc&) {
    terminal.message(kOutOfWorkMemoryMessage);  // fewer workers share the photos
  }

  RunProgress progress(terminal, int(photos.size()));
  SharedWork shared{photos, largestFirst(photos), {}, progress, terminal, overwrite};
  std::vector<std::thread> threads;
  threads.reserve(copies.size());
  try {
    for (const auto& copy : copies)
      threads.emplace_back([&shared, &copy] { work(copy->state, copy->dialogs, shared); });
  } catch (const std::system_error&) {
    // Fewer threads than asked for: the ones there are share the photos.
  }
  work(window, dialogs, shared);  // this thread is a worker too, on the window itself
  for (std::thread& t : threads) t.join();
  terminal.finish();
  result.counts = progress.counts();
  result.interrupted = progress.done() < int(photos.size());
  return result;
}

}  // namespace kov
