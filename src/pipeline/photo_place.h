#pragma once
// Preparing a photo for the composition: loading it (or taking the one held),
// skipping photos that are too small, and placing it into the frame's photo
// window: the largest part with the window's proportions, cut by the trimming
// reference and scaled to the window.

#include <string>

#include "app/dialog_values.h"
#include "platform/work_image.h"

namespace kov {

class Host;
struct MainWindowState;

constexpr int kPrepareOk = 0;            // the placed photo is in scratchBitmap
constexpr int kPrepareStop = -1;         // the user chose to stop, or the reduction was aborted
constexpr int kPrepareSkip = -2;         // missing, unreadable or too small: skip this photo
constexpr int kPrepareNothingHeld = -3;  // an empty path and no photo to reuse

// With a path, loads that photo (asking whether to stop when it is missing or
// unreadable); with an empty path, reuses the photo held. Then places it at
// preview size (preview) or full size.
int preparePhoto(MainWindowState& state, const DialogValues& dialogs, Host& host,
                 const std::string& path, bool preview);

constexpr int kPlaceOk = 0;
constexpr int kPlaceAborted = -1;

// The part of a sw x sh photo that is cut out for a tw x th window.
struct PhotoPart {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PhotoPart&) const = default;
};
PhotoPart photoPart(int sw, int sh, int tw, int th, TrimmingReference reference);

// Cuts the part out of scratchBitmap (which holds the same picture as `source`,
// whose size alone is read) and leaves it scaled to the window in scratchBitmap:
// the high-quality reduction when CheckBox3 is on and it accepts, else the plain
// stretch. kPlaceAborted when the reduction was stopped.
int placePhoto(MainWindowState& state, const DialogValues& dialogs, Host& host,
               const WorkImage& source, bool preview);

}  // namespace kov
