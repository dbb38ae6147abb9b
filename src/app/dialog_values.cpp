#include "app/dialog_values.h"

#include <algorithm>

#include "app/main_window_state.h"
#include "platform/integer_text.h"

namespace kov {

CaptionStore::CaptionStore() {
  captions[0].text = "[タイトル文字列]";
  captions[0].font.height = -107;
  captions[1].text = "平成xx年xx月xx日";
}

int angleValue(const std::string& angleText) { return parseInteger(angleText).value_or(0); }

bool TrackBar::setPosition(int position) {
  const int clamped = std::clamp(position, m_min, m_max);
  if (clamped == m_pos) return false;
  m_pos = clamped;
  return true;
}

int windowAlphaForTransparency(int transparency) {
  if (transparency <= 0) return 255;
  return std::clamp((100 - transparency) * 255 / 100, 5, 255);
}

float lineSpacingFactorFor(int percent) { return static_cast<float>(percent * 0.01 + 1.0); }

void SettingsValues::setTrackBar5(int position) {
  if (m_lineSpacing.setPosition(position))
    m_window.lineSpacingFactor = lineSpacingFactorFor(m_lineSpacing.position());
}

void SettingsValues::setTrackBar6(int position) {
  if (!m_transparency.setPosition(position)) return;
  m_windowAlpha = windowAlphaForTransparency(m_transparency.position());
  m_window.inactiveTransparency = m_transparency.position();
  m_ownAlphaBlend = true;
}

}  // namespace kov
