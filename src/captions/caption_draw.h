#pragma once
// Drawing a caption onto the composed picture: its lines are laid out from the top-left
// corner of the box that holds the (turned) block, drawn hard-edged in the caption colour on
// the white caption layer, smoothed against the picture and copied on, white left out.
// Only the caption's own area is cleared, smoothed and copied.

#include <string_view>

#include "app/dialog_values.h"
#include "captions/caption_layout.h"
#include "platform/text_rasteriser.h"
#include "platform/work_image.h"

namespace kov {

struct MainWindowState;

// The pixels of the caption's lines on the output, the block's (turned) box with its
// top-left corner at (x, y); only what lies inside `clip` is kept.
TextInk captionInk(const Font& font, const CaptionBlock& block, int reducedAngle, int x, int y,
                   float lineSpacing, const TextRect& clip);

// Every pixel of `caption` inside `area` that is not the layer's see-through colour `key`
// (white, or black under a white caption) replaces the pixel of `target` at the same place.
// Both pictures must have the same size.
void transferCaption(const WorkImage& caption, WorkImage& target, const PixelRect& area,
                     Colour key = kWhite);

// One caption with an explicit caption layer, for callers that draw several pictures at once.
// `layer` gets the target's size; afterwards only the caption's area grown by the smoothing's
// margin is meaningful (the caption, its smoothed edge, white around it).
void drawCaptionOn(WorkImage& target, WorkImage& layer, int x, int y, int angle,
                   std::string_view text, const FontHolder& font, float lineSpacing,
                   int blurPattern);

// DrawCaption: the caption with the main window's caption layer and line spacing, and the
// blur pattern the settings hold now. `width` and `height` are the target's size (its own
// size is what counts); `vertical` is passed on by callers and not used.
void drawCaption(MainWindowState& window, const SettingsValues& settings, int width, int angle,
                 bool vertical, std::string_view text, const FontHolder& font, WorkImage& target,
                 int y, int x, int height);

}  // namespace kov
