#pragma once
// The counts of a run as its photos finish, shown on the terminal after each.

#include <mutex>
#include <string>

#include "batch/batch_driver.h"
#include "cli/photo_job.h"

namespace kov {

class Terminal;

class RunProgress {
 public:
  RunProgress(Terminal& terminal, int photoCount) : m_terminal(terminal), m_count(photoCount) {}

  void finished(const std::string& photo, PhotoOutcome outcome);
  RunCounts counts() const;
  int done() const;

 private:
  Terminal& m_terminal;
  const int m_count;
  mutable std::mutex m_mutex;
  RunCounts m_counts;
  int m_done = 0;
};

}  // namespace kov
