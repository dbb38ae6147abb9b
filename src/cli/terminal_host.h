#pragma once
// The core's host on a terminal where nobody answers: message boxes become
// lines on standard error (naming the photo in hand), every question is
// answered No without asking and remembered, so the caller can tell what the
// answer meant for the photo.

#include <string>
#include <vector>

#include "platform/host.h"

namespace kov {

class Terminal;

class TerminalHost final : public Host {
 public:
  explicit TerminalHost(Terminal& terminal) : m_terminal(terminal) {}

  Answer message(std::string_view text, std::string_view caption, Buttons buttons,
                 Icon icon) override;

  // A line of our own, worded and prefixed as the core's messages are.
  void report(std::string_view text);

  // The photo the next messages are about (empty: none); forgets earlier questions.
  void beginPhoto(const std::string& photo);
  const std::vector<std::string>& questions() const { return m_questions; }

 private:
  Terminal& m_terminal;
  std::string m_photo;
  std::vector<std::string> m_questions;
};

}  // namespace kov
