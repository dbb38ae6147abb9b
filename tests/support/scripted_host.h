#pragma once
// A host for tests: records every message box and answers questions from a
// queue; a question nobody scripted fails the test.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/work_image.h"

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
  // Queues what the next folder browser or file dialog gives (nothing: cancelled).
  void chooseNext(std::optional<std::string> path) { m_choices.push_back(std::move(path)); }

  Answer message(std::string_view text, std::string_view caption, Buttons buttons,
                 Icon icon) override;
  void pumpEvents() override { ++pumps; }
  void setBusyCursor(bool busy) override { busyCursor = busy; }
  void setStatusText(int panel, std::string_view text) override;
  void setProgress(int percent) override { progress.push_back(percent); }
  void showPicture(PictureTarget target, const WorkImage& picture) override;
  std::optional<std::string> chooseFolder() override;
  std::optional<std::string> chooseFile(const FileDialog& dialog) override;

  std::vector<RecordedMessage> messages;
  std::vector<std::string> status[3];  // every text written to each panel
  std::vector<int> progress;
  std::vector<FileDialog> fileDialogs;                        // every file dialog shown
  std::vector<std::pair<PictureTarget, WorkImage>> pictures;  // every picture shown
  int folderBrowsers = 0;
  int pumps = 0;
  bool busyCursor = false;

  // The texts of all messages, each checked to be an OK box titled `caption`.
  std::vector<std::string> okMessageTexts(std::string_view caption) const;

  bool allAnswersUsed() const { return m_answers.empty() && m_choices.empty(); }

 private:
  std::optional<std::string> nextChoice(std::string_view what);

  std::deque<Answer> m_answers;
  std::deque<std::optional<std::string>> m_choices;
};

}  // namespace kov::test
