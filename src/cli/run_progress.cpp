#include "cli/run_progress.h"

#include <cstdint>

#include "cli/terminal.h"

namespace kov {

void RunProgress::finished(const std::string& photo, PhotoOutcome outcome) {
  std::lock_guard lock(m_mutex);
  switch (outcome) {
    case PhotoOutcome::Saved:
      ++m_counts.saved;
      break;
    case PhotoOutcome::Skipped:
      ++m_counts.skipped;
      break;
    case PhotoOutcome::Failed:
      ++m_counts.errors;
      break;
  }
  ++m_done;
  const int percent = int(std::int64_t(m_done) * 100 / m_count);
  m_terminal.progress(double(m_done) / m_count, progressText(percent, m_done, m_count, m_counts),
                      photo);
}

RunCounts RunProgress::counts() const {
  std::lock_guard lock(m_mutex);
  return m_counts;
}

int RunProgress::done() const {
  std::lock_guard lock(m_mutex);
  return m_done;
}

}  // namespace kov
