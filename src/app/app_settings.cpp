#include "app/app_settings.h"

#include <algorithm>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "platform/file_util.h"
#include "platform/profile.h"

namespace kov {

namespace {

constexpr const char* kSection = "Config";

int centred(int screen, int window) { return (screen - window) / 2; }

int placeAlong(int stored, int screen, int window) {
  if (stored == kCentreWindow) return centred(screen, window);
  if (stored < 0) return 0;
  if (stored > screen) return centred(screen, window);
  return stored;
}

}  // namespace

std::optional<AppSettings> readAppSettings(const std::string& path) {
  if (!fileExists(path)) return std::nullopt;
  const Profile file = Profile::load(path).value_or(Profile());
  AppSettings s;
  s.bar4 = std::clamp(file.readInteger(kSection, "Bar4", 90), 1, 100);
  s.bar5 = std::clamp(file.readInteger(kSection, "Bar5", 10), 0, 100);
  s.bar6 = std::clamp(file.readInteger(kSection, "Bar6", 0), 1, 90);
  s.bar7 = std::clamp(file.readInteger(kSection, "Bar7", 0), 0, 3);
  s.windowPosX = file.readInteger(kSection, "WindowPosX", kCentreWindow);
  s.windowPosY = file.readInteger(kSection, "WindowPosY", kCentreWindow);
  s.windowWidth = file.readInteger(kSection, "WindowWidth", kDesignWindowWidth);
  s.windowHeight = file.readInteger(kSection, "WindowHeight", kDesignWindowHeight);
  s.preSaveFolderName = file.readString(kSection, "PreSaveFolderName", "TA");
  return s;
}

WindowRect placeMainWindow(const std::optional<AppSettings>& settings, ScreenSize screen,
                           WindowRect current) {
  WindowRect r = current;
  if (!settings) {
    r.left = centred(screen.width, current.width);
    r.top = centred(screen.height, current.height);
    return r;
  }
  r.left = placeAlong(settings->windowPosX, screen.width, current.width);
  r.top = placeAlong(settings->windowPosY, screen.height, current.height);
  r.width = std::max(settings->windowWidth, kDesignWindowWidth);
  r.height = std::max(settings->windowHeight, kDesignWindowHeight);
  return r;
}

void applyAppSettings(const std::optional<AppSettings>& settings, ScreenSize screen,
                      MainWindowState& window, SettingsValues& values) {
  const WindowRect current{window.windowLeft, window.windowTop, window.windowWidth,
                           window.windowHeight};
  const WindowRect placed = placeMainWindow(settings, screen, current);
  window.windowLeft = placed.left;
  window.windowTop = placed.top;
  window.windowWidth = placed.width;
  window.windowHeight = placed.height;
  if (!settings) {
    window.outputFolderPrefix = "TA";
    return;
  }
  values.setTrackBar4(settings->bar4);
  values.setTrackBar5(settings->bar5);
  window.lineSpacingFactor = lineSpacingFactorFor(settings->bar5);
  values.setTrackBar6(settings->bar6);
  values.setWindowAlpha(windowAlphaForTransparency(settings->bar6));
  window.inactiveTransparency = settings->bar6;
  values.setTrackBar7(settings->bar7);
  window.outputFolderPrefix = settings->preSaveFolderName;
}

bool writeAppSettings(const std::string& path, const SettingsValues& values,
                      const MainWindowState& window) {
  Profile file;
  if (fileExists(path)) {
    std::optional<Profile> existing = Profile::load(path);
    if (!existing) return false;  // never replace a file we could not read
    file = std::move(*existing);
  }
  file.writeInteger(kSection, "Bar4", values.TrackBar4().position());
  file.writeInteger(kSection, "Bar5", values.TrackBar5().position());
  file.writeInteger(kSection, "Bar6", values.TrackBar6().position());
  file.writeInteger(kSection, "Bar7", values.TrackBar7().position());
  file.writeInteger(kSection, "WindowPosX", window.windowLeft);
  file.writeInteger(kSection, "WindowPosY", window.windowTop);
  file.writeInteger(kSection, "WindowWidth", window.windowWidth);
  file.writeInteger(kSection, "WindowHeight", window.windowHeight);
  return file.save(path);
}

}  // namespace kov
