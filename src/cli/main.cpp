// kovanta-batch: the whole-folder run from a terminal, over the core alone.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/batch_command.h"
#include "cli/frame_check_command.h"
#include "cli/options.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const kov::ParsedCommandLine parsed = kov::parseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "kovanta-batch: %s\n", parsed.error.c_str());
    std::fprintf(stderr, "詳しくは kovanta-batch --help (see kovanta-batch --help)\n");
    return kov::kExitUsage;
  }
  const kov::BatchOptions& options = parsed.options;
  if (options.help) {
    const std::string text = kov::usageText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kov::kExitOk;
  }
  if (options.checkFrame) return kov::checkFrameCommand(*options.checkFrame);
  return kov::runBatchCommand(options);
}
