#include "cli/terminal.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace kov {

namespace {

constexpr int kBarWidth = 30;
constexpr std::string_view kClearLine = "\r\033[K";

void put(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

}  // namespace

Terminal::Terminal() : m_bar(::isatty(STDERR_FILENO) == 1) {}

void Terminal::drawBar() {
  if (m_barLine.empty()) return;
  put(kClearLine);
  put(m_barLine);
}

void Terminal::message(std::string_view text) {
  std::lock_guard lock(m_mutex);
  if (m_bar && !m_barLine.empty()) put(kClearLine);
  put(text);
  if (text.empty() || text.back() != '\n') put("\n");
  if (m_bar) drawBar();
  std::fflush(stderr);
}

void Terminal::progress(double fraction, std::string_view text, std::string_view photo) {
  std::lock_guard lock(m_mutex);
  if (m_bar) {
    const int filled = fraction <= 0 ? 0 : fraction >= 1 ? kBarWidth : int(fraction * kBarWidth);
    m_barLine.assign(1, '[');
    m_barLine.append(std::size_t(filled), '#');
    m_barLine.append(std::size_t(kBarWidth - filled), '-');
    m_barLine.append("] ");
    m_barLine.append(text);
    drawBar();
  } else {
    put(text);
    put("  ");
    put(photo);
    put("\n");
  }
  std::fflush(stderr);
}

void Terminal::finish() {
  std::lock_guard lock(m_mutex);
  if (m_bar && !m_barLine.empty()) put("\n");
  m_barLine.clear();
  std::fflush(stderr);
}

}  // namespace kov
