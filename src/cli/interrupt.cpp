#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace kov {

namespace {

std::atomic<bool> g_stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void onStopSignal(int) {
  if (g_stop.exchange(true)) return;
  static const char kNote[] =
      "\n中断します。処理中の写真を仕上げています... (stopping after the photos in progress)\n";
  [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

}  // namespace

void installStopHandlers() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes in progress carry on
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested() { return g_stop.load(std::memory_order_relaxed); }

}  // namespace kov
