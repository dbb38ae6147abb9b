#pragma once
// The main window's working state: one instance for the whole run. Every
// routine of frame loading, the photo pipeline, captions and the batch reads
// and writes these members directly. Texts are UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/button_states.h"
#include "platform/alpha_plane.h"
#include "platform/work_image.h"

namespace kov {

class Host;

inline constexpr std::string_view kApplicationTitle = "Kovanta";
inline constexpr int kDesignWindowWidth = 946;
inline constexpr int kDesignWindowHeight = 745;
// The largest image side a pixel step accepts.
inline constexpr int kMaxPlaneSize = 9600;

inline constexpr std::string_view kOutOfWorkMemoryMessage =
    "作業用のメモリが足りません。メモリを増設して下さい。";
inline constexpr std::string_view kOutOfWorkMemoryCaption = "zevuzezov";

// The client size of the preview area ScrollBox1 at the window's design size
// (785 x 545 outside, a 2-pixel border all round).
inline constexpr int kDesignPreviewAreaWidth = 781;
inline constexpr int kDesignPreviewAreaHeight = 541;

// A caption image on the preview: where it lies (in the scroll box's client
// coordinates, as the window places it) and what it shows (white is transparent).
struct CaptionImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  WorkImage picture;
};

struct MainWindowState {
  // Texts, scan results and command state.
  std::string loadedPhotoPath;
  std::string reductionMessage;
  bool abortRequested = false;
  int subfolderCount = 0;
  int fileCount = 0;
  int jpegCount = 0;
  std::string outputFolderPrefix;
  int dropPointX = 0;
  int dropPointY = 0;
  int photoIndex = 0;
  bool busy = false;
  bool starting = true;
  bool overwriteConfirmed = false;

  // Frame geometry in frame pixels, from the frame accepted last. A frame
  // width or height of 0 means there is no frame.
  int frameWidth = 0;
  int frameHeight = 0;
  int photoWidth = 0;
  int photoHeight = 0;
  int leftMargin = 0;
  int rightMargin = 0;
  int topMargin = 0;
  int bottomMargin = 0;
  int titleX = 0, titleY = 0;
  int dateX = 0, dateY = 0;
  int otherX = 0, otherY = 0;
  bool frameHasAlpha = false;

  // Preview geometry in preview pixels.
  int previewWidth = 0;
  int previewHeight = 0;
  int previewPhotoWidth = 0;
  int previewPhotoHeight = 0;
  int previewLeftMargin = 0;
  int previewRightMargin = 0;
  int previewTopMargin = 0;
  int previewBottomMargin = 0;
  int previewTitleX = 0, previewTitleY = 0;
  int previewDateX = 0, previewDateY = 0;
  int previewOtherX = 0, previewOtherY = 0;

  // The eight working bitmaps.
  WorkImage scratchBitmap;
  WorkImage displayBitmap;
  WorkImage captionBitmap;
  WorkImage composeBitmap;
  WorkImage frameBitmap;
  WorkImage framePreviewBitmap;
  WorkImage photoBitmap;
  WorkImage photoPreviewBitmap;

  // The frame image's alpha, sized to the frame image (reads 0 outside it).
  AlphaPlane frameAlpha;
  // Scratch of the reduction and the smoothing: sized to the picture in hand
  // on first use and kept for the next, never a fixed full-size plane.
  std::vector<std::int32_t> sourcePlane;
  std::vector<std::int32_t> workPlane;

  float lineSpacingFactor = 1.1f;
  int inactiveTransparency = 0;
  std::string exeFolder;  // ends in the path separator
  std::string frameFilePath;
  std::string windowCaption;
  bool captionsChangedTemporarily = false;

  // What the main window keeps in its controls.
  std::string Edit1;  // the photo folder
  std::string Edit2;  // the output folder
  std::string Edit3;  // the frame image of the frame accepted last; empty while none
  std::vector<std::string> photoList;  // Memo2
  bool CheckBox1 = false;              // search sub-folders too
  bool CheckBox2 = false;              // sharpen
  bool CheckBox3 = true;               // high-quality reduction
  bool CheckBox4 = false;              // high-quality preview
  bool CheckBox5 = true;               // smooth captions (shown, never consulted)
  // The preview area ScrollBox1: its client size and scroll position, and the
  // caption images Image3 (Title), Image4 (Date) and Image5 (Other) on it.
  int previewAreaWidth = kDesignPreviewAreaWidth;
  int previewAreaHeight = kDesignPreviewAreaHeight;
  int scrollX = 0;
  int scrollY = 0;
  CaptionImage captionImages[3];
  ButtonStates buttons;
  std::string statusPanels[3];         // StatusBar1
  int progress = 0;                    // ProgressBar1, 0 to 100

  // The window's place on the screen.
  int windowLeft = 0;
  int windowTop = 0;
  int windowWidth = kDesignWindowWidth;
  int windowHeight = kDesignWindowHeight;

  // A frame counts as selected when its image is known and its size is above 0.
  bool frameSelected() const { return !Edit3.empty() && frameWidth > 0 && frameHeight > 0; }
};

// The construction of the window: title, working bitmaps, start values and the
// executable's folder. When the bitmaps cannot be made it shows the
// out-of-memory message and returns false; the window cannot work then.
bool constructMainWindow(MainWindowState& state, Host& host, std::string_view exeFolder);

}  // namespace kov
