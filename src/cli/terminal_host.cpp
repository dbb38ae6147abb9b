#include "cli/terminal_host.h"

#include "cli/terminal.h"

namespace kov {

Answer TerminalHost::message(std::string_view text, std::string_view /*caption*/, Buttons buttons,
                             Icon /*icon*/) {
  if (buttons != Buttons::Ok) {
    // The caller words what a declined question means; here it is only noted.
    m_questions.emplace_back(text);
    return Answer::No;
  }
  report(text);
  return Answer::Ok;
}

void TerminalHost::report(std::string_view text) {
  m_terminal.message(m_photo.empty() ? std::string(text) : m_photo + ": " + std::string(text));
}

void TerminalHost::beginPhoto(const std::string& photo) {
  m_photo = photo;
  m_questions.clear();
}

}  // namespace kov
