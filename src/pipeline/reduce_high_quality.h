#pragma once
// Shrinking by area averaging: every target pixel is the weighted mean of the
// source pixels it covers, coverage counted in hundredths of a source pixel,
// then the sharpening pass. Refuses what it is not made for, so that callers
// fall back to the plain stretch.

#include "platform/work_image.h"

namespace kov {

class Host;
struct MainWindowState;

constexpr int kReduceOk = 0;  // reduced, or already the target size (nothing changed)
constexpr int kReduceAborted = -2;
constexpr int kReduceRatioDiffers = -10;
constexpr int kReduceSourceTooLarge = -12;  // a side above kMaxPlaneSize
constexpr int kReduceTargetTooLarge = -13;
constexpr int kReduceBeyondHundredth = -14;
constexpr int kReduceNotSmaller = -15;  // not smaller in both directions
constexpr int kReduceEmpty = -16;       // a side of the source or the target below 1

// Reduces `bitmap` in place to targetWidth x targetHeight (note the order:
// height first). Writes the reason of a refusal into state.reductionMessage and
// empties it otherwise. Lets events run through `host` and stops with
// kReduceAborted when state.abortRequested is set: before the second pass the
// bitmap is unchanged, during it the bitmap has the target size, partly written.
// Every refusal leaves the bitmap unchanged. Sharpens when state.CheckBox2 is on.
int reduceHighQuality(MainWindowState& state, Host& host, WorkImage& bitmap, int targetHeight,
                      int targetWidth);

// The same reduction of `source` written into `target` (which may be `source`);
// on refusal or an abort in the first pass `target` is unchanged.
int reduceHighQuality(MainWindowState& state, Host& host, const WorkImage& source,
                      WorkImage& target, int targetHeight, int targetWidth);

}  // namespace kov
