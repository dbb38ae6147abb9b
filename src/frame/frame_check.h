#pragma once
// Whether a frame file can be used: every rule is evaluated in order and the
// messages of the failing ones are joined into one text, empty when accepted.

#include <string>

#include "frame/frame_definition.h"

namespace kov {

std::string checkFrame(const FrameDefinition& frame, FrameContext context);

}  // namespace kov
