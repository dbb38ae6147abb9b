#pragma once
// Standard error shared by the workers of a run: message lines, and either a
// progress bar redrawn in place (on a terminal) or one line per photo.

#include <mutex>
#include <string>
#include <string_view>

namespace kov {

class Terminal {
 public:
  // A bar only when standard error is a terminal.
  Terminal();
  explicit Terminal(bool progressBar) : m_bar(progressBar) {}

  // A message, on lines of its own above the bar.
  void message(std::string_view text);
  // The progress after a photo: `fraction` of the run done, `text` saying so, `photo` the one done.
  void progress(double fraction, std::string_view text, std::string_view photo);
  // Leaves the last bar standing on its own line.
  void finish();

 private:
  void drawBar();

  std::mutex m_mutex;
  const bool m_bar;
  std::string m_barLine;  // empty until the first progress
};

}  // namespace kov
