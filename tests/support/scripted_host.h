#pragma once
// A host for tests: records every message box and answers questions from a
// queue; a question nobody scripted fails the test.

#include <deque>
#include <string>
#include <vector>

#include "platform/host.h"

namespace kov::test {

struct RecordedMessage {
  std::string text;
  std::string caption;
  Buttons buttons;
  Icon icon;
};

class ScriptedHost : public Host {
 public:
  // Queues the answer to the next question (Yes/No or Yes/No/Cancel box).
  void answer(Answer a) { m_answers.push_back(a); }

  Answer message(std::string_view text, std::string_view caption, Buttons buttons,
                 Icon icon) override;
  void pumpEvents() override { ++pumps; }
  void setBusyCursor(bool busy) override { busyCursor = busy; }
  void setStatusText(int panel, std::string_view text) override;
  void setProgress(int percent) override { progress.push_back(percent); }

  std::vector<RecordedMessage> messages;
  std::vector<std::string> status[3];  // every text written to each panel
  std::vector<int> progress;
  int pumps = 0;
  bool busyCursor = false;

  bool allAnswersUsed() const { return m_answers.empty(); }

 private:
  std::deque<Answer> m_answers;
};

}  // namespace kov::test
