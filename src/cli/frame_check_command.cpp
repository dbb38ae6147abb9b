#include "cli/frame_check_command.h"

#include <cstdio>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "cli/options.h"
#include "cli/window_setup.h"
#include "platform/host.h"

namespace kov {

namespace {

// The window's message boxes as text on standard output: what the check says
// is the command's result.
class PrintingHost final : public Host {
 public:
  Answer message(std::string_view text, std::string_view, Buttons buttons, Icon) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
};

}  // namespace

int checkFrameCommand(const std::string& path) {
  PrintingHost host;
  MainWindowState state;
  DialogValues dialogs(state);
  if (!startWindow(state, dialogs, host)) return kExitFailed;
  const bool accepted = loadFrame(state, dialogs, host, path);
  std::fflush(stdout);
  return accepted ? kExitOk : kExitFailed;
}

}  // namespace kov
