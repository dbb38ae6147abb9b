#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace kov::test {

Answer ScriptedHost::message(std::string_view text, std::string_view caption, Buttons buttons,
                             Icon icon) {
  messages.push_back({std::string(text), std::string(caption), buttons, icon});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (m_answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
  }
  const Answer a = m_answers.front();
  m_answers.pop_front();
  return a;
}

std::vector<std::string> ScriptedHost::okMessageTexts(std::string_view caption) const {
  std::vector<std::string> texts;
  for (const RecordedMessage& m : messages) {
    EXPECT_EQ(m.caption, caption);
    EXPECT_EQ(m.buttons, Buttons::Ok);
    texts.push_back(m.text);
  }
  return texts;
}

void ScriptedHost::setStatusText(int panel, std::string_view text) {
  if (panel >= 0 && panel < 3) status[panel].emplace_back(text);
}

void ScriptedHost::showPicture(PictureTarget target, const WorkImage& picture) {
  pictures.emplace_back(target, picture);
}

std::optional<std::string> ScriptedHost::nextChoice(std::string_view what) {
  if (m_choices.empty()) {
    ADD_FAILURE() << "unexpected " << what;
    return std::nullopt;
  }
  std::optional<std::string> choice = std::move(m_choices.front());
  m_choices.pop_front();
  return choice;
}

std::optional<std::string> ScriptedHost::chooseFolder() {
  ++folderBrowsers;
  return nextChoice("folder browser");
}

std::optional<std::string> ScriptedHost::chooseFile(const FileDialog& dialog) {
  fileDialogs.push_back(dialog);
  return nextChoice("file dialog: " + dialog.title);
}

}  // namespace kov::test
