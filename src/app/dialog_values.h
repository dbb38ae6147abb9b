#pragma once
// The values the dialogs hold for the whole program: the three captions, the
// trimming reference and the program settings. One model: the dialogs show it
// and write edits back at once, the core reads it, so every reader sees every
// writer's last value. Texts are UTF-8.

#include <array>
#include <cstdint>
#include <string>

#include "platform/work_image.h"

namespace kov {

struct MainWindowState;

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const FontStyle&) const = default;
};

// A caption's font as the hidden font-holding edits keep it.
struct FontHolder {
  std::string name = "ＭＳ Ｐゴシック";
  int height = -48;  // negative: character height in pixels
  std::uint8_t charset = 128;
  FontStyle style;
  Colour colour = kBlack;
  bool operator==(const FontHolder&) const = default;
};

enum class CaptionKind { Title = 0, Date = 1, Other = 2 };

struct CaptionSettings {
  std::string text;  // a line break is the two characters backslash and n
  FontHolder font;
  std::string angleText = "0";
};

// Whole degrees from an angle field; 0 when the text is not an integer.
int angleValue(const std::string& angleText);

// A track bar: a position kept inside its range.
class TrackBar {
 public:
  constexpr TrackBar(int min, int max, int position) : m_min(min), m_max(max), m_pos(position) {}
  int min() const { return m_min; }
  int max() const { return m_max; }
  int position() const { return m_pos; }
  // Clamps into the range; true when the position changed.
  bool setPosition(int position);

 private:
  int m_min, m_max, m_pos;
};

// The caption settings dialog (TForm4): texts Edit4/Edit9/Edit7, fonts of
// Edit22/Edit10/Edit12, angles Edit2/Edit3/Edit8, CheckBox4 and CheckBox5,
// and its own line spacing TrackBar5.
struct CaptionStore {
  CaptionStore();
  std::array<CaptionSettings, 3> captions;
  bool titleVertical = false;      // CheckBox4
  bool dateOtherVertical = false;  // CheckBox5, shared by Date and Other
  TrackBar lineSpacing{0, 100, 10};

  CaptionSettings& operator[](CaptionKind k) { return captions[std::size_t(k)]; }
  const CaptionSettings& operator[](CaptionKind k) const { return captions[std::size_t(k)]; }
};

// How a photo is trimmed into the window (the editor's three radio buttons).
enum class TrimmingReference { Top = 1, Centre = 2, Bottom = 3 };

// The opacity the five translucent windows get from a transparency percent.
int windowAlphaForTransparency(int transparency);

// The settings dialog (TForm2). Setting a position runs the bar's change
// handler whenever the position changes, whoever sets it, and the handlers keep
// the main window's copies (lineSpacingFactor, inactiveTransparency) current.
class SettingsValues {
 public:
  explicit SettingsValues(MainWindowState& window) : m_window(window) {}

  const TrackBar& TrackBar4() const { return m_quality; }       // JPEG quality
  const TrackBar& TrackBar5() const { return m_lineSpacing; }   // line spacing percent
  const TrackBar& TrackBar6() const { return m_transparency; }  // inactive transparency
  const TrackBar& TrackBar7() const { return m_blurPattern; }   // blur pattern A..D

  void setTrackBar4(int position) { m_quality.setPosition(position); }
  void setTrackBar5(int position);
  void setTrackBar6(int position);
  void setTrackBar7(int position) { m_blurPattern.setPosition(position); }

  // The opacity value given to the main window, this dialog, the frame editor,
  // the caption dialog and the multi-line input.
  int windowAlpha() const { return m_windowAlpha; }
  void setWindowAlpha(int alpha) { m_windowAlpha = alpha; }
  // Whether this dialog shows itself translucent right now.
  bool ownAlphaBlend() const { return m_ownAlphaBlend; }
  // "閉じる": this dialog becomes opaque again.
  void closeButtonClicked() { m_ownAlphaBlend = false; }

 private:
  MainWindowState& m_window;
  ::kov::TrackBar m_quality{0, 100, 90};
  ::kov::TrackBar m_lineSpacing{0, 100, 10};
  ::kov::TrackBar m_transparency{1, 90, 2};
  ::kov::TrackBar m_blurPattern{0, 3, 1};
  int m_windowAlpha = 255;
  bool m_ownAlphaBlend = false;
};

struct DialogValues {
  explicit DialogValues(MainWindowState& window) : settings(window) {}
  CaptionStore captionStore;
  TrimmingReference trimmingReference = TrimmingReference::Top;  // the frame editor's choice
  SettingsValues settings;
  // The temporary caption dialog's texts (Title, Date, Other), refilled by every frame read.
  std::array<std::string, 3> temporaryCaptionTexts;
};

// The line spacing factor of a percent, as a single-precision value.
float lineSpacingFactorFor(int percent);

}  // namespace kov
