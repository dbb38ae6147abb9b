#pragma once
// kov.ini next to the executable: the four settings, the window's place and
// size, and the prefix of proposed output folders.

#include <optional>
#include <string>

namespace kov {

struct MainWindowState;
class SettingsValues;

inline constexpr const char* kSettingsFileName = "kov.ini";
inline constexpr int kCentreWindow = -999;

// The values as read, already limited to their ranges.
struct AppSettings {
  int bar4 = 90;  // JPEG quality, 1..100
  int bar5 = 10;  // line spacing percent, 0..100
  int bar6 = 1;   // inactive transparency, 1..90 (a missing key reads 0, limited to 1)
  int bar7 = 0;   // blur pattern, 0..3
  int windowPosX = kCentreWindow;
  int windowPosY = kCentreWindow;
  int windowWidth = 946;
  int windowHeight = 745;
  std::string preSaveFolderName = "TA";
};

// Nothing when there is no file; a file that exists but cannot be read reads
// as one with every key missing.
std::optional<AppSettings> readAppSettings(const std::string& path);

struct ScreenSize {
  int width = 0;
  int height = 0;
};

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Where the main window goes at start-up: centred when there is no file or the
// stored place is -999 or beyond the screen, negative places become 0, the size
// never below the design size. `current` is the window's size before the file
// is applied (the centring uses it, not the stored size).
WindowRect placeMainWindow(const std::optional<AppSettings>& settings, ScreenSize screen,
                           WindowRect current);

// The first showing of the main window: takes the settings (or their absence)
// into the settings bars, the main window's copies and outputFolderPrefix, and
// places the window.
void applyAppSettings(const std::optional<AppSettings>& settings, ScreenSize screen,
                      MainWindowState& window, SettingsValues& values);

// Shutdown: writes the eight keys in their order, keeping every other line of an
// existing file. False when the file could not be written; nothing is then changed.
bool writeAppSettings(const std::string& path, const SettingsValues& values,
                      const MainWindowState& window);

}  // namespace kov
