#pragma once
// A main window with a small BMP frame accepted and its preview drawn, a photo
// folder and an output folder in a fresh temporary folder: the starting point
// of tests that compose and write photos.
//
// The frame is 600 x 800 with a 400 x 500 window at (100, 100); its image is
// blue with a black window, one more black pixel at (10, 10) and a (0, 0, 1)
// pixel at (11, 10). Title and Date texts are empty.

#include <string>

#include "app/dialog_values.h"
#include "app/main_window_state.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace kov::test {

class FramedWindow {
 public:
  FramedWindow();

  // Writes a w x h JPEG photo of a colour ramp under the photo folder and gives its path.
  std::string photo(const std::string& name, int w = 480, int h = 640);

  TempDir dir;
  ScriptedHost host;
  MainWindowState state;
  DialogValues dialogs{state};
};

}  // namespace kov::test
