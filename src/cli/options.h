#pragma once
// The command line of kovanta-batch.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kov {

constexpr int kExitOk = 0;  // no photo failed (or the frame check passed)
constexpr int kExitFailed =
    1;                         // a photo failed, the run was interrupted, or the frame was rejected
constexpr int kExitUsage = 2;  // a usage, folder or frame problem: nothing was processed

constexpr int kMaxJobs = 256;

struct BatchOptions {
  std::string photoFolder;
  std::string outputFolder;
  std::string framePath;  // empty: Frame/frame001.ini next to the program
  bool subfolders = false;
  bool noHighQuality = false;
  bool sharpen = false;
  std::optional<int> quality;                          // 0..100
  std::optional<int> blur;                             // 0..3 for A..D
  std::array<std::optional<std::string>, 3> captions;  // Title, Date, Other
  bool overwrite = false;
  int jobs = 0;  // 0: one per core
  std::optional<std::string> checkFrame;
  bool help = false;
};

struct ParsedCommandLine {
  BatchOptions options;
  std::string error;  // empty when the command line is usable
};

// The arguments after the program name. Options may come before, between or
// after the two folders, as "--name value" or "--name=value"; "--" ends them.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help text, in Japanese and English.
std::string usageText();

}  // namespace kov
